// The runtime's combo box: its messages, list and key events.
#include "base/ansi.h"
#include "runtime/combobox.h"
#include "user32/user32.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

namespace {

class ComboMessages : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char *item : {"Karl", "Größe", "karl", "Kurt"})
            combo.AddItem(QString::fromUtf8(item));
    }

    LRESULT send(UINT msg, LPARAM after, const QString &text)
    {
        const QByteArray bytes = ansi::fromUnicode(text);
        return SendMessageA(combo.hWnd(), msg, static_cast<WPARAM>(after), reinterpret_cast<LPARAM>(bytes.constData()));
    }

    ComboBox combo;
};

} // namespace

TEST_F(ComboMessages, FindStringSearchesOnwardFromTheItemAfterTheGivenOneAndWraps)
{
    ASSERT_NE(combo.hWnd(), 0);
    EXPECT_EQ(send(CB_FINDSTRING, -1, "KA"), 0);
    EXPECT_EQ(send(CB_FINDSTRING, 0, "ka"), 2);
    EXPECT_EQ(send(CB_FINDSTRING, 2, "ka"), 0) << "wraps to the top";
    EXPECT_EQ(send(CB_FINDSTRING, 3, "k"), 0);
    EXPECT_EQ(send(CB_FINDSTRING, -1, "gRÖ"), 1) << "umlauts arrive in the ANSI code page";
    EXPECT_EQ(send(CB_FINDSTRING, -1, "x"), CB_ERR);
    EXPECT_EQ(send(CB_FINDSTRING, 99, "Ku"), 3) << "an index past the end searches from the top";
}

TEST_F(ComboMessages, FindStringExactWantsTheWholeEntry)
{
    EXPECT_EQ(send(CB_FINDSTRINGEXACT, -1, "KARL"), 0);
    EXPECT_EQ(send(CB_FINDSTRINGEXACT, 0, "KARL"), 2);
    EXPECT_EQ(send(CB_FINDSTRINGEXACT, -1, "Kar"), CB_ERR);
    EXPECT_EQ(send(CB_FINDSTRINGEXACT, -1, "größe"), 1);

    ComboBox empty;
    const QByteArray text("a");
    EXPECT_EQ(SendMessageA(empty.hWnd(), CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.constData())),
              CB_ERR);
}

TEST_F(ComboMessages, SetCurSelPutsTheItemIntoTheFieldAndMinusOneClearsBoth)
{
    EXPECT_EQ(combo.ListIndex(), -1) << "adding items selects none";
    EXPECT_EQ(send(CB_SETCURSEL, 1, QString()), 1);
    EXPECT_EQ(combo.ListIndex(), 1);
    EXPECT_EQ(combo.Text(), "Größe");

    EXPECT_EQ(send(CB_SETCURSEL, -1, QString()), CB_ERR);
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(combo.Text(), "");

    combo.setText("frei");
    EXPECT_EQ(send(CB_SETCURSEL, 17, QString()), CB_ERR);
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(SendMessageA(combo.hWnd(), 0x0400, 0, 0), 0) << "other messages mean nothing here";
}

TEST_F(ComboMessages, ListPropertiesAndTyping)
{
    EXPECT_EQ(combo.ListCount(), 4);
    EXPECT_EQ(combo.List(1), "Größe");
    combo.setListIndex(0);
    combo.show();
    combo.setSelStart(4);
    QTest::keyClicks(&combo, "a");
    EXPECT_EQ(combo.Text(), "Karla");
    EXPECT_EQ(combo.ListIndex(), -1) << "typed text selects no item";
    combo.setSelStart(1);
    combo.setSelLength(2);
    EXPECT_EQ(combo.SelStart(), 1);
    EXPECT_EQ(combo.SelLength(), 2);
    combo.setSelLength(99);
    EXPECT_EQ(combo.SelLength(), 4);

    combo.Clear();
    EXPECT_EQ(combo.ListCount(), 0);
    EXPECT_EQ(combo.Text(), "");
}

TEST(ComboKeys, HandlersHearKeysFirstAndMaySwallowOrReplaceThem)
{
    ComboBox combo;
    combo.show();
    std::vector<std::pair<char, int>> heard;
    QObject::connect(&combo, &ComboBox::KeyDown, [&](int16_t &code, int16_t shift) {
        heard.push_back({'D', code});
        if (code == 46 || (code == 'Q' && shift == 1))
            code = 0;
    });
    QObject::connect(&combo, &ComboBox::KeyPress, [&](int16_t &ascii) {
        heard.push_back({'P', ascii});
        if (ascii == 'x')
            ascii = 0;
        if (ascii == 'u')
            ascii = 0xFC; // ü
    });

    QTest::keyClicks(&combo, "axu");
    EXPECT_EQ(combo.Text(), "aü");
    QTest::keyClick(&combo, Qt::Key_Home);
    QTest::keyClick(&combo, Qt::Key_Delete);
    EXPECT_EQ(combo.Text(), "aü") << "a swallowed Delete deletes nothing";
    QTest::keyClick(&combo, Qt::Key_Q, Qt::ShiftModifier);
    EXPECT_EQ(combo.Text(), "aü");
    QTest::keyClick(&combo, Qt::Key_End);
    QTest::keyClick(&combo, Qt::Key_Backspace);
    QKeyEvent umlaut(QEvent::KeyPress, Qt::Key_Adiaeresis, Qt::NoModifier, QStringLiteral("ä"));
    QApplication::sendEvent(&combo, &umlaut);
    EXPECT_EQ(combo.Text(), "aä");

    const std::vector<std::pair<char, int>> expected = {
        {'D', 'A'}, {'P', 'a'}, {'D', 'X'}, {'P', 'x'}, {'D', 'U'}, {'P', 'u'}, {'D', 36},
        {'D', 46},  {'D', 16},  {'D', 'Q'}, {'D', 35},  {'D', 8},   {'P', 8},   {'P', 0xE4}};
    EXPECT_EQ(heard, expected) << "Delete only as key-down; Backspace as both; ä as its ANSI code";
}
