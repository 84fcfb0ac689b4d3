#pragma once
// The scalar types and calling conventions the COM runtime speaks, beside
// the window types of base/wintypes.h.
#include "base/wintypes.h"

#include <cstdint>

using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using LCID = DWORD;
using DISPID = LONG;
using SCODE = std::int32_t;
using HRESULT = std::int32_t;

// A function a COM server library exports: C linkage, visible from outside
// the library even when it is built with hidden symbols by default.
#define STDAPI extern "C" __attribute__((visibility("default"))) HRESULT
