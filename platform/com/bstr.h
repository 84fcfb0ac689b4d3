#pragma once
// COM strings: UTF-16 text preceded by its length in bytes (32 bits) and
// followed by a zero character. A BSTR points at the first character, so it
// reads as a zero-terminated string too; a null BSTR is the empty string.
#include "com/comtypes.h"

#include <QString>

#include <utility>

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

// Owns one BSTR and frees it when it goes: a string handed to a COM call,
// or one a call hands back. Moves, never copies.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const QString &text) : m_bstr(toBstr(text)) {}
    Bstr(Bstr &&other) noexcept : m_bstr(std::exchange(other.m_bstr, nullptr)) {}
    Bstr &operator=(Bstr &&other) noexcept
    {
        if (this != &other)
            SysFreeString(std::exchange(m_bstr, std::exchange(other.m_bstr, nullptr)));
        return *this;
    }
    Bstr(const Bstr &) = delete;
    Bstr &operator=(const Bstr &) = delete;
    ~Bstr() { SysFreeString(m_bstr); }
    // Takes over a string a call handed back.
    static Bstr adopt(BSTR bstr)
    {
        Bstr owner;
        owner.m_bstr = bstr;
        return owner;
    }

    BSTR get() const { return m_bstr; }
    // For a parameter passed by reference (in and out): the call may
    // replace the string, which this owner then frees.
    BSTR *ref() { return &m_bstr; }
    QString text() const { return fromBstr(m_bstr); }

private:
    BSTR m_bstr = nullptr;
};

} // namespace com
