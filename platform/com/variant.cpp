#include "com/variant.h"

#include "com/dispatch.h"

#include <cstdlib>
#include <cstring>
#include <new>

void VariantInit(VARIANT *pvarg)
{
    std::memset(pvarg, 0, sizeof *pvarg);
    pvarg->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANT *pvarg)
{
    if (!pvarg)
        return E_INVALIDARG;
    if (!(pvarg->vt & VT_BYREF)) {
        if (pvarg->vt & VT_ARRAY) {
            SafeArrayDestroy(pvarg->parray);
        } else {
            switch (pvarg->vt) {
            case VT_BSTR:
                SysFreeString(pvarg->bstrVal);
                break;
            case VT_UNKNOWN:
            case VT_DISPATCH:
                if (pvarg->punkVal)
                    pvarg->punkVal->Release();
                break;
            default:
                break;
            }
        }
    }
    VariantInit(pvarg);
    return S_OK;
}

namespace {

SAFEARRAY *copyArray(SAFEARRAY *src)
{
    if (!src)
        return nullptr;
    SAFEARRAY *copy = SafeArrayCreateVector(VT_VARIANT, src->rgsabound[0].lLbound, src->rgsabound[0].cElements);
    if (!copy)
        return nullptr;
    auto *from = static_cast<VARIANT *>(src->pvData);
    auto *to = static_cast<VARIANT *>(copy->pvData);
    for (ULONG i = 0; i < src->rgsabound[0].cElements; ++i)
        VariantCopy(&to[i], &from[i]);
    return copy;
}

} // namespace

HRESULT VariantCopy(VARIANT *pvargDest, const VARIANT *pvargSrc)
{
    if (!pvargDest || !pvargSrc)
        return E_INVALIDARG;
    if (pvargDest == pvargSrc)
        return S_OK;
    VARIANT copy = *pvargSrc;
    if (!(copy.vt & VT_BYREF)) {
        if (copy.vt & VT_ARRAY) {
            copy.parray = copyArray(pvargSrc->parray);
            if (pvargSrc->parray && !copy.parray)
                return E_OUTOFMEMORY;
        } else if (copy.vt == VT_BSTR && copy.bstrVal) {
            copy.bstrVal = SysAllocStringLen(pvargSrc->bstrVal, SysStringLen(pvargSrc->bstrVal));
            if (!copy.bstrVal)
                return E_OUTOFMEMORY;
        } else if ((copy.vt == VT_UNKNOWN || copy.vt == VT_DISPATCH) && copy.punkVal) {
            copy.punkVal->AddRef();
        }
    }
    VariantClear(pvargDest);
    *pvargDest = copy;
    return S_OK;
}

SAFEARRAY *SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements)
{
    if (vt != VT_VARIANT)
        return nullptr;
    auto *psa = static_cast<SAFEARRAY *>(std::calloc(1, sizeof(SAFEARRAY)));
    if (!psa)
        return nullptr;
    psa->cDims = 1;
    psa->cbElements = sizeof(VARIANT);
    psa->rgsabound[0].cElements = cElements;
    psa->rgsabound[0].lLbound = lLbound;
    if (cElements) {
        psa->pvData = std::calloc(cElements, sizeof(VARIANT)); // all-zero = VT_EMPTY
        if (!psa->pvData) {
            std::free(psa);
            return nullptr;
        }
    }
    return psa;
}

HRESULT SafeArrayDestroy(SAFEARRAY *psa)
{
    if (!psa)
        return S_OK;
    auto *elements = static_cast<VARIANT *>(psa->pvData);
    for (ULONG i = 0; i < psa->rgsabound[0].cElements; ++i)
        VariantClear(&elements[i]);
    std::free(psa->pvData);
    std::free(psa);
    return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY *psa) { return psa ? psa->cDims : 0; }

HRESULT SafeArrayGetLBound(SAFEARRAY *psa, UINT nDim, LONG *plLbound)
{
    if (!psa || !plLbound)
        return E_INVALIDARG;
    if (nDim != 1)
        return DISP_E_BADINDEX;
    *plLbound = psa->rgsabound[0].lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY *psa, UINT nDim, LONG *plUbound)
{
    if (!psa || !plUbound)
        return E_INVALIDARG;
    if (nDim != 1)
        return DISP_E_BADINDEX;
    *plUbound = psa->rgsabound[0].lLbound + static_cast<LONG>(psa->rgsabound[0].cElements) - 1;
    return S_OK;
}

namespace {

VARIANT *elementAt(SAFEARRAY *psa, const LONG *rgIndices)
{
    if (!psa || !rgIndices)
        return nullptr;
    const long long offset = static_cast<long long>(rgIndices[0]) - psa->rgsabound[0].lLbound;
    if (offset < 0 || offset >= static_cast<long long>(psa->rgsabound[0].cElements))
        return nullptr;
    return static_cast<VARIANT *>(psa->pvData) + offset;
}

} // namespace

HRESULT SafeArrayGetElement(SAFEARRAY *psa, LONG *rgIndices, void *pv)
{
    VARIANT *element = elementAt(psa, rgIndices);
    if (!element || !pv)
        return element ? E_INVALIDARG : DISP_E_BADINDEX;
    auto *out = static_cast<VARIANT *>(pv);
    VariantInit(out);
    return VariantCopy(out, element);
}

HRESULT SafeArrayPutElement(SAFEARRAY *psa, LONG *rgIndices, void *pv)
{
    VARIANT *element = elementAt(psa, rgIndices);
    if (!element || !pv)
        return element ? E_INVALIDARG : DISP_E_BADINDEX;
    return VariantCopy(element, static_cast<VARIANT *>(pv));
}

namespace com {

VARIANT variantEmpty()
{
    VARIANT v;
    VariantInit(&v);
    return v;
}

VARIANT variantLong(LONG value)
{
    VARIANT v = variantEmpty();
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT variantBool(bool value)
{
    VARIANT v = variantEmpty();
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

VARIANT variantString(const QString &text)
{
    VARIANT v = variantEmpty();
    v.vt = VT_BSTR;
    v.bstrVal = toBstr(text);
    return v;
}

VARIANT variantRef(LONG *value)
{
    VARIANT v = variantEmpty();
    v.vt = VT_BYREF | VT_I4;
    v.plVal = value;
    return v;
}

VARIANT variantRef(VARIANT_BOOL *value)
{
    VARIANT v = variantEmpty();
    v.vt = VT_BYREF | VT_BOOL;
    v.pboolVal = value;
    return v;
}

VARIANT variantRef(BSTR *value)
{
    VARIANT v = variantEmpty();
    v.vt = VT_BYREF | VT_BSTR;
    v.pbstrVal = value;
    return v;
}

VARIANT variantRecordRef(void *record, IRecordInfo *info)
{
    VARIANT v = variantEmpty();
    v.vt = VT_BYREF | VT_RECORD;
    v.record.pvRecord = record;
    v.record.pRecInfo = info;
    return v;
}

HRESULT RecordType::QueryInterface(REFIID riid, void **ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IRecordInfo) {
        *ppv = static_cast<IRecordInfo *>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT RecordType::GetGuid(GUID *pguid)
{
    if (!pguid)
        return E_POINTER;
    *pguid = m_id;
    return S_OK;
}

HRESULT RecordType::GetSize(ULONG *pcbSize)
{
    if (!pcbSize)
        return E_POINTER;
    *pcbSize = m_size;
    return S_OK;
}

} // namespace com
