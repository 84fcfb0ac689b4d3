#pragma once
// Pellwick Tooltips 1.0: what an early-bound client needs to create and
// drive the balloon-tooltip component. Clients include this header and
// create the object with CoCreateInstance(CLSID_cToolTips); they never link
// against the library itself.
#include "com/com.h"

namespace Pellwick {

// Library, class and interface identifiers.
inline constexpr GUID LIBID_Pellwick =
    {0xB2F5D8CA, 0x7FFE, 0x4582, {0x91, 0x52, 0x28, 0xBB, 0xE8, 0x9B, 0x28, 0x8D}};
inline constexpr GUID CLSID_cToolTips =
    {0x445DCC46, 0x6673, 0x4077, {0xBE, 0x1A, 0x92, 0xB5, 0x25, 0x49, 0x08, 0xB7}};
inline constexpr GUID IID__cToolTips =
    {0x7D7B75CF, 0xA8CC, 0x4266, {0xBC, 0xDD, 0x83, 0x17, 0x65, 0x21, 0x6E, 0xBB}};
inline constexpr GUID DIID___cToolTips =
    {0xB6DB2617, 0x010F, 0x4003, {0xA8, 0x27, 0xDA, 0x56, 0x05, 0xF3, 0x1F, 0x0D}};
inline constexpr GUID GUID_TT_STYLE =
    {0xA02E0ED2, 0x8F4C, 0x484C, {0x9E, 0x38, 0xBA, 0x92, 0xEF, 0x86, 0xF7, 0xCC}};
inline constexpr GUID GUID_TT_TITELICON =
    {0x25B6BF53, 0x8DFD, 0x4671, {0xB0, 0x32, 0x60, 0xE8, 0x37, 0xD9, 0x6B, 0xE8}};
inline constexpr GUID GUID_TT_Flags =
    {0x632DDB2C, 0x3F18, 0x4D48, {0x9E, 0xC9, 0x84, 0x08, 0xA0, 0xC8, 0x5E, 0xED}};
inline constexpr GUID GUID_TT_Timing =
    {0xC237E179, 0x9FD0, 0x4DB3, {0xAF, 0x6D, 0x11, 0x85, 0x28, 0x05, 0xFF, 0x7E}};
inline constexpr GUID GUID_rect =
    {0x5F3A2733, 0xD61A, 0x4FFD, {0x83, 0x38, 0xB7, 0x5B, 0x24, 0x10, 0x63, 0xB4}};

inline constexpr WORD LibraryMajorVersion = 1;
inline constexpr WORD LibraryMinorVersion = 0;

// Enumerations: 32-bit integers at the interface, members in declaration order.
enum TT_STYLE : LONG {
    TTS_ALWAYSTIP = 1,
    TTS_NOPREFIX = 2,
    TTS_BALLOON = 64,
    TTS_NOANIMATE = 16,
    TTS_NOFADE = 32,
};

enum TT_TITELICON : LONG {
    TTI_NOICON = 0,
    TTI_INFOICON = 1,
    TTI_WARNINGICON = 2,
    TTI_ERRORICON = 3,
};

enum TT_Flags : LONG {
    TTF_IDISHWND = 1,
    TTF_CENTERTIP = 2,
    TTF_RTLREADING = 4,
    TTF_SUBCLASS = 16,
    TTF_TRACK = 32,
    TTF_ABSOLUTE = 128,
    TTF_TRANSPARENT = 256,
    TTF_DI_SETITEM = 32768,
};

enum TT_Timing : LONG {
    TTDT_AUTOMATIC = 0,
    TTDT_RESHOW = 1,
    TTDT_AUTOPOP = 2,
    TTDT_INITIAL = 3,
};

// The record rect: the platform's RECT layout, 16 bytes.
struct rect {
    LONG Left;
    LONG Top;
    LONG Right;
    LONG Bottom;
};
static_assert(sizeof(rect) == 16);

// Dispatch ids: properties 0x68030000 + n, methods 0x60030000 + n.
namespace dispid {
constexpr DISPID property(LONG n) { return 0x68030000 + n; }
constexpr DISPID method(LONG n) { return 0x60030000 + n; }

inline constexpr DISPID Enabled = property(0);
inline constexpr DISPID hwnd = property(1);
inline constexpr DISPID MaxTipWidth = property(2);
inline constexpr DISPID FontColor = property(3);
inline constexpr DISPID BackColor = property(4);
inline constexpr DISPID Text = property(5);
inline constexpr DISPID Count = property(6);
inline constexpr DISPID DelayTime = property(7);
inline constexpr DISPID newToolRect = method(11);
inline constexpr DISPID GetMargin = method(12);
inline constexpr DISPID SetMargin = method(13);
inline constexpr DISPID BubbleSize = method(14);
inline constexpr DISPID HitTest = method(15);
inline constexpr DISPID AdjustRect = method(16);
inline constexpr DISPID SetTrackActivate = method(17);
inline constexpr DISPID SetTrackPosition = method(18);
inline constexpr DISPID AddTTRect = method(19);
inline constexpr DISPID AddTTRectCB = method(20);
inline constexpr DISPID DeleteTT = method(21);
inline constexpr DISPID SetNewTTPos = method(22);
inline constexpr DISPID Update = method(23);
inline constexpr DISPID SetTitle = method(24);
inline constexpr DISPID Init = method(26);

// Events of __cToolTips.
inline constexpr DISPID NeedText = 1;
inline constexpr DISPID POP = 2;
inline constexpr DISPID SHOW = 3;
} // namespace dispid

// Defaults of the optional parameters.
inline constexpr TT_Flags DefaultToolFlags = TTF_ABSOLUTE; // fl of AddTTRect, AddTTRectCB
inline constexpr LONG DefaultToolId = 0;                   // id of AddTTRect, AddTTRectCB
inline constexpr TT_STYLE DefaultStyle = TTS_ALWAYSTIP;    // Style of Init

// The default interface of cToolTips: dual, so every member is also reached
// through IDispatch::Invoke by its dispatch id. Members in slot order after
// IDispatch's; pointer parameters are by reference (in and out), the others
// by value; a member's result is its trailing pointer.
struct _cToolTips : IDispatch {
    virtual HRESULT put_DelayTime(TT_Timing *DTType, LONG ms) = 0;
    virtual HRESULT get_DelayTime(TT_Timing *DTType, LONG *result) = 0;
    virtual HRESULT newToolRect(rect *ToolRect, LONG *hwnd, LONG *id) = 0;
    virtual HRESULT GetMargin(LONG *TopText, LONG *LeftText, LONG *BottomText, LONG *RightText, VARIANT *result) = 0;
    virtual HRESULT SetMargin(LONG *TopText, LONG *LeftText, LONG *BottomText, LONG *RightText, VARIANT *result) = 0;
    virtual HRESULT BubbleSize(LONG *hwnd, LONG *id, LONG *result) = 0;
    virtual HRESULT HitTest(LONG *xPos, LONG *yPos, LONG *hwnd, LONG *result) = 0;
    virtual HRESULT AdjustRect(VARIANT_BOOL fLarger, rect *rectOut, VARIANT_BOOL *result) = 0;
    virtual HRESULT SetTrackActivate(VARIANT_BOOL Activate, LONG hwnd, LONG id, VARIANT_BOOL *result) = 0;
    virtual HRESULT SetTrackPosition(LONG ScreenXPos, LONG ScreenYPos, VARIANT_BOOL *result) = 0;
    virtual HRESULT AddTTRect(LONG *hwnd, LONG *Left, LONG *Top, LONG *Right, LONG *Bottom, BSTR *TTText,
                              TT_Flags fl, LONG id, VARIANT_BOOL *result) = 0;
    virtual HRESULT AddTTRectCB(LONG *hwnd, LONG *Left, LONG *Top, LONG *Right, LONG *Bottom,
                                TT_Flags fl, LONG id, VARIANT_BOOL *result) = 0;
    virtual HRESULT get_Count(LONG *result) = 0;
    virtual HRESULT DeleteTT(LONG id, VARIANT_BOOL *result) = 0;
    virtual HRESULT SetNewTTPos(LONG id, LONG *Left, LONG *Top, LONG *Right, LONG *Bottom, VARIANT_BOOL *result) = 0;
    virtual HRESULT Update(VARIANT_BOOL *result) = 0;
    virtual HRESULT SetTitle(BSTR *Titel, TT_TITELICON *Icon, VARIANT_BOOL *result) = 0;
    virtual HRESULT get_Text(LONG id, LONG hwnd, BSTR *result) = 0;
    virtual HRESULT put_Text(LONG id, LONG hwnd, BSTR NewText) = 0;
    virtual HRESULT get_BackColor(LONG *result) = 0;
    virtual HRESULT put_BackColor(LONG newval) = 0;
    virtual HRESULT get_FontColor(LONG *result) = 0;
    virtual HRESULT put_FontColor(LONG newval) = 0;
    virtual HRESULT get_MaxTipWidth(LONG *result) = 0;
    virtual HRESULT put_MaxTipWidth(LONG newval) = 0;
    virtual HRESULT get_hwnd(LONG *result) = 0;
    virtual HRESULT put_Enabled(VARIANT_BOOL newval) = 0;
    virtual HRESULT Init(TT_STYLE Style = DefaultStyle) = 0;
};

// The source interface __cToolTips is a pure dispatch interface: a sink
// implements IDispatch, answers QueryInterface for DIID___cToolTips and
// receives, through Invoke with DISPATCH_METHOD (arguments last first):
//   NeedText (1): id As Long by value, TTText As String by reference
//   POP (2):      id As Long by value
//   SHOW (3):     id As Long by value, ReturnCode As Long by reference

} // namespace Pellwick
