// The new-game dialog on its real window over the real main window: what
// it opens with, the name field's length rule beside the completion, and
// what OK and cancel do to the game.
#include "commands_support.h"
#include "haupt_fixture.h"

#include "clsIntelliCombo.h"
#include "frmNeu.h"
#include "modDeklarationen.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTest>

using namespace haupttest;
using namespace commandstest;
using modDeklarationen::strComboFile;

struct frmNeuProbe {
    static Ui::frmNeu &ui() { return frmNeu::Instance().ui(); }
    static bool hasNameList() { return frmNeu::Instance().objIntelliCombo != nullptr; }
};

namespace {

Ui::frmNeu &neu() { return frmNeuProbe::ui(); }
ComboBox *name() { return neu().cboName; }

class NewGameDialog : public HauptTest {
protected:
    void open()
    {
        frmNeu::Instance().Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frmNeu::Instance().Window()));
    }
    void TearDown() override
    {
        frmNeu::Instance().Unload();
        HauptTest::TearDown();
    }
    void type(const QString &text) { QTest::keyClicks(name(), text); }
    void key(Qt::Key k) { QTest::keyClick(name(), k); }
    void expectField(const QString &text, int selStart, int selLength)
    {
        EXPECT_EQ(name()->Text(), text);
        EXPECT_EQ(name()->SelStart(), selStart);
        EXPECT_EQ(name()->SelLength(), selLength);
    }
};

} // namespace

TEST_F(NewGameDialog, OpensCentredWithThePlayersNameSelectedAndTheSizeInPlayChecked)
{
    NeuesSpiel(grLang, QStringLiteral("Käpt'n Blaubär"));
    modDeklarationen::bytStdSize = grSchnell; // the setting is not what is preselected
    frmNeu &dialog = frmNeu::Instance();
    dialog.Load();
    // Twips as whole pixels: half a pixel either way.
    EXPECT_NEAR(dialog.Top(), haupt().Top() + HalfDifference(haupt().Height(), dialog.Height()), 7.5);
    EXPECT_NEAR(dialog.Left(), haupt().Left() + HalfDifference(haupt().Width(), dialog.Width()), 7.5);
    EXPECT_EQ(dialog.Caption(), "Neues Spiel");
    EXPECT_EQ(dialog.ScaleWidth(), 332);
    EXPECT_EQ(dialog.ScaleHeight(), 245);

    open();
    expectField("Käpt'n Blaubär", 0, 14);
    EXPECT_FALSE(neu().optSize_0->Value());
    EXPECT_FALSE(neu().optSize_1->Value());
    EXPECT_TRUE(neu().optSize_2->Value());
    EXPECT_EQ(dialog.SelectedSize(), grLang);
    QApplication::processEvents();
    EXPECT_TRUE(name()->hasFocus()) << "the name is typed at once";

    ExpectTextsFit(dialog.Window());
    Grab(dialog.Window(), QStringLiteral("commands_neu"));
}

TEST_F(NewGameDialog, TheNameListIsReadAnewAtEveryOpeningAndCompletesTheName)
{
    WriteNameList(strComboFile, {"Karl", "Karla"});
    open();
    EXPECT_EQ(name()->ListCount(), 2);
    type("k");
    expectField("Karl", 1, 3);
    QTest::mouseClick(neu().cmdAbbruch, Qt::LeftButton);
    EXPECT_FALSE(frmNeu::Instance().IsLoaded());
    EXPECT_FALSE(frmNeuProbe::hasNameList()) << "the list object goes with the window";

    WriteNameList(strComboFile, {"Zora", "Karl", "Kurt"});
    open();
    ASSERT_EQ(name()->ListCount(), 3);
    EXPECT_EQ(name()->List(0), "Zora");
    type("ku");
    expectField("Kurt", 2, 2);
    Grab(frmNeu::Instance().Window(), QStringLiteral("commands_neu_completed"));
}

TEST_F(NewGameDialog, AMissingNameListGivesAnEmptyListAndNoMessage)
{
    QFile::remove(strComboFile);
    open();
    EXPECT_EQ(name()->ListCount(), 0);
    for (QWidget *w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible() && w->inherits("QDialog")) << "a message: " << w->windowTitle().toStdString();
    type("Anna");
    expectField("Anna", 4, 0);
}

TEST_F(NewGameDialog, FourteenTypedCharactersAndNoMoreNotEvenBackspaceButDeleteStillDeletes)
{
    QFile::remove(strComboFile);
    open();
    type("ABCDEFGHIJKLMNOPQ");
    expectField("ABCDEFGHIJKLMN", 14, 0);
    key(Qt::Key_Backspace);
    expectField("ABCDEFGHIJKLMN", 14, 0);
    key(Qt::Key_Space);
    EXPECT_EQ(name()->Text(), "ABCDEFGHIJKLMN");

    key(Qt::Key_Home);
    key(Qt::Key_Delete);
    expectField("BCDEFGHIJKLMN", 0, 0);
    type("x");
    expectField("xBCDEFGHIJKLMN", 1, 0);
    type("y");
    EXPECT_EQ(name()->Text(), "xBCDEFGHIJKLMN");

    // Tab is no character of the name: it still leaves the field.
    key(Qt::Key_Tab);
    EXPECT_FALSE(name()->hasFocus());
}

TEST_F(NewGameDialog, ACharacterTheLengthRuleRefusesIsNotTakenByTheCompletionEither)
{
    WriteNameList(strComboFile, {"Karl", "Kurt"});
    NeuesSpiel(grNormal, QStringLiteral("Friedrich Wilh")); // 14 characters, preset selected
    open();
    expectField("Friedrich Wilh", 0, 14);
    type("K");
    EXPECT_EQ(name()->Text(), "Friedrich Wilh");
    EXPECT_EQ(name()->ListIndex(), -1);

    // The completion is back for the next key that passes.
    key(Qt::Key_Delete);
    EXPECT_EQ(name()->Text(), "");
    type("k");
    expectField("Karl", 1, 3);
}

TEST_F(NewGameDialog, NamesFromTheListMayBeLongerThanFourteen)
{
    WriteNameList(strComboFile, {"Maximilian von Sandhausen"});
    open();
    type("max");
    EXPECT_EQ(name()->Text(), "Maximilian von Sandhausen");
    QTest::mouseClick(neu().cmdOK, Qt::LeftButton);
    EXPECT_EQ(grid().SpielerName(), "Maximilian von Sandhausen");
    EXPECT_EQ(haupt().lblName(0).Caption(), "Maximilian von Sandhausen");
}

TEST_F(NewGameDialog, OkStartsThePlacementWithTheChosenSizeAndAnEmptyNameIsUnbekannt)
{
    NeuesSpiel(grNormal, QStringLiteral("Tester"));
    open();
    key(Qt::Key_Delete);
    EXPECT_EQ(name()->Text(), "");
    QTest::mouseClick(neu().optSize_0, Qt::LeftButton);
    QTest::mouseClick(neu().cmdOK, Qt::LeftButton);

    EXPECT_FALSE(frmNeu::Instance().IsLoaded());
    EXPECT_EQ(grid().Groesse(), grSchnell);
    EXPECT_EQ(grid().SpielerName(), "Unbekannt");
    EXPECT_EQ(haupt().lblName(0).Caption(), "Unbekannt");
    EXPECT_EQ(haupt().Modus(), mdSetzen);
    EXPECT_EQ(ui().picpFeld->Width(), 253) << "a new field of size 1";
}

TEST_F(NewGameDialog, CancelLeavesTheRunningGameAsItWas)
{
    NeuesSpiel(grNormal, QStringLiteral("Tester"));
    const std::vector<Boot> flotte = ComputerBoote();
    open();
    type("Jemand");
    QTest::mouseClick(neu().optSize_2, Qt::LeftButton);
    QTest::mouseClick(neu().cmdAbbruch, Qt::LeftButton);

    EXPECT_FALSE(frmNeu::Instance().IsLoaded());
    EXPECT_EQ(grid().Groesse(), grNormal);
    EXPECT_EQ(grid().SpielerName(), "Tester");
    EXPECT_EQ(haupt().Modus(), mdSetzen);
    EXPECT_EQ(ComputerBoote(), flotte) << "the computer keeps its fleet";

    // Closed by the window system: the same.
    open();
    frmNeu::Instance().Window()->close();
    EXPECT_FALSE(frmNeu::Instance().IsLoaded());
    EXPECT_EQ(grid().SpielerName(), "Tester");
}
