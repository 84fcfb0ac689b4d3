#pragma once
// cToolTips: one tooltip window of the common controls, driven through the
// dual interface _cToolTips. The object keeps no copy of tools, texts or
// settings; the tooltip window is their only store.
#include "Pellwick.h"


#include <QString>

#include <atomic>

namespace Pellwick {

class cToolTips final : public _cToolTips, public IConnectionPointContainer {
public:
    cToolTips();
    ~cToolTips();
    cToolTips(const cToolTips &) = delete;
    cToolTips &operator=(const cToolTips &) = delete;

    // IUnknown
    HRESULT QueryInterface(REFIID riid, void **ppv) override;
    ULONG AddRef() override;
    ULONG Release() override;

    // IDispatch (cToolTips_dispatch.cpp)
    HRESULT GetTypeInfoCount(UINT *pctinfo) override;
    HRESULT GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo **ppTInfo) override;
    HRESULT GetIDsOfNames(REFIID riid, LPOLESTR *rgszNames, UINT cNames, LCID lcid, DISPID *rgDispId) override;
    HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS *pDispParams,
                   VARIANT *pVarResult, EXCEPINFO *pExcepInfo, UINT *puArgErr) override;

    // IConnectionPointContainer: the one source interface __cToolTips.
    HRESULT EnumConnectionPoints(IEnumConnectionPoints **ppEnum) override;
    HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint **ppCP) override;

    // _cToolTips
    HRESULT put_DelayTime(TT_Timing *DTType, LONG ms) override;
    HRESULT get_DelayTime(TT_Timing *DTType, LONG *result) override;
    HRESULT newToolRect(rect *ToolRect, LONG *hwnd, LONG *id) override;
    HRESULT GetMargin(LONG *TopText, LONG *LeftText, LONG *BottomText, LONG *RightText, VARIANT *result) override;
    HRESULT SetMargin(LONG *TopText, LONG *LeftText, LONG *BottomText, LONG *RightText, VARIANT *result) override;
    HRESULT BubbleSize(LONG *hwnd, LONG *id, LONG *result) override;
    HRESULT HitTest(LONG *xPos, LONG *yPos, LONG *hwnd, LONG *result) override;
    HRESULT AdjustRect(VARIANT_BOOL fLarger, rect *rectOut, VARIANT_BOOL *result) override;
    HRESULT SetTrackActivate(VARIANT_BOOL Activate, LONG hwnd, LONG id, VARIANT_BOOL *result) override;
    HRESULT SetTrackPosition(LONG ScreenXPos, LONG ScreenYPos, VARIANT_BOOL *result) override;
    HRESULT AddTTRect(LONG *hwnd, LONG *Left, LONG *Top, LONG *Right, LONG *Bottom, BSTR *TTText,
                      TT_Flags fl, LONG id, VARIANT_BOOL *result) override;
    HRESULT AddTTRectCB(LONG *hwnd, LONG *Left, LONG *Top, LONG *Right, LONG *Bottom,
                        TT_Flags fl, LONG id, VARIANT_BOOL *result) override;
    HRESULT get_Count(LONG *result) override;
    HRESULT DeleteTT(LONG id, VARIANT_BOOL *result) override;
    HRESULT SetNewTTPos(LONG id, LONG *Left, LONG *Top, LONG *Right, LONG *Bottom, VARIANT_BOOL *result) override;
    HRESULT Update(VARIANT_BOOL *result) override;
    HRESULT SetTitle(BSTR *Titel, TT_TITELICON *Icon, VARIANT_BOOL *result) override;
    HRESULT get_Text(LONG id, LONG hwnd, BSTR *result) override;
    HRESULT put_Text(LONG id, LONG hwnd, BSTR NewText) override;
    HRESULT get_BackColor(LONG *result) override;
    HRESULT put_BackColor(LONG newval) override;
    HRESULT get_FontColor(LONG *result) override;
    HRESULT put_FontColor(LONG newval) override;
    HRESULT get_MaxTipWidth(LONG *result) override;
    HRESULT put_MaxTipWidth(LONG newval) override;
    HRESULT get_hwnd(LONG *result) override;
    HRESULT put_Enabled(VARIANT_BOOL newval) override;
    HRESULT Init(TT_STYLE Style) override;

    // Reached only from inside the component (modcToolTips::WndProc).
    QString RaiseNeedText(LONG id);
    void RaiseShow(LONG id, LONG &ReturnCode);
    void RaisePop(LONG id);

    // The tooltip window, 0 before Init.
    HWND tooltipWindow() const { return m_hwnd; }

    // Number of live objects, for DllCanUnloadNow.
    static LONG liveObjects();

private:
    void Subclass(HWND hwnd);
    void Unsubclass(HWND hwnd);
    HRESULT SubclassOnce(HWND hwnd);
    void Class_Terminate();
    LRESULT send(UINT msg, WPARAM wParam, LPARAM lParam) const;

    std::atomic<ULONG> m_refs{1};
    HWND m_hwnd = 0;
    bool m_Init = false;
    // The owner windows this object has subclassed, in the order met: key the
    // handle as decimal text, item the handle.
    com::ComPtr<IDictionary> m_Dict;
    com::ConnectionPoint m_events; // __cToolTips
};

} // namespace Pellwick
