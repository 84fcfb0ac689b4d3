// The IDispatch side of _cToolTips: names to dispatch ids, and Invoke, which
// unpacks the arguments and calls the same member as an early-bound client.
#include "cToolTips.h"

#include <QString>

#include <array>

namespace Pellwick {

namespace {

struct Member {
    const char *name;
    DISPID id;
};

constexpr std::array<Member, 23> members{{
    {"Enabled", dispid::Enabled},
    {"hwnd", dispid::hwnd},
    {"MaxTipWidth", dispid::MaxTipWidth},
    {"FontColor", dispid::FontColor},
    {"BackColor", dispid::BackColor},
    {"Text", dispid::Text},
    {"Count", dispid::Count},
    {"DelayTime", dispid::DelayTime},
    {"newToolRect", dispid::newToolRect},
    {"GetMargin", dispid::GetMargin},
    {"SetMargin", dispid::SetMargin},
    {"BubbleSize", dispid::BubbleSize},
    {"HitTest", dispid::HitTest},
    {"AdjustRect", dispid::AdjustRect},
    {"SetTrackActivate", dispid::SetTrackActivate},
    {"SetTrackPosition", dispid::SetTrackPosition},
    {"AddTTRect", dispid::AddTTRect},
    {"AddTTRectCB", dispid::AddTTRectCB},
    {"DeleteTT", dispid::DeleteTT},
    {"SetNewTTPos", dispid::SetNewTTPos},
    {"Update", dispid::Update},
    {"SetTitle", dispid::SetTitle},
    {"Init", dispid::Init},
}};

// The arguments of one Invoke in call order. A by-reference parameter points
// into the caller's variable when the caller passed one by reference, else
// into a local copy, as a late-bound caller passing a plain value expects.
class Arguments {
public:
    explicit Arguments(const DISPPARAMS *params) : m_args(params) {}

    HRESULT expect(UINT min, UINT max) const { return m_args.expect(min, max); }

    // 'Missing' is how a caller leaves out an optional parameter.
    bool present(UINT pos) const
    {
        const VARIANT *v = m_args.at(pos);
        return v && !(v->vt == VT_ERROR && v->scode == DISP_E_PARAMNOTFOUND);
    }

    HRESULT longRef(UINT pos, LONG **out)
    {
        if (SUCCEEDED(m_args.refLong(pos, out)))
            return S_OK;
        LONG &local = m_longs.at(m_nextLong++);
        *out = &local;
        return m_args.getLong(pos, &local);
    }

    HRESULT longValue(UINT pos, LONG *out, const LONG *fallback = nullptr) const
    {
        if (fallback && !present(pos)) {
            *out = *fallback;
            return S_OK;
        }
        return m_args.getLong(pos, out);
    }

    HRESULT boolValue(UINT pos, VARIANT_BOOL *out) const
    {
        bool value = false;
        const HRESULT hr = m_args.getBool(pos, &value);
        *out = value ? VARIANT_TRUE : VARIANT_FALSE;
        return hr;
    }

    // Strings are only read by the members, so a by-value string serves
    // where a by-reference one is asked for.
    HRESULT bstrRef(UINT pos, BSTR **out)
    {
        if (SUCCEEDED(m_args.refString(pos, out)))
            return S_OK;
        const VARIANT *v = m_args.at(pos);
        if (!v)
            return DISP_E_PARAMNOTFOUND;
        if (v->vt != VT_BSTR)
            return DISP_E_TYPEMISMATCH;
        m_bstr = v->bstrVal;
        *out = &m_bstr;
        return S_OK;
    }

    HRESULT rectRef(UINT pos, rect **out) const
    {
        void *record = nullptr;
        const HRESULT hr = m_args.refRecord(pos, GUID_rect, &record);
        *out = static_cast<rect *>(record);
        return hr;
    }

    UINT argError(UINT pos) const { return m_args.argError(pos); }

private:
    com::DispArgs m_args;
    std::array<LONG, 8> m_longs{};
    std::size_t m_nextLong = 0;
    BSTR m_bstr = nullptr;
};

void setResult(VARIANT *result, VARIANT value)
{
    if (result)
        *result = value;
    else
        VariantClear(&value);
}

} // namespace

HRESULT cToolTips::GetTypeInfoCount(UINT *pctinfo)
{
    if (!pctinfo)
        return E_POINTER;
    *pctinfo = 0; // the public header plays the type library's part
    return S_OK;
}

HRESULT cToolTips::GetTypeInfo(UINT, LCID, ITypeInfo **ppTInfo)
{
    if (ppTInfo)
        *ppTInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT cToolTips::GetIDsOfNames(REFIID, LPOLESTR *rgszNames, UINT cNames, LCID, DISPID *rgDispId)
{
    if (!rgszNames || !rgDispId || cNames == 0)
        return E_INVALIDARG;
    // Parameter names are not known: only the member name is looked up.
    for (UINT i = 0; i < cNames; ++i)
        rgDispId[i] = DISPID_UNKNOWN;
    const QString name = QString::fromUtf16(rgszNames[0]);
    for (const Member &m : members) {
        if (name.compare(QLatin1String(m.name), Qt::CaseInsensitive) == 0) {
            rgDispId[0] = m.id;
            return cNames == 1 ? S_OK : DISP_E_UNKNOWNNAME;
        }
    }
    return DISP_E_UNKNOWNNAME;
}

HRESULT cToolTips::Invoke(DISPID dispIdMember, REFIID riid, LCID, WORD wFlags, DISPPARAMS *pDispParams,
                          VARIANT *pVarResult, EXCEPINFO *, UINT *puArgErr)
{
    if (riid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if (pVarResult)
        VariantInit(pVarResult);
    const bool get = wFlags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD);
    const bool put = wFlags & DISPATCH_PROPERTYPUT;
    const bool call = wFlags & DISPATCH_METHOD;

    Arguments args(pDispParams);
    HRESULT hr = S_OK;
    UINT failedAt = 0;
    LONG *p[5] = {};
    LONG n[3] = {};
    VARIANT_BOOL flag = VARIANT_FALSE;
    VARIANT_BOOL ok = VARIANT_FALSE;
    LONG value = 0;
    BSTR *textRef = nullptr;
    rect *box = nullptr;

    // Each reader notes the position of the argument it failed on.
    auto check = [&](UINT pos, HRESULT result) {
        if (FAILED(result) && SUCCEEDED(hr)) {
            hr = result;
            failedAt = pos;
        }
        return SUCCEEDED(hr);
    };
    auto count = [&](UINT least, UINT most) { return SUCCEEDED(hr = args.expect(least, most)); };
    // The by-reference Long parameters first .. first + number - 1 into p.
    auto refs = [&](UINT first, UINT number) {
        for (UINT i = 0; i < number && SUCCEEDED(hr); ++i)
            check(first + i, args.longRef(first + i, &p[i]));
        return SUCCEEDED(hr);
    };
    auto longs = [&](UINT first, UINT number) {
        for (UINT i = 0; i < number && SUCCEEDED(hr); ++i)
            check(first + i, args.longValue(first + i, &n[i]));
        return SUCCEEDED(hr);
    };
    auto finish = [&](HRESULT result) {
        if (FAILED(hr) && puArgErr && hr != DISP_E_BADPARAMCOUNT && hr != DISP_E_NONAMEDARGS)
            *puArgErr = args.argError(failedAt);
        return FAILED(hr) ? hr : result;
    };
    auto longResult = [&](HRESULT result) {
        setResult(pVarResult, com::variantLong(value));
        return result;
    };
    auto boolResult = [&](HRESULT result) {
        setResult(pVarResult, com::variantBool(ok != VARIANT_FALSE));
        return result;
    };

    switch (dispIdMember) {
    // ---- properties: a put carries its value as the last argument ----
    case dispid::Enabled:
        if (!put)
            return DISP_E_MEMBERNOTFOUND;
        if (count(1, 1) && check(0, args.boolValue(0, &flag)))
            return put_Enabled(flag);
        return finish(hr);
    case dispid::MaxTipWidth:
    case dispid::FontColor:
    case dispid::BackColor:
        if (put) {
            if (!count(1, 1) || !longs(0, 1))
                return finish(hr);
            return dispIdMember == dispid::MaxTipWidth ? put_MaxTipWidth(n[0])
                   : dispIdMember == dispid::FontColor ? put_FontColor(n[0])
                                                       : put_BackColor(n[0]);
        }
        [[fallthrough]];
    case dispid::hwnd:
    case dispid::Count:
        if (!get)
            return DISP_E_MEMBERNOTFOUND;
        if (!count(0, 0))
            return hr;
        return longResult(dispIdMember == dispid::hwnd          ? get_hwnd(&value)
                          : dispIdMember == dispid::MaxTipWidth ? get_MaxTipWidth(&value)
                          : dispIdMember == dispid::FontColor   ? get_FontColor(&value)
                          : dispIdMember == dispid::BackColor   ? get_BackColor(&value)
                                                                : get_Count(&value));
    case dispid::Text:
        if (put) {
            if (!count(3, 3) || !longs(0, 2) || !check(2, args.bstrRef(2, &textRef)))
                return finish(hr);
            return put_Text(n[0], n[1], *textRef);
        }
        if (!get)
            return DISP_E_MEMBERNOTFOUND;
        if (!count(2, 2) || !longs(0, 2))
            return finish(hr);
        {
            BSTR text = nullptr;
            hr = get_Text(n[0], n[1], &text);
            if (pVarResult) {
                pVarResult->vt = VT_BSTR;
                pVarResult->bstrVal = text;
            } else {
                SysFreeString(text);
            }
        }
        return hr;
    case dispid::DelayTime:
        if (put) {
            if (!count(2, 2) || !refs(0, 1) || !check(1, args.longValue(1, &n[0])))
                return finish(hr);
            return put_DelayTime(reinterpret_cast<TT_Timing *>(p[0]), n[0]);
        }
        if (!get)
            return DISP_E_MEMBERNOTFOUND;
        if (!count(1, 1) || !refs(0, 1))
            return finish(hr);
        return longResult(get_DelayTime(reinterpret_cast<TT_Timing *>(p[0]), &value));
    default:
        break;
    }

    // ---- methods ----
    if (!call)
        return DISP_E_MEMBERNOTFOUND;
    switch (dispIdMember) {
    case dispid::newToolRect:
        if (!count(3, 3) || !check(0, args.rectRef(0, &box)) || !refs(1, 2))
            return finish(hr);
        return newToolRect(box, p[0], p[1]);
    case dispid::GetMargin:
    case dispid::SetMargin: {
        if (!count(4, 4) || !refs(0, 4))
            return finish(hr);
        VARIANT empty;
        VariantInit(&empty);
        hr = dispIdMember == dispid::GetMargin ? GetMargin(p[0], p[1], p[2], p[3], &empty)
                                               : SetMargin(p[0], p[1], p[2], p[3], &empty);
        setResult(pVarResult, empty);
        return hr;
    }
    case dispid::BubbleSize:
        if (!count(2, 2) || !refs(0, 2))
            return finish(hr);
        return longResult(BubbleSize(p[0], p[1], &value));
    case dispid::HitTest:
        if (!count(3, 3) || !refs(0, 3))
            return finish(hr);
        return longResult(HitTest(p[0], p[1], p[2], &value));
    case dispid::AdjustRect:
        if (!count(2, 2) || !check(0, args.boolValue(0, &flag)) || !check(1, args.rectRef(1, &box)))
            return finish(hr);
        return boolResult(AdjustRect(flag, box, &ok));
    case dispid::SetTrackActivate:
        if (!count(3, 3) || !check(0, args.boolValue(0, &flag)) || !check(1, args.longValue(1, &n[0]))
            || !check(2, args.longValue(2, &n[1])))
            return finish(hr);
        return boolResult(SetTrackActivate(flag, n[0], n[1], &ok));
    case dispid::SetTrackPosition:
        if (!count(2, 2) || !longs(0, 2))
            return finish(hr);
        return boolResult(SetTrackPosition(n[0], n[1], &ok));
    case dispid::AddTTRect:
    case dispid::AddTTRectCB: {
        const bool withText = dispIdMember == dispid::AddTTRect;
        const UINT fixed = withText ? 6 : 5; // the parameters before the optional fl and id
        const LONG defaultFlags = DefaultToolFlags;
        const LONG defaultId = DefaultToolId;
        if (!count(fixed, fixed + 2) || !refs(0, 5) || (withText && !check(5, args.bstrRef(5, &textRef)))
            || !check(fixed, args.longValue(fixed, &n[0], &defaultFlags))
            || !check(fixed + 1, args.longValue(fixed + 1, &n[1], &defaultId)))
            return finish(hr);
        const auto fl = static_cast<TT_Flags>(n[0]);
        return boolResult(withText ? AddTTRect(p[0], p[1], p[2], p[3], p[4], textRef, fl, n[1], &ok)
                                   : AddTTRectCB(p[0], p[1], p[2], p[3], p[4], fl, n[1], &ok));
    }
    case dispid::DeleteTT:
        if (!count(1, 1) || !longs(0, 1))
            return finish(hr);
        return boolResult(DeleteTT(n[0], &ok));
    case dispid::SetNewTTPos:
        if (!count(5, 5) || !longs(0, 1) || !refs(1, 4))
            return finish(hr);
        return boolResult(SetNewTTPos(n[0], p[0], p[1], p[2], p[3], &ok));
    case dispid::Update:
        if (!count(0, 0))
            return hr;
        return boolResult(Update(&ok));
    case dispid::SetTitle:
        if (!count(2, 2) || !check(0, args.bstrRef(0, &textRef)) || !refs(1, 1))
            return finish(hr);
        return boolResult(SetTitle(textRef, reinterpret_cast<TT_TITELICON *>(p[0]), &ok));
    case dispid::Init: {
        const LONG defaultStyle = DefaultStyle;
        if (!count(0, 1) || !check(0, args.longValue(0, &value, &defaultStyle)))
            return finish(hr);
        return Init(static_cast<TT_STYLE>(value));
    }
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

} // namespace Pellwick
