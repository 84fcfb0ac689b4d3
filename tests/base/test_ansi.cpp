#include "base/ansi.h"
#include "base/wintypes.h"

#include <gtest/gtest.h>

TEST(Ansi, RoundTripsGermanTextByteForByte)
{
    const QString text = QStringLiteral("Größe Übernehmen ä ß €");
    const QByteArray bytes = ansi::fromUnicode(text);
    EXPECT_EQ(bytes, QByteArray("Gr\xF6\xDF" "e \xDC" "bernehmen \xE4 \xDF \x80"));
    EXPECT_EQ(ansi::toUnicode(bytes), text);
}

TEST(Ansi, CharactersOutsideTheCodePageBecomeQuestionMarksWithoutLosingTheRest)
{
    EXPECT_EQ(ansi::fromUnicode(QStringLiteral("a\u4E2Db")), QByteArray("a?b"));
    EXPECT_EQ(ansi::toUnicode(QByteArray("x\x81y")), QStringLiteral("x\uFFFDy"));
    EXPECT_TRUE(ansi::toUnicode(static_cast<const char *>(nullptr)).isEmpty());
    // A character beyond the 16-bit range is one character, so one '?';
    // a lone half of a pair is one too.
    EXPECT_EQ(ansi::fromUnicode(QString::fromUtf8("a\xF0\x9D\x84\x9E" "b")), QByteArray("a?b"));
    EXPECT_EQ(ansi::fromUnicode(QString(QChar(0xD834)) + "b" + QChar(0xDD1E)), QByteArray("?b?"));
}

TEST(WinTypes, WordsAndColoursUseThePlatformLayout)
{
    EXPECT_EQ(MAKELONG(10, 20), 20 * 65536 + 10);
    EXPECT_EQ(LOWORD(MAKELONG(10, 20)), 10);
    EXPECT_EQ(HIWORD(MAKELONG(10, 20)), 20);
    EXPECT_EQ(RGB(0, 0, 255), 0xFF0000u);
    EXPECT_EQ(sizeof(HWND), 4u);
}
