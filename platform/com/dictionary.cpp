#include "com/dictionary.h"
#include "com/classfactory.h"

#include "com/object.h"

#include <cstring>
#include <vector>

namespace com {

namespace {

bool isInteger(VARTYPE vt) { return vt == VT_I2 || vt == VT_I4 || vt == VT_UI1 || vt == VT_BOOL; }

long long integerOf(const VARIANT &v)
{
    switch (v.vt) {
    case VT_I2: return v.iVal;
    case VT_UI1: return v.bVal;
    case VT_BOOL: return v.boolVal;
    default: return v.lVal;
    }
}

const VARIANT &deref(const VARIANT &v) { return v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal ? *v.pvarVal : v; }

bool sameKey(const VARIANT &stored, const VARIANT &wanted)
{
    const VARIANT &a = deref(stored);
    const VARIANT &b = deref(wanted);
    if (isInteger(a.vt) && isInteger(b.vt))
        return integerOf(a) == integerOf(b);
    if (a.vt != b.vt)
        return false;
    switch (a.vt) {
    case VT_EMPTY:
    case VT_NULL:
        return true;
    case VT_BSTR: {
        const UINT n = SysStringLen(a.bstrVal);
        return n == SysStringLen(b.bstrVal) && (n == 0 || std::memcmp(a.bstrVal, b.bstrVal, n * sizeof(OLECHAR)) == 0);
    }
    case VT_UNKNOWN:
    case VT_DISPATCH:
        return a.punkVal == b.punkVal;
    default:
        return false;
    }
}

class Dictionary final : public Object<IDictionary> {
public:
    Dictionary() = default;

    HRESULT put_Item(VARIANT *Key, VARIANT *Item) override
    {
        if (!Key || !Item)
            return E_POINTER;
        if (Entry *e = find(*Key))
            return VariantCopy(&e->item, &deref(*Item));
        return append(*Key, deref(*Item));
    }
    HRESULT get_Item(VARIANT *Key, VARIANT *pRetItem) override
    {
        if (!Key || !pRetItem)
            return E_POINTER;
        VariantInit(pRetItem);
        if (Entry *e = find(*Key))
            return VariantCopy(pRetItem, &e->item);
        return append(*Key, variantEmpty());
    }
    HRESULT Add(VARIANT *Key, VARIANT *Item) override
    {
        if (!Key || !Item)
            return E_POINTER;
        if (find(*Key))
            return CTL_E_KEYALREADYEXISTS;
        return append(*Key, deref(*Item));
    }
    HRESULT get_Count(LONG *pCount) override
    {
        if (!pCount)
            return E_POINTER;
        *pCount = static_cast<LONG>(m_entries.size());
        return S_OK;
    }
    HRESULT Exists(VARIANT *Key, VARIANT_BOOL *pExists) override
    {
        if (!Key || !pExists)
            return E_POINTER;
        *pExists = find(*Key) ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    HRESULT Items(VARIANT *pItemsArray) override { return toArray(pItemsArray, &Entry::item); }
    HRESULT Keys(VARIANT *pKeysArray) override { return toArray(pKeysArray, &Entry::key); }
    HRESULT Remove(VARIANT *Key) override
    {
        if (!Key)
            return E_POINTER;
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (sameKey(it->key, *Key)) {
                VariantClear(&it->key);
                VariantClear(&it->item);
                m_entries.erase(it);
                return S_OK;
            }
        }
        return CTL_E_ELEMENTNOTFOUND;
    }
    HRESULT RemoveAll() override
    {
        clear();
        return S_OK;
    }

    // Late-bound callers reach the same members by name.
    HRESULT GetTypeInfoCount(UINT *pctinfo) override { return noTypeInfoCount(pctinfo); }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo **ppTInfo) override { return noTypeInfo(ppTInfo); }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR *rgszNames, UINT cNames, LCID, DISPID *rgDispId) override;
    HRESULT Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS *pDispParams, VARIANT *pVarResult,
                   EXCEPINFO *, UINT *puArgErr) override;

private:
    struct Entry {
        VARIANT key;
        VARIANT item;
    };
    ~Dictionary() override { clear(); }
    bool offers(REFIID riid) const override { return riid == IID_IDispatch || riid == IID_IDictionary; }

    Entry *find(const VARIANT &key)
    {
        for (Entry &e : m_entries)
            if (sameKey(e.key, key))
                return &e;
        return nullptr;
    }
    HRESULT append(const VARIANT &key, const VARIANT &item)
    {
        Entry e;
        VariantInit(&e.key);
        VariantInit(&e.item);
        HRESULT hr = VariantCopy(&e.key, &deref(key));
        if (SUCCEEDED(hr))
            hr = VariantCopy(&e.item, &item);
        if (FAILED(hr)) {
            VariantClear(&e.key);
            VariantClear(&e.item);
            return hr;
        }
        m_entries.push_back(e);
        return S_OK;
    }
    HRESULT toArray(VARIANT *out, VARIANT Entry::*field)
    {
        if (!out)
            return E_POINTER;
        VariantInit(out);
        SAFEARRAY *array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(m_entries.size()));
        if (!array)
            return E_OUTOFMEMORY;
        for (LONG i = 0; i < static_cast<LONG>(m_entries.size()); ++i)
            SafeArrayPutElement(array, &i, &(m_entries[i].*field));
        out->vt = VT_ARRAY | VT_VARIANT;
        out->parray = array;
        return S_OK;
    }
    void clear()
    {
        for (Entry &e : m_entries) {
            VariantClear(&e.key);
            VariantClear(&e.item);
        }
        m_entries.clear();
    }

    std::vector<Entry> m_entries;
};

enum : DISPID { idItem = DISPID_VALUE, idAdd = 1, idCount, idExists, idItems, idKeys, idRemove, idRemoveAll };

const struct {
    const char *name;
    DISPID id;
} kNames[] = {{"Item", idItem},   {"Add", idAdd},       {"Count", idCount},   {"Exists", idExists},
              {"Items", idItems}, {"Keys", idKeys},     {"Remove", idRemove}, {"RemoveAll", idRemoveAll}};

HRESULT Dictionary::GetIDsOfNames(REFIID, LPOLESTR *rgszNames, UINT cNames, LCID, DISPID *rgDispId)
{
    if (!rgszNames || !rgDispId)
        return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < cNames; ++i) {
        rgDispId[i] = DISPID_UNKNOWN;
        const QString wanted = QString::fromUtf16(rgszNames[i]);
        for (const auto &entry : kNames)
            if (wanted.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
                rgDispId[i] = entry.id;
        if (rgDispId[i] == DISPID_UNKNOWN)
            hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT Dictionary::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS *params, VARIANT *result, EXCEPINFO *,
                           UINT *puArgErr)
{
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    if (!params)
        params = &none;
    const DispArgs args(params);
    auto arg = [&](UINT pos) { return const_cast<VARIANT *>(args.at(pos)); };
    VARIANT scratch = variantEmpty();
    VARIANT *out = result ? result : &scratch;
    HRESULT hr = DISP_E_MEMBERNOTFOUND;
    switch (id) {
    case idItem:
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            if (FAILED(hr = args.expect(2, 2)))
                break;
            hr = put_Item(arg(0), arg(1));
        } else {
            if (FAILED(hr = args.expect(1, 1)))
                break;
            hr = get_Item(arg(0), out);
        }
        break;
    case idAdd:
        if (SUCCEEDED(hr = args.expect(2, 2)))
            hr = Add(arg(0), arg(1));
        break;
    case idCount: {
        LONG n = 0;
        if (SUCCEEDED(hr = args.expect(0, 0)) && SUCCEEDED(hr = get_Count(&n)))
            *out = variantLong(n);
        break;
    }
    case idExists: {
        VARIANT_BOOL found = VARIANT_FALSE;
        if (SUCCEEDED(hr = args.expect(1, 1)) && SUCCEEDED(hr = Exists(arg(0), &found)))
            *out = variantBool(found != VARIANT_FALSE);
        break;
    }
    case idItems:
        if (SUCCEEDED(hr = args.expect(0, 0)))
            hr = Items(out);
        break;
    case idKeys:
        if (SUCCEEDED(hr = args.expect(0, 0)))
            hr = Keys(out);
        break;
    case idRemove:
        if (SUCCEEDED(hr = args.expect(1, 1)))
            hr = Remove(arg(0));
        break;
    case idRemoveAll:
        if (SUCCEEDED(hr = args.expect(0, 0)))
            hr = RemoveAll();
        break;
    default:
        break;
    }
    if (puArgErr)
        *puArgErr = 0;
    VariantClear(&scratch);
    return hr;
}



} // namespace

IClassFactory *builtinClassFactory(const CLSID &clsid)
{
    static ClassFactory<Dictionary> dictionaryFactory;
    if (clsid == CLSID_Dictionary)
        return &dictionaryFactory;
    return nullptr;
}

} // namespace com
