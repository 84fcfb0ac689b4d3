#pragma once
// InitCommonControlsEx: makes the common-control window classes available.
#include "base/wintypes.h"

struct INITCOMMONCONTROLSEX {
    DWORD dwSize; // sizeof(INITCOMMONCONTROLSEX), 8
    DWORD dwICC;  // ICC_ bits: the classes wanted
};

constexpr DWORD ICC_BAR_CLASSES = 0x0004;   // toolbar, status bar, track bar, tooltip
constexpr DWORD ICC_TAB_CLASSES = 0x0008;   // tab control, tooltip
constexpr DWORD ICC_WIN95_CLASSES = 0x00FF;

// TRUE when the record is well formed and the classes are registered.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX *init);
