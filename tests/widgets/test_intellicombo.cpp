// Self-completion typed with real key events into a real combo box.
#include "clsIntelliCombo.h"
#include "runtime/combobox.h"
#include "user32/user32.h"

#include <gtest/gtest.h>

#include <QTest>

#include <vector>

namespace {

// Every message that reaches the combo box's window, in order.
std::vector<UINT> comboMessages;
WNDPROC comboProc = nullptr;

LRESULT recordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    comboMessages.push_back(msg);
    return CallWindowProcA(comboProc, hwnd, msg, wParam, lParam);
}

class IntelliComboTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        combo.AddItem("Karl");
        combo.AddItem("Karla");
        combo.AddItem("Kurt");
        intelli.setCombo(&combo);
        combo.show();
        combo.setFocus();
        comboMessages.clear();
        comboProc = reinterpret_cast<WNDPROC>(
            SetWindowLongA(combo.hWnd(), GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&recordingProc)));
        // What the keys left over once every handler had its say.
        QObject::connect(&combo, &ComboBox::KeyPress, &context, [this](int16_t &k) { lastKeyPress = k; });
        QObject::connect(&combo, &ComboBox::KeyDown, &context, [this](int16_t &k, int16_t) { lastKeyDown = k; });
    }

    void expectField(const QString &text, int selStart, int selLength)
    {
        EXPECT_EQ(combo.Text(), text);
        EXPECT_EQ(combo.SelStart(), selStart);
        EXPECT_EQ(combo.SelLength(), selLength);
    }

    void selectAll()
    {
        combo.setSelStart(0);
        combo.setSelLength(static_cast<int32_t>(combo.Text().size()));
    }

    QObject context;
    ComboBox combo;
    clsIntelliCombo intelli;
    int lastKeyPress = -999;
    int lastKeyDown = -999;
};

} // namespace

TEST_F(IntelliComboTest, TypingCompletesToTheFirstEntryAndSelectsTheUntypedTail)
{
    QTest::keyClicks(&combo, "k");
    expectField("Karl", 1, 3);
    EXPECT_EQ(combo.ListIndex(), 0);
    EXPECT_EQ(lastKeyPress, 0) << "a completed key is swallowed";

    QTest::keyClicks(&combo, "a");
    expectField("Karl", 2, 2);
    QTest::keyClicks(&combo, "r");
    expectField("Karl", 3, 1);
    QTest::keyClicks(&combo, "l");
    expectField("Karl", 4, 0);

    QTest::keyClicks(&combo, "a");
    expectField("Karla", 5, 0);
    EXPECT_EQ(combo.ListIndex(), 1);
}

TEST_F(IntelliComboTest, ACharacterThatMatchesNothingIsTypedAsIs)
{
    QTest::keyClicks(&combo, "k");
    QTest::keyClicks(&combo, "x");
    expectField("Kx", 2, 0);
    EXPECT_EQ(lastKeyPress, 'x');
    EXPECT_EQ(combo.ListIndex(), -1);

    QTest::keyClicks(&combo, "u");
    expectField("Kxu", 3, 0);
}

TEST_F(IntelliComboTest, UpperCaseTypingTakesTheEntrysOwnLetterCase)
{
    QTest::keyClicks(&combo, "KU");
    expectField("Kurt", 2, 2);
    EXPECT_EQ(combo.ListIndex(), 2);
}

TEST_F(IntelliComboTest, BackspaceTakesOverOnlyAnExactEntry)
{
    QTest::keyClicks(&combo, "k");
    QTest::keyClick(&combo, Qt::Key_Backspace);
    // K equals no entry: the key passes and removes the selection.
    expectField("K", 1, 0);
    EXPECT_EQ(lastKeyPress, 8);

    combo.setListIndex(1); // Karla
    combo.setSelStart(5);
    QTest::keyClick(&combo, Qt::Key_Backspace);
    expectField("Karl", 4, 0);
    EXPECT_EQ(combo.ListIndex(), 0);
    EXPECT_EQ(lastKeyPress, 0);
}

TEST_F(IntelliComboTest, DeleteTakesOverOnlyAnExactEntry)
{
    combo.setListIndex(1); // Karla
    combo.setSelStart(4);
    QTest::keyClick(&combo, Qt::Key_Delete);
    expectField("Karl", 4, 0);
    EXPECT_EQ(combo.ListIndex(), 0);
    EXPECT_EQ(lastKeyDown, 0);

    combo.setSelStart(0);
    QTest::keyClick(&combo, Qt::Key_Delete);
    // arl equals no entry: the field deletes the K itself.
    expectField("arl", 0, 0);
    EXPECT_EQ(lastKeyDown, 46);
}

TEST_F(IntelliComboTest, EmptyingTheFieldClearsTheSelectionAndSwallowsOnlyFromTheSecondItemOn)
{
    combo.setListIndex(2); // Kurt
    selectAll();
    QTest::keyClick(&combo, Qt::Key_Backspace);
    expectField("", 0, 0);
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(lastKeyPress, 0);

    combo.setListIndex(0); // Karl: the key passes, the field is empty all the same
    selectAll();
    QTest::keyClick(&combo, Qt::Key_Backspace);
    expectField("", 0, 0);
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(lastKeyPress, 8);

    combo.setListIndex(1); // Karla, emptied with Delete
    selectAll();
    QTest::keyClick(&combo, Qt::Key_Delete);
    expectField("", 0, 0);
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(lastKeyDown, 0);
}

TEST_F(IntelliComboTest, AFullStopIsTypedLikeAnyCharacterAndNeverActsAsDelete)
{
    combo.AddItem("Dr. Watson");
    QTest::keyClicks(&combo, "dr.");
    expectField("Dr. Watson", 3, 7);

    combo.setText("Karl");
    combo.setSelStart(0);
    QTest::keyClicks(&combo, ".");
    expectField(".Karl", 1, 0);
}

TEST_F(IntelliComboTest, UmlautsCrossTheMessageBoundaryInTheAnsiCodePage)
{
    combo.AddItem("Jörg");
    QTest::keyClicks(&combo, "jÖ");
    expectField("Jörg", 2, 2);
}

TEST_F(IntelliComboTest, TabAndEnterAreNeverExamined)
{
    QTest::keyClicks(&combo, "k");
    comboMessages.clear();
    QTest::keyClick(&combo, Qt::Key_Return);
    QTest::keyClick(&combo, Qt::Key_Tab);
    EXPECT_TRUE(comboMessages.empty());
    EXPECT_EQ(lastKeyPress, 9);
    EXPECT_EQ(combo.Text(), "Karl");
}

TEST_F(IntelliComboTest, AKeyAnEarlierHandlerRefusedIsNoCharacterToComplete)
{
    // A handler bound before the completion refuses every key after two.
    intelli.setCombo(nullptr);
    int keys = 0;
    QObject::connect(&combo, &ComboBox::KeyPress, &context, [&keys](int16_t &k) {
        if (++keys > 2)
            k = 0;
    });
    intelli.setCombo(&combo);
    QTest::keyClicks(&combo, "ka");
    expectField("Karl", 2, 2);

    comboMessages.clear();
    QTest::keyClicks(&combo, "r");
    EXPECT_TRUE(comboMessages.empty()) << "no search for a refused key";
    expectField("Karl", 2, 2);
}

TEST_F(IntelliComboTest, SwitchedOffTheFieldBehavesAsAPlainComboBox)
{
    intelli.setEnabled(false);
    EXPECT_FALSE(intelli.Enabled());
    QTest::keyClicks(&combo, "ka");
    QTest::keyClick(&combo, Qt::Key_Backspace);
    QTest::keyClick(&combo, Qt::Key_Home);
    QTest::keyClick(&combo, Qt::Key_Delete);
    EXPECT_EQ(combo.Text(), "");
    EXPECT_TRUE(comboMessages.empty());

    intelli.setEnabled(true);
    QTest::keyClicks(&combo, "k");
    EXPECT_EQ(combo.Text(), "Karl");
}

TEST_F(IntelliComboTest, RebindingMovesTheKeyEventsToTheNewComboBox)
{
    ComboBox other;
    other.AddItem("Otto");
    intelli.setCombo(&other);
    EXPECT_EQ(intelli.Combo(), &other);
    QTest::keyClicks(&combo, "k");
    EXPECT_EQ(combo.Text(), "k");
    QTest::keyClicks(&other, "o");
    EXPECT_EQ(other.Text(), "Otto");
}
