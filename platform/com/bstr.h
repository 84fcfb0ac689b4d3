#pragma once
// COM strings: UTF-16 text preceded by its length in bytes (32 bits) and
// followed by a zero character. A BSTR points at the first character, so it
// reads as a zero-terminated string too; a null BSTR is the empty string.
#include "com/comtypes.h"

#include <QString>

using OLECHAR = char16_t;
using LPOLESTR = OLECHAR *;
using LPCOLESTR = const OLECHAR *;
using BSTR = OLECHAR *;

// A copy of a zero-terminated string; null in, null out.
BSTR SysAllocString(LPCOLESTR psz);
// A string of len characters copied from pch, or left zeroed when pch is null.
BSTR SysAllocStringLen(const OLECHAR *pch, UINT len);
// Replaces *pbstr with a copy of psz, freeing the old one; FALSE when out of memory.
BOOL SysReAllocString(BSTR *pbstr, LPCOLESTR psz);
void SysFreeString(BSTR bstr);
UINT SysStringLen(BSTR bstr);
UINT SysStringByteLen(BSTR bstr);

namespace com {

// A new BSTR holding the text; the caller frees it with SysFreeString.
BSTR toBstr(const QString &text);
// The text of a BSTR (embedded zero characters included).
QString fromBstr(BSTR bstr);

} // namespace com
