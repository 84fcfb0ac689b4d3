#include "cToolTips.h"

#include "modcToolTips.h"
#include "moduleInstance.h"

#include "base/ansi.h"
#include "comctl/tooltip.h"
#include "user32/user32.h"

#include <cstring>

namespace Pellwick {

// The enumerations of the interface carry the platform's own values.
static_assert(TTS_ALWAYSTIP == ::TTS_ALWAYSTIP && TTS_NOPREFIX == ::TTS_NOPREFIX && TTS_BALLOON == ::TTS_BALLOON
              && TTS_NOANIMATE == ::TTS_NOANIMATE && TTS_NOFADE == ::TTS_NOFADE);
static_assert(TTI_NOICON == ::TTI_NOICON && TTI_INFOICON == ::TTI_INFO && TTI_WARNINGICON == ::TTI_WARNING
              && TTI_ERRORICON == ::TTI_ERROR);
static_assert(TTF_IDISHWND == ::TTF_IDISHWND && TTF_CENTERTIP == ::TTF_CENTERTIP && TTF_RTLREADING == ::TTF_RTLREADING
              && TTF_SUBCLASS == ::TTF_SUBCLASS && TTF_TRACK == ::TTF_TRACK && TTF_ABSOLUTE == ::TTF_ABSOLUTE
              && TTF_TRANSPARENT == ::TTF_TRANSPARENT && TTF_DI_SETITEM == ::TTF_DI_SETITEM);
static_assert(TTDT_AUTOMATIC == ::TTDT_AUTOMATIC && TTDT_RESHOW == ::TTDT_RESHOW && TTDT_AUTOPOP == ::TTDT_AUTOPOP
              && TTDT_INITIAL == ::TTDT_INITIAL);

namespace {

std::atomic<LONG> g_liveObjects{0};

constexpr UINT ToolInfoSize = TTTOOLINFOA_V2_SIZE; // the TOOLINFOA form that ends with lParam
constexpr std::size_t TextBufferSize = 1025;  // indices 0 to 1024

VARIANT_BOOL toVariantBool(bool b) { return b ? VARIANT_TRUE : VARIANT_FALSE; }

// A TOOLINFOA naming a tool by its owner window and id, with the library's
// instance where the message wants it.
TOOLINFOA toolInfo(HWND owner, LONG id, bool withInstance = true)
{
    TOOLINFOA ti{};
    ti.cbSize = ToolInfoSize;
    ti.hwnd = owner;
    ti.uId = static_cast<UINT_PTR>(static_cast<ULONG>(id));
    ti.hinst = withInstance ? moduleInstance() : nullptr;
    return ti;
}

RECT toRECT(LONG left, LONG top, LONG right, LONG bottom)
{
    RECT r{};
    r.left = left;
    r.top = top;
    r.right = right;
    r.bottom = bottom;
    return r;
}

// Whether the caller passed every by-reference parameter.
template <class... T>
bool given(const T *...refs)
{
    return ((refs != nullptr) && ...);
}

void setBool(VARIANT_BOOL *result, bool value)
{
    if (result)
        *result = toVariantBool(value);
}

void setLong(LONG *result, LONG value)
{
    if (result)
        *result = value;
}

} // namespace

cToolTips::cToolTips()
    : m_events(this, DIID___cToolTips)
{
    ++g_liveObjects;
}

cToolTips::~cToolTips()
{
    Class_Terminate();
    m_events.disconnectAll();
    --g_liveObjects;
}

LONG cToolTips::liveObjects() { return g_liveObjects; }

// ---- IUnknown ----------------------------------------------------------

HRESULT cToolTips::QueryInterface(REFIID riid, void **ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID__cToolTips)
        *ppv = static_cast<_cToolTips *>(this);
    else if (riid == IID_IConnectionPointContainer)
        *ppv = static_cast<IConnectionPointContainer *>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG cToolTips::AddRef() { return ++m_refs; }

ULONG cToolTips::Release()
{
    const ULONG left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

// ---- IConnectionPointContainer ------------------------------------------

HRESULT cToolTips::EnumConnectionPoints(IEnumConnectionPoints **ppEnum)
{
    com::ConnectionPoint *const points[] = {&m_events};
    return com::enumConnectionPoints(points, 1, ppEnum);
}

HRESULT cToolTips::FindConnectionPoint(REFIID riid, IConnectionPoint **ppCP)
{
    com::ConnectionPoint *const points[] = {&m_events};
    return com::findConnectionPoint(points, 1, riid, ppCP);
}

// ---- helpers ------------------------------------------------------------

LRESULT cToolTips::send(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    return SendMessageA(m_hwnd, msg, wParam, lParam);
}

// ---- _cToolTips ---------------------------------------------------------

HRESULT cToolTips::put_DelayTime(TT_Timing *DTType, LONG ms)
{
    if (!given(DTType))
        return E_POINTER;
    if (m_Init)
        send(TTM_SETDELAYTIME, static_cast<WPARAM>(*DTType), ms);
    return S_OK;
}

HRESULT cToolTips::get_DelayTime(TT_Timing *DTType, LONG *result)
{
    if (!given(DTType))
        return E_POINTER;
    setLong(result, m_Init ? static_cast<LONG>(send(TTM_GETDELAYTIME, static_cast<WPARAM>(*DTType), 0)) : 0);
    return S_OK;
}

HRESULT cToolTips::newToolRect(rect *ToolRect, LONG *hwnd, LONG *id)
{
    if (!given(ToolRect, hwnd, id))
        return E_POINTER;
    if (m_Init) {
        TOOLINFOA ti = toolInfo(*hwnd, *id, false);
        ti.rect = toRECT(ToolRect->Left, ToolRect->Top, ToolRect->Right, ToolRect->Bottom);
        send(TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&ti));
    }
    return S_OK;
}

HRESULT cToolTips::GetMargin(LONG *TopText, LONG *LeftText, LONG *BottomText, LONG *RightText, VARIANT *result)
{
    if (!given(TopText, LeftText, BottomText, RightText))
        return E_POINTER;
    if (result)
        VariantInit(result);
    if (m_Init) {
        RECT margin{};
        send(TTM_GETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
        *TopText = margin.top;
        *LeftText = margin.left;
        *BottomText = margin.bottom;
        *RightText = margin.right;
    }
    return S_OK;
}

HRESULT cToolTips::SetMargin(LONG *TopText, LONG *LeftText, LONG *BottomText, LONG *RightText, VARIANT *result)
{
    if (!given(TopText, LeftText, BottomText, RightText))
        return E_POINTER;
    if (result)
        VariantInit(result);
    if (m_Init) {
        RECT margin = toRECT(*LeftText, *TopText, *RightText, *BottomText);
        send(TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
    }
    return S_OK;
}

// Only whether the tooltip knows the tool is asked. No text buffer is handed
// over: the tool's text is not wanted, and a text longer than any fixed
// buffer could not overrun it.
HRESULT cToolTips::BubbleSize(LONG *hwnd, LONG *id, LONG *result)
{
    if (!given(hwnd, id))
        return E_POINTER;
    LONG known = 0;
    if (m_Init) {
        TOOLINFOA ti = toolInfo(*hwnd, *id);
        known = send(TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&ti)) != 0 ? -1 : 0;
    }
    setLong(result, known);
    return S_OK;
}

// Sent also before Init: the message then goes to handle 0 and yields 0.
HRESULT cToolTips::HitTest(LONG *xPos, LONG *yPos, LONG *hwnd, LONG *result)
{
    if (!given(xPos, yPos, hwnd))
        return E_POINTER;
    TTHITTESTINFOA hit{};
    hit.hwnd = *hwnd;
    hit.pt.x = *xPos;
    hit.pt.y = *yPos;
    hit.ti.cbSize = ToolInfoSize;
    const bool found = send(TTM_HITTESTA, 0, reinterpret_cast<LPARAM>(&hit)) != 0;
    setLong(result, found ? static_cast<LONG>(hit.ti.uId) : 0);
    return S_OK;
}

HRESULT cToolTips::AdjustRect(VARIANT_BOOL fLarger, rect *rectOut, VARIANT_BOOL *result)
{
    if (!given(rectOut))
        return E_POINTER;
    bool ok = false;
    if (m_Init) {
        static_assert(sizeof(rect) == sizeof(RECT));
        const WPARAM larger = static_cast<WPARAM>(static_cast<LONG_PTR>(fLarger));
        ok = send(TTM_ADJUSTRECT, larger, reinterpret_cast<LPARAM>(rectOut)) != 0;
    }
    setBool(result, ok);
    return S_OK;
}

HRESULT cToolTips::SetTrackActivate(VARIANT_BOOL Activate, LONG hwnd, LONG id, VARIANT_BOOL *result)
{
    bool ok = false;
    if (m_Init) {
        TOOLINFOA ti = toolInfo(hwnd, id, false);
        const WPARAM activate = static_cast<WPARAM>(static_cast<LONG_PTR>(Activate));
        ok = send(TTM_TRACKACTIVATE, activate, reinterpret_cast<LPARAM>(&ti)) != 0;
    }
    setBool(result, ok);
    return S_OK;
}

HRESULT cToolTips::SetTrackPosition(LONG ScreenXPos, LONG ScreenYPos, VARIANT_BOOL *result)
{
    bool ok = false;
    if (m_Init) {
        // x in the low, y in the high 16 bits: 20 * 65536 + 10 for (10, 20).
        const LPARAM position = MAKELONG(LOWORD(static_cast<ULONG>(ScreenXPos)), LOWORD(static_cast<ULONG>(ScreenYPos)));
        ok = send(TTM_TRACKPOSITION, 0, position) != 0;
    }
    setBool(result, ok);
    return S_OK;
}

HRESULT cToolTips::AddTTRect(LONG *hwnd, LONG *Left, LONG *Top, LONG *Right, LONG *Bottom, BSTR *TTText,
                             TT_Flags fl, LONG id, VARIANT_BOOL *result)
{
    if (!given(hwnd, Left, Top, Right, Bottom, TTText))
        return E_POINTER;
    bool ok = false;
    if (m_Init) {
        QByteArray text = ansi::fromUnicode(com::fromBstr(*TTText));
        TOOLINFOA ti = toolInfo(*hwnd, id);
        ti.uFlags = static_cast<UINT>(fl | TTF_SUBCLASS);
        ti.rect = toRECT(*Left, *Top, *Right, *Bottom);
        ti.lpszText = text.data();
        ok = send(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
    }
    setBool(result, ok);
    return S_OK;
}

HRESULT cToolTips::AddTTRectCB(LONG *hwnd, LONG *Left, LONG *Top, LONG *Right, LONG *Bottom,
                               TT_Flags fl, LONG id, VARIANT_BOOL *result)
{
    if (!given(hwnd, Left, Top, Right, Bottom))
        return E_POINTER;
    bool ok = false;
    if (m_Init) {
        const HWND owner = *hwnd;
        if (const HRESULT hr = SubclassOnce(owner); FAILED(hr))
            return hr;
        TOOLINFOA ti = toolInfo(owner, id);
        ti.uFlags = static_cast<UINT>(fl | TTF_SUBCLASS);
        ti.rect = toRECT(*Left, *Top, *Right, *Bottom);
        ti.lpszText = LPSTR_TEXTCALLBACKA;
        ok = send(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
    }
    setBool(result, ok);
    return S_OK;
}

HRESULT cToolTips::get_Count(LONG *result)
{
    setLong(result, m_Init ? static_cast<LONG>(send(TTM_GETTOOLCOUNT, 0, 0)) : 0);
    return S_OK;
}

// DeleteTT and SetNewTTPos name only a tool id; the tool's owner window is
// the tooltip window itself.
HRESULT cToolTips::DeleteTT(LONG id, VARIANT_BOOL *result)
{
    bool ok = false;
    if (m_Init) {
        TOOLINFOA ti = toolInfo(m_hwnd, id);
        ok = send(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
    }
    setBool(result, ok);
    return S_OK;
}

HRESULT cToolTips::SetNewTTPos(LONG id, LONG *Left, LONG *Top, LONG *Right, LONG *Bottom, VARIANT_BOOL *result)
{
    if (!given(Left, Top, Right, Bottom))
        return E_POINTER;
    bool ok = false;
    if (m_Init) {
        TOOLINFOA ti = toolInfo(m_hwnd, id);
        ti.rect = toRECT(*Left, *Top, *Right, *Bottom);
        ok = send(TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
    }
    setBool(result, ok);
    return S_OK;
}

HRESULT cToolTips::Update(VARIANT_BOOL *result)
{
    setBool(result, m_Init && send(TTM_UPDATE, 0, 0) != 0);
    return S_OK;
}

HRESULT cToolTips::SetTitle(BSTR *Titel, TT_TITELICON *Icon, VARIANT_BOOL *result)
{
    if (!given(Titel, Icon))
        return E_POINTER;
    bool ok = false;
    if (m_Init) {
        const QByteArray title = ansi::fromUnicode(com::fromBstr(*Titel));
        ok = send(TTM_SETTITLEA, static_cast<WPARAM>(*Icon), reinterpret_cast<LPARAM>(title.constData())) != 0;
    }
    setBool(result, ok);
    return S_OK;
}

// The buffer's size goes with the request, so the tooltip writes at most
// 1024 text bytes and a zero; the byte at index 1024 is never read as text.
HRESULT cToolTips::get_Text(LONG id, LONG hwnd, BSTR *result)
{
    if (!result)
        return E_POINTER;
    QString text;
    if (m_Init) {
        char buffer[TextBufferSize] = {};
        TOOLINFOA ti = toolInfo(hwnd, id);
        ti.lpszText = buffer;
        send(TTM_GETTEXTA, TextBufferSize, reinterpret_cast<LPARAM>(&ti));
        const std::size_t length = strnlen(buffer, TextBufferSize - 1);
        text = ansi::toUnicode(QByteArray(buffer, static_cast<qsizetype>(length)));
    }
    *result = com::toBstr(text);
    return S_OK;
}

HRESULT cToolTips::put_Text(LONG id, LONG hwnd, BSTR NewText)
{
    if (m_Init) {
        QByteArray text = ansi::fromUnicode(com::fromBstr(NewText));
        TOOLINFOA ti = toolInfo(hwnd, id);
        ti.lpszText = text.data();
        send(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    }
    return S_OK;
}

HRESULT cToolTips::get_BackColor(LONG *result)
{
    setLong(result, m_Init ? static_cast<LONG>(send(TTM_GETTIPBKCOLOR, 0, 0)) : 0);
    return S_OK;
}

HRESULT cToolTips::put_BackColor(LONG newval)
{
    if (m_Init)
        send(TTM_SETTIPBKCOLOR, static_cast<WPARAM>(static_cast<ULONG>(newval)), 0);
    return S_OK;
}

HRESULT cToolTips::get_FontColor(LONG *result)
{
    setLong(result, m_Init ? static_cast<LONG>(send(TTM_GETTIPTEXTCOLOR, 0, 0)) : 0);
    return S_OK;
}

HRESULT cToolTips::put_FontColor(LONG newval)
{
    if (m_Init)
        send(TTM_SETTIPTEXTCOLOR, static_cast<WPARAM>(static_cast<ULONG>(newval)), 0);
    return S_OK;
}

HRESULT cToolTips::get_MaxTipWidth(LONG *result)
{
    setLong(result, m_Init ? static_cast<LONG>(send(TTM_GETMAXTIPWIDTH, 0, 0)) : 0);
    return S_OK;
}

HRESULT cToolTips::put_MaxTipWidth(LONG newval)
{
    if (m_Init)
        send(TTM_SETMAXTIPWIDTH, 0, newval);
    return S_OK;
}

HRESULT cToolTips::get_hwnd(LONG *result)
{
    setLong(result, m_Init ? m_hwnd : 0);
    return S_OK;
}

HRESULT cToolTips::put_Enabled(VARIANT_BOOL newval)
{
    if (m_Init)
        send(TTM_ACTIVATE, static_cast<WPARAM>(static_cast<LONG_PTR>(newval)), 0);
    return S_OK;
}

HRESULT cToolTips::Init(TT_STYLE Style)
{
    if (m_Init)
        return S_OK;
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = 8;
    icc.dwICC = ICC_BAR_CLASSES;
    if (!InitCommonControlsEx(&icc))
        return S_OK;
    LONG creationData = 0;
    m_hwnd = CreateWindowExA(WS_EX_TOPMOST, "tooltips_class32", "", static_cast<DWORD>(Style),
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                             0, 0, moduleInstance(), &creationData);
    const HRESULT hr = CoCreateInstance(CLSID_Dictionary, nullptr, CLSCTX_INPROC_SERVER, IID_IDictionary,
                                        m_Dict.putVoid());
    if (FAILED(hr)) {
        // Stay inert without leaving a window behind that no one would end.
        DestroyWindow(m_hwnd);
        m_hwnd = 0;
        return hr;
    }
    m_Init = true;
    return S_OK;
}

// ---- events -------------------------------------------------------------

// A handler may release the last reference to the object while its event
// runs; the object then ends only after the event, not under it.
QString cToolTips::RaiseNeedText(LONG id)
{
    const com::ComPtr<_cToolTips> keepAlive(this);
    com::Bstr TTText{QString()};
    VARIANT args[] = {com::variantLong(id), com::variantRef(TTText.ref())};
    m_events.fire(dispid::NeedText, args, 2);
    return TTText.text();
}

void cToolTips::RaiseShow(LONG id, LONG &ReturnCode)
{
    const com::ComPtr<_cToolTips> keepAlive(this);
    VARIANT args[] = {com::variantLong(id), com::variantRef(&ReturnCode)};
    m_events.fire(dispid::SHOW, args, 2);
}

void cToolTips::RaisePop(LONG id)
{
    const com::ComPtr<_cToolTips> keepAlive(this);
    VARIANT args[] = {com::variantLong(id)};
    m_events.fire(dispid::POP, args, 1);
}

// ---- subclassing and the object's end -----------------------------------

// A window already subclassed by another object keeps that subclassing and
// this object joins it: the window procedure is replaced once, and the window
// gets its own procedure back only when the last of its objects ends.
void cToolTips::Subclass(HWND hwnd)
{
    if (modcToolTips::JoinWindow(hwnd, this) > 1)
        return;
    const LONG_PTR old = GetWindowLongA(hwnd, GWL_WNDPROC);
    SetPropA(hwnd, "OLDPROC", reinterpret_cast<HANDLE>(old));
    SetPropA(hwnd, "cTTOBJ", static_cast<HANDLE>(this));
    SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&modcToolTips::WndProc));
}

void cToolTips::Unsubclass(HWND hwnd)
{
    if (cToolTips *remaining = modcToolTips::LeaveWindow(hwnd, this)) {
        // Another object still has callback tools here: it takes over.
        SetPropA(hwnd, "cTTOBJ", static_cast<HANDLE>(remaining));
        return;
    }
    const auto old = reinterpret_cast<LONG_PTR>(GetPropA(hwnd, "OLDPROC"));
    RemovePropA(hwnd, "OLDPROC");
    RemovePropA(hwnd, "cTTOBJ");
    SetWindowLongA(hwnd, GWL_WNDPROC, old);
}

// A window is subclassed once per object, however many callback tools it
// gets, and stays so until the object ends.
HRESULT cToolTips::SubclassOnce(HWND hwnd)
{
    VARIANT key = com::variantString(QString::number(hwnd));
    VARIANT_BOOL known = VARIANT_FALSE;
    HRESULT hr = m_Dict->Exists(&key, &known);
    if (SUCCEEDED(hr) && !known) {
        VARIANT item = com::variantLong(hwnd);
        hr = m_Dict->Add(&key, &item);
        if (SUCCEEDED(hr))
            Subclass(hwnd);
    }
    VariantClear(&key);
    return hr;
}

void cToolTips::Class_Terminate()
{
    if (!m_Init)
        return;
    DestroyWindow(m_hwnd);
    VARIANT items;
    VariantInit(&items);
    if (SUCCEEDED(m_Dict->Items(&items)) && items.vt == (VT_ARRAY | VT_VARIANT)) {
        LONG first = 0;
        LONG last = -1;
        SafeArrayGetLBound(items.parray, 1, &first);
        SafeArrayGetUBound(items.parray, 1, &last);
        for (LONG i = first; i <= last; ++i) {
            VARIANT item;
            VariantInit(&item);
            if (SUCCEEDED(SafeArrayGetElement(items.parray, &i, &item)) && item.vt == VT_I4)
                Unsubclass(item.lVal);
            VariantClear(&item);
        }
    }
    VariantClear(&items);
    m_Dict.reset();
}

} // namespace Pellwick
