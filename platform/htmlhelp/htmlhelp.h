#pragma once
// The platform's HTML help viewer: opens a compiled help file (.chm) in a
// help window of its own, on its table of contents or on its index.
#include "base/wintypes.h"

#include <cstdint>

using DWORD_PTR = std::uintptr_t;

constexpr UINT HH_DISPLAY_TOC = 1;   // the contents, with the file's default page
constexpr UINT HH_DISPLAY_INDEX = 2; // the index, its keyword field ready for typing

// Shows the help window of `file` on the asked tab; as every file name at
// the platform's "A" calls, `file` is in the file system's own encoding
// (QFile::encodeName), so a folder of any name works; one window
// per file, raised when it is open already. Returns the help window's
// handle, or 0 when the file cannot be opened (the viewer then says so in a
// message box of its own that does not wait) or the command is not one of
// the two above. `window` is the caller's window; `data` is unused (0).
HWND HtmlHelpA(HWND window, const char *file, UINT command, DWORD_PTR data);
