// The Windows-1252 conversion both ways: one character per byte, every
// assigned byte back as it was, one '?' for each character the code page
// lacks.
#include "fuzz_check.h"

#include "base/ansi.h"

#include <QList>

namespace {

bool unassigned(unsigned char b)
{
    return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    // Bytes to text and back.
    const QString text = ansi::toUnicode(bytes);
    FUZZ_CHECK(text.size() == bytes.size());
    QByteArray expected = bytes;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (unassigned(b)) {
            FUZZ_CHECK(text[i] == QChar(QChar::ReplacementCharacter));
            expected[i] = '?';
        } else if (b < 0x80 || b >= 0xA0) {
            FUZZ_CHECK(text[i].unicode() == b); // ASCII and Latin-1 stand for themselves
        }
    }
    FUZZ_CHECK(ansi::fromUnicode(text) == expected);
    FUZZ_CHECK(ansi::toUnicode(bytes.constData()) == text.left(bytes.indexOf('\0') < 0 ? text.size() : bytes.indexOf('\0')));

    // The same bytes read as UTF-16 text: one byte per character (a
    // surrogate pair is one character), and what comes back is the text
    // with '?' for each character the code page lacks.
    const QString utf16(reinterpret_cast<const QChar *>(data), static_cast<qsizetype>(size / 2));
    const QByteArray ansiText = ansi::fromUnicode(utf16);
    const QList<uint> codePoints = utf16.toUcs4();
    FUZZ_CHECK(ansiText.size() == codePoints.size());
    const QString back = ansi::toUnicode(ansiText);
    FUZZ_CHECK(back.size() == codePoints.size());
    for (qsizetype i = 0; i < codePoints.size(); ++i) {
        FUZZ_CHECK(!unassigned(static_cast<unsigned char>(ansiText[i])));
        if (ansiText[i] != '?')
            FUZZ_CHECK(back[i].unicode() == codePoints[i]);
    }
    return 0;
}
