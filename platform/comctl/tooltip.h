#pragma once
// The tooltip window class "tooltips_class32": its messages, notifications,
// styles, flags and records. InitCommonControlsEx registers the class; a
// tooltip is then made with CreateWindowExA and driven with SendMessageA.
// Texts are in the ANSI code page. Notifications go to a tool's owner window
// as WM_NOTIFY through SendMessageA, so a subclassed owner sees them.
#include "comctl/commoncontrols.h"
#include "user32/user32.h"

#include <cstddef>

constexpr LPCSTR TOOLTIPS_CLASSA = "tooltips_class32";

// Styles of the tooltip window.
constexpr DWORD TTS_ALWAYSTIP = 0x01;  // show also while the owner is inactive
constexpr DWORD TTS_NOPREFIX = 0x02;   // keep '&' as it stands
constexpr DWORD TTS_NOANIMATE = 0x10;
constexpr DWORD TTS_NOFADE = 0x20;
constexpr DWORD TTS_BALLOON = 0x40;    // rounded balloon with a stem

// Tool flags.
constexpr UINT TTF_IDISHWND = 0x0001;    // uId is a window handle: the tool is that window
constexpr UINT TTF_CENTERTIP = 0x0002;   // centre the tip below the tool
constexpr UINT TTF_RTLREADING = 0x0004;
constexpr UINT TTF_SUBCLASS = 0x0010;    // the tooltip watches the owner's mouse itself
constexpr UINT TTF_TRACK = 0x0020;       // shown by TTM_TRACKACTIVATE at TTM_TRACKPOSITION
constexpr UINT TTF_ABSOLUTE = 0x0080;    // a tracking tip stands exactly at the position
constexpr UINT TTF_TRANSPARENT = 0x0100;
constexpr UINT TTF_DI_SETITEM = 0x8000;  // in TTN_NEEDTEXTA: keep the answer as the tool's text

// Delay times of TTM_SETDELAYTIME / TTM_GETDELAYTIME.
constexpr WPARAM TTDT_AUTOMATIC = 0;
constexpr WPARAM TTDT_RESHOW = 1;
constexpr WPARAM TTDT_AUTOPOP = 2;
constexpr WPARAM TTDT_INITIAL = 3;

// Title icons of TTM_SETTITLEA.
constexpr WPARAM TTI_NOICON = 0;
constexpr WPARAM TTI_INFO = 1;
constexpr WPARAM TTI_WARNING = 2;
constexpr WPARAM TTI_ERROR = 3;

// Messages.
constexpr UINT TTM_ACTIVATE = WM_USER + 1;         // wParam TRUE / FALSE
constexpr UINT TTM_SETDELAYTIME = WM_USER + 3;     // wParam TTDT_, lParam ms (-1: default)
constexpr UINT TTM_ADDTOOLA = WM_USER + 4;         // lParam TOOLINFOA*; TRUE when added
constexpr UINT TTM_DELTOOLA = WM_USER + 5;         // lParam TOOLINFOA* (hwnd, uId)
constexpr UINT TTM_NEWTOOLRECTA = WM_USER + 6;     // lParam TOOLINFOA* (hwnd, uId, rect)
constexpr UINT TTM_GETTOOLINFOA = WM_USER + 8;     // lParam TOOLINFOA*; TRUE when known
constexpr UINT TTM_HITTESTA = WM_USER + 10;        // lParam TTHITTESTINFOA*; TRUE on a hit
constexpr UINT TTM_GETTEXTA = WM_USER + 11;        // wParam buffer size, lParam TOOLINFOA*
constexpr UINT TTM_UPDATETIPTEXTA = WM_USER + 12;  // lParam TOOLINFOA* (hwnd, uId, lpszText)
constexpr UINT TTM_GETTOOLCOUNT = WM_USER + 13;
constexpr UINT TTM_TRACKACTIVATE = WM_USER + 17;   // wParam TRUE / FALSE, lParam TOOLINFOA*
constexpr UINT TTM_TRACKPOSITION = WM_USER + 18;   // lParam x low, y high 16 bits (screen)
constexpr UINT TTM_SETTIPBKCOLOR = WM_USER + 19;   // wParam COLORREF
constexpr UINT TTM_SETTIPTEXTCOLOR = WM_USER + 20; // wParam COLORREF
constexpr UINT TTM_GETDELAYTIME = WM_USER + 21;    // wParam TTDT_
constexpr UINT TTM_GETTIPBKCOLOR = WM_USER + 22;
constexpr UINT TTM_GETTIPTEXTCOLOR = WM_USER + 23;
constexpr UINT TTM_SETMAXTIPWIDTH = WM_USER + 24;  // lParam width (-1: none); the previous
constexpr UINT TTM_GETMAXTIPWIDTH = WM_USER + 25;
constexpr UINT TTM_SETMARGIN = WM_USER + 26;       // lParam RECT*
constexpr UINT TTM_GETMARGIN = WM_USER + 27;       // lParam RECT*
constexpr UINT TTM_POP = WM_USER + 28;
constexpr UINT TTM_UPDATE = WM_USER + 29;
constexpr UINT TTM_ADJUSTRECT = WM_USER + 31;      // wParam fLarger, lParam RECT*
constexpr UINT TTM_SETTITLEA = WM_USER + 32;       // wParam TTI_, lParam title; TRUE when set

// Notification codes (WM_NOTIFY, NMHDR::code).
constexpr UINT TTN_FIRST = static_cast<UINT>(-520);
constexpr UINT TTN_NEEDTEXTA = TTN_FIRST - 0; // also called TTN_GETDISPINFOA
constexpr UINT TTN_SHOW = TTN_FIRST - 1;
constexpr UINT TTN_POP = TTN_FIRST - 2;

// lpszText of a callback tool: ask the owner with TTN_NEEDTEXTA.
inline LPSTR const LPSTR_TEXTCALLBACKA = reinterpret_cast<LPSTR>(static_cast<std::intptr_t>(-1));

struct TOOLINFOA {
    UINT cbSize;
    UINT uFlags;
    HWND hwnd;      // the tool's owner window
    UINT_PTR uId;   // the tool id, or the tool's window with TTF_IDISHWND
    RECT rect;      // in the owner's client coordinates
    HINSTANCE hinst;
    LPSTR lpszText;
    LPARAM lParam;
    void *lpReserved;
};

// The sizes that name TOOLINFOA's forms; cbSize must be one of them.
constexpr UINT TTTOOLINFOA_V1_SIZE = offsetof(TOOLINFOA, lParam);      // ends with lpszText
constexpr UINT TTTOOLINFOA_V2_SIZE = offsetof(TOOLINFOA, lpReserved);  // ends with lParam
constexpr UINT TTTOOLINFOA_V3_SIZE = sizeof(TOOLINFOA);

struct TTHITTESTINFOA {
    HWND hwnd;   // the owner window
    POINT pt;    // in its client coordinates
    TOOLINFOA ti;
};

struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};

struct NMTTDISPINFOA {
    NMHDR hdr;
    LPSTR lpszText;  // points at szText when sent
    char szText[80];
    HINSTANCE hinst;
    UINT uFlags;
    LPARAM lParam;
};

// Registers "tooltips_class32" (done by InitCommonControlsEx as well).
void RegisterTooltipClass();
