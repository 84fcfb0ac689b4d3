#include "base/ansi.h"

#include <QStringDecoder>

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace {

// The input bytes of the one character iconv could not take: one unit, or
// for UTF-16 (units of 2) a surrogate pair, which is one character too.
size_t characterSize(const char *src, size_t left, int unitSize)
{
    auto unit = [src](size_t i) {
        return static_cast<unsigned>(static_cast<unsigned char>(src[i]) | static_cast<unsigned char>(src[i + 1]) << 8);
    };
    if (unitSize == 2 && left >= 4 && (unit(0) & 0xFC00) == 0xD800 && (unit(2) & 0xFC00) == 0xDC00)
        return 4;
    return std::min<size_t>(static_cast<size_t>(unitSize), left);
}

// One conversion with iconv; bytes iconv cannot take are replaced one
// at a time so a single odd character never loses the rest of the text.
QByteArray convert(const char *to, const char *from, const QByteArray &in, const QByteArray &replacement, int unitSize)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    QByteArray out;
    std::vector<char> buffer(4096);
    char *src = const_cast<char *>(in.constData());
    size_t left = static_cast<size_t>(in.size());
    while (left > 0) {
        char *dst = buffer.data();
        size_t room = buffer.size();
        size_t rc = iconv(cd, &src, &left, &dst, &room);
        out.append(buffer.data(), static_cast<qsizetype>(dst - buffer.data()));
        if (rc == static_cast<size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL: skip one character and put the replacement.
            const size_t skip = characterSize(src, left, unitSize);
            src += skip;
            left -= skip;
            out.append(replacement);
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

namespace ansi {

QByteArray fromUnicode(const QString &text)
{
    QByteArray utf16(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    return convert("WINDOWS-1252", "UTF-16LE", utf16, QByteArray("?"), 2);
}

QString toUnicode(const QByteArray &bytes)
{
    QByteArray utf16 = convert("UTF-16LE", "WINDOWS-1252", bytes, QByteArray("\xFD\xFF", 2), 1);
    return QString(reinterpret_cast<const QChar *>(utf16.constData()), utf16.size() / 2);
}

QString toUnicode(const char *zeroTerminated)
{
    return zeroTerminated ? toUnicode(QByteArray(zeroTerminated)) : QString();
}

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes); // decoding is what sets hasError()
    Q_UNUSED(text);
    return !decoder.hasError();
}

} // namespace ansi
