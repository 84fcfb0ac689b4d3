#pragma once
// Windows and messages: the handle table, window classes, window procedures
// and window properties, on top of Qt Widgets.
//
// A window is a QWidget with an entry in the handle table. Any widget can be
// given a handle (HandleOf); a window created with CreateWindowExA from a
// registered class owns a widget made by that class's factory. Messages exist
// only where a caller sends them: SendMessageA calls the window's current
// procedure synchronously; everything else runs on Qt's own events.
// All of it lives on the user-interface thread.
#include "base/wintypes.h"

#include <cstddef>
#include <functional>

class QWidget;

using HINSTANCE = void *;
using HMENU = void *;
using HANDLE = void *;
using LPVOID = void *;
using LPCSTR = const char *;
using LPSTR = char *;
using UINT_PTR = std::uintptr_t;

// A device context: a small number naming one window's drawing surface.
using HDC = std::int32_t;

// Window messages.
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_STYLECHANGED = 0x007D;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MOUSELEAVE = 0x02A3;
constexpr UINT WM_USER = 0x0400;

// GetWindowLongA / SetWindowLongA indices.
constexpr int GWL_WNDPROC = -4;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;

// Window styles.
constexpr DWORD WS_POPUP = 0x80000000u;
constexpr DWORD WS_CHILD = 0x40000000u;
constexpr DWORD WS_VISIBLE = 0x10000000u;
constexpr DWORD WS_EX_TOPMOST = 0x00000008u;

// "Let the system choose" for a position or size of CreateWindowExA.
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);

// lParam of WM_STYLECHANGED: the style before and after SetWindowLongA.
struct STYLESTRUCT {
    DWORD styleOld;
    DWORD styleNew;
};

// ---- handles ---------------------------------------------------------------

// The handle of a widget, made on first use. The class name is that of the
// window class the widget was created from, else className if given, else
// the widget's Qt class name. 0 for nullptr.
HWND HandleOf(QWidget *widget, const char *className = nullptr);

// The widget of a handle; nullptr for 0 and for a destroyed window.
QWidget *WidgetOf(HWND hwnd);

BOOL IsWindow(HWND hwnd);

// ---- window classes --------------------------------------------------------

// What CreateWindowExA hands to a class's factory.
struct WindowCreateInfo {
    DWORD exStyle;
    LPCSTR className;
    LPCSTR windowName;
    DWORD style;
    int x, y, width, height; // CW_USEDEFAULT where the caller left it open
    QWidget *parent;          // widget of the parent handle, or nullptr
    LPVOID param;
};

using WindowFactory = std::function<QWidget *(const WindowCreateInfo &)>;

// Registers (or replaces) a window class: its name (compared without regard
// to case), the factory that makes its widget and the class's own procedure.
// A procedure of nullptr means DefWindowProcA.
void RegisterWindowClass(LPCSTR className, WindowFactory factory, WNDPROC windowProc);
BOOL IsWindowClassRegistered(LPCSTR className);

// The procedure of windows that do nothing special with messages: 0.
LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// ---- creating, destroying, messages ----------------------------------------

// 0 when the class is not registered or its factory makes no widget.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                     int x, int y, int width, int height,
                     HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);

// Sends WM_DESTROY, destroys the widget (and its children) and forgets the
// handle for good. FALSE for a handle that does not exist.
BOOL DestroyWindow(HWND hwnd);

// Calls the window's current procedure and returns its result; 0 for a
// handle that does not exist.
LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Calls procedure; 0 when it is nullptr.
LRESULT CallWindowProcA(WNDPROC procedure, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// GWL_WNDPROC: the procedure's address; GWL_STYLE, GWL_EXSTYLE: the styles.
// Values are pointer-sized so that an address survives the round trip.
// SetWindowLongA returns the previous value; both return 0 for a handle that
// does not exist or an unknown index.
LONG_PTR GetWindowLongA(HWND hwnd, int index);
LONG_PTR SetWindowLongA(HWND hwnd, int index, LONG_PTR value);

// ---- window properties -----------------------------------------------------

// Named pointer-sized values of a window (names compared without regard to
// case); they vanish with the window.
BOOL SetPropA(HWND hwnd, LPCSTR name, HANDLE value);
HANDLE GetPropA(HWND hwnd, LPCSTR name);     // nullptr when not set
HANDLE RemovePropA(HWND hwnd, LPCSTR name);  // the value it had

// ---- window tree -----------------------------------------------------------

// The next child window of parent (top-level windows for 0) after
// childAfter (from the first for 0) whose class and window name match;
// nullptr for either means any.
HWND FindWindowExA(HWND parent, HWND childAfter, LPCSTR className, LPCSTR windowName);

// Makes child a child of newParent (top-level for 0) and keeps it where it
// was shown; returns the previous parent's handle (0 for none, or failure).
HWND SetParent(HWND child, HWND newParent);
HWND GetParent(HWND hwnd);

// ---- drawing, cursor -------------------------------------------------------

HDC GetDC(HWND hwnd);                 // 0 for a handle that does not exist
int ReleaseDC(HWND hwnd, HDC dc);     // 1 when released, else 0
HWND WindowFromDC(HDC dc);

// Screen pixels.
BOOL GetCursorPos(POINT *point);
BOOL ScreenToClient(HWND hwnd, POINT *point);
BOOL ClientToScreen(HWND hwnd, POINT *point);

// ---- kernel32 --------------------------------------------------------------

void Sleep(DWORD milliseconds);
void RtlMoveMemory(void *destination, const void *source, std::size_t length);
