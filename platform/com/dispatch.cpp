#include "com/dispatch.h"

#include <algorithm>
#include <vector>

namespace com {

HRESULT DispArgs::expect(UINT min, UINT max) const
{
    if (m_params && m_params->cNamedArgs > 0 && !(m_params->cNamedArgs == 1 && m_params->rgdispidNamedArgs
                                                  && m_params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT))
        return DISP_E_NONAMEDARGS;
    const UINT n = count();
    return n < min || n > max ? DISP_E_BADPARAMCOUNT : S_OK;
}

const VARIANT *DispArgs::at(UINT pos) const
{
    if (pos >= count())
        return nullptr;
    const VARIANT *v = &m_params->rgvarg[count() - 1 - pos];
    // A by-reference variant may point at another variant.
    while (v && v->vt == (VT_BYREF | VT_VARIANT))
        v = v->pvarVal;
    return v;
}

HRESULT DispArgs::getLong(UINT pos, LONG *out) const
{
    const VARIANT *v = at(pos);
    if (!v)
        return DISP_E_PARAMNOTFOUND;
    switch (v->vt) {
    case VT_I4: *out = v->lVal; return S_OK;
    case VT_I2: *out = v->iVal; return S_OK;
    case VT_UI1: *out = v->bVal; return S_OK;
    case VT_BOOL: *out = v->boolVal; return S_OK;
    case VT_BYREF | VT_I4: if (!v->plVal) break; *out = *v->plVal; return S_OK;
    case VT_BYREF | VT_I2: if (!v->piVal) break; *out = *v->piVal; return S_OK;
    case VT_BYREF | VT_UI1: if (!v->pbVal) break; *out = *v->pbVal; return S_OK;
    case VT_BYREF | VT_BOOL: if (!v->pboolVal) break; *out = *v->pboolVal; return S_OK;
    default: break;
    }
    return DISP_E_TYPEMISMATCH;
}

HRESULT DispArgs::getBool(UINT pos, bool *out) const
{
    LONG value = 0;
    const HRESULT hr = getLong(pos, &value);
    if (SUCCEEDED(hr))
        *out = value != 0;
    return hr;
}

HRESULT DispArgs::getString(UINT pos, QString *out) const
{
    const VARIANT *v = at(pos);
    if (!v)
        return DISP_E_PARAMNOTFOUND;
    if (v->vt == VT_BSTR) {
        *out = fromBstr(v->bstrVal);
        return S_OK;
    }
    if (v->vt == (VT_BYREF | VT_BSTR) && v->pbstrVal) {
        *out = fromBstr(*v->pbstrVal);
        return S_OK;
    }
    return DISP_E_TYPEMISMATCH;
}

HRESULT DispArgs::refLong(UINT pos, LONG **out) const
{
    const VARIANT *v = at(pos);
    if (!v)
        return DISP_E_PARAMNOTFOUND;
    if (v->vt != (VT_BYREF | VT_I4) || !v->plVal)
        return DISP_E_TYPEMISMATCH;
    *out = v->plVal;
    return S_OK;
}

HRESULT DispArgs::refString(UINT pos, BSTR **out) const
{
    const VARIANT *v = at(pos);
    if (!v)
        return DISP_E_PARAMNOTFOUND;
    if (v->vt != (VT_BYREF | VT_BSTR) || !v->pbstrVal)
        return DISP_E_TYPEMISMATCH;
    *out = v->pbstrVal;
    return S_OK;
}

HRESULT DispArgs::refRecord(UINT pos, const GUID &recordId, void **out) const
{
    const VARIANT *v = at(pos);
    if (!v)
        return DISP_E_PARAMNOTFOUND;
    if ((v->vt & ~VT_BYREF) != VT_RECORD || !v->record.pvRecord || !v->record.pRecInfo)
        return DISP_E_TYPEMISMATCH;
    GUID id = GUID_NULL;
    if (FAILED(v->record.pRecInfo->GetGuid(&id)) || id != recordId)
        return DISP_E_TYPEMISMATCH;
    *out = v->record.pvRecord;
    return S_OK;
}

HRESULT noTypeInfoCount(UINT *pctinfo)
{
    if (!pctinfo)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

HRESULT noTypeInfo(ITypeInfo **ppTInfo)
{
    if (ppTInfo)
        *ppTInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT invoke(IDispatch *target, DISPID id, WORD flags, VARIANT *argsInCallOrder, UINT count, VARIANT *result)
{
    if (!target)
        return E_POINTER;
    std::vector<VARIANT> reversed(argsInCallOrder, argsInCallOrder + count);
    std::reverse(reversed.begin(), reversed.end());
    DISPID named = DISPID_PROPERTYPUT;
    const bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    DISPPARAMS params{reversed.data(), put ? &named : nullptr, count, put ? 1u : 0u};
    UINT argErr = 0;
    return target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, &argErr);
}

} // namespace com
