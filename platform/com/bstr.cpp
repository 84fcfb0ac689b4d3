#include "com/bstr.h"

#include <cstdlib>
#include <cstring>

namespace {

// The length prefix sits in the four bytes before the first character.
std::uint32_t *prefixOf(BSTR bstr) { return reinterpret_cast<std::uint32_t *>(bstr) - 1; }

} // namespace

BSTR SysAllocStringLen(const OLECHAR *pch, UINT len)
{
    const std::size_t bytes = std::size_t(len) * sizeof(OLECHAR);
    if (bytes > 0xFFFFFFF0u)
        return nullptr;
    auto *block = static_cast<std::uint32_t *>(std::malloc(sizeof(std::uint32_t) + bytes + sizeof(OLECHAR)));
    if (!block)
        return nullptr;
    block[0] = static_cast<std::uint32_t>(bytes);
    auto *chars = reinterpret_cast<OLECHAR *>(block + 1);
    if (pch)
        std::memcpy(chars, pch, bytes);
    else
        std::memset(chars, 0, bytes);
    chars[len] = 0;
    return chars;
}

BSTR SysAllocString(LPCOLESTR psz)
{
    if (!psz)
        return nullptr;
    UINT len = 0;
    while (psz[len])
        ++len;
    return SysAllocStringLen(psz, len);
}

BOOL SysReAllocString(BSTR *pbstr, LPCOLESTR psz)
{
    BSTR copy = SysAllocString(psz);
    if (psz && !copy)
        return FALSE;
    SysFreeString(*pbstr);
    *pbstr = copy;
    return TRUE;
}

void SysFreeString(BSTR bstr)
{
    if (bstr)
        std::free(prefixOf(bstr));
}

UINT SysStringByteLen(BSTR bstr) { return bstr ? *prefixOf(bstr) : 0; }

UINT SysStringLen(BSTR bstr) { return SysStringByteLen(bstr) / sizeof(OLECHAR); }

namespace com {

BSTR toBstr(const QString &text)
{
    return SysAllocStringLen(reinterpret_cast<const OLECHAR *>(text.utf16()), static_cast<UINT>(text.size()));
}

QString fromBstr(BSTR bstr)
{
    if (!bstr)
        return QString();
    return QString::fromUtf16(bstr, static_cast<qsizetype>(SysStringLen(bstr)));
}

} // namespace com
