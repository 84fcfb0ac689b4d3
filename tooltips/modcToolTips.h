#pragma once
// modcToolTips: the window procedure installed on every owner window that
// received a callback tool. It turns the tooltip notifications into the
// events of the object that subclassed the window.
#include "base/wintypes.h"

namespace Pellwick {

class cToolTips;

namespace modcToolTips {

LRESULT WndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// The objects with callback tools over one window, in the order they came.
// JoinWindow returns how many there are now (1: the caller subclasses);
// LeaveWindow returns the first one still left, or nullptr when none is.
int JoinWindow(HWND hwnd, cToolTips *object);
cToolTips *LeaveWindow(HWND hwnd, cToolTips *object);

} // namespace modcToolTips
} // namespace Pellwick
