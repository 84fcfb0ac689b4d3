#include "com/guid.h"

#include <cstdio>

namespace com {

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

} // namespace

bool parseGuid(const QString &text, GUID *out)
{
    QString s = text;
    if (s.size() == 38 && s.front() == u'{' && s.back() == u'}')
        s = s.mid(1, 36);
    if (s.size() != 36)
        return false;
    // 8-4-4-4-12 hex digits; the dashes stand at fixed places.
    BYTE bytes[16];
    int n = 0;
    for (int i = 0; i < 36;) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (s[i] != u'-')
                return false;
            ++i;
            continue;
        }
        const int hi = hexDigit(s[i]);
        const int lo = hexDigit(s[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        bytes[n++] = static_cast<BYTE>(hi * 16 + lo);
        i += 2;
    }
    GUID g;
    g.Data1 = (DWORD(bytes[0]) << 24) | (DWORD(bytes[1]) << 16) | (DWORD(bytes[2]) << 8) | bytes[3];
    g.Data2 = static_cast<WORD>((bytes[4] << 8) | bytes[5]);
    g.Data3 = static_cast<WORD>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i)
        g.Data4[i] = bytes[8 + i];
    *out = g;
    return true;
}

QString guidToString(const GUID &g)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2],
                  g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return QString::fromLatin1(buf);
}

GUID guidFromString(const char *text)
{
    GUID g = GUID_NULL;
    parseGuid(QString::fromLatin1(text), &g);
    return g;
}

} // namespace com
