// The options dialog on its real window: what it shows, what it stores in
// the settings variables and in the registry, and what it leaves alone.
#include "commands_support.h"
#include "haupt_fixture.h"

#include "frmNeu.h"
#include "frmOptions.h"
#include "modDeklarationen.h"

#include "registry/registry.h"
#include "registry/settings.h"
#include "runtime/program.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace modDeklarationen;

struct frmOptionsProbe {
    static Ui::frmOptions &ui() { return frmOptions::Instance().ui(); }
};

namespace {

Ui::frmOptions &controls() { return frmOptionsProbe::ui(); }

QString stored(const QString &key)
{
    return GetSetting(App::EXEName(), QStringLiteral("Options"), key, QStringLiteral("(none)"));
}

void setVariables(std::uint8_t sound, std::uint8_t help, std::uint8_t size)
{
    bytSound = sound;
    bytHelp = help;
    bytStdSize = size;
}

int checkedSize()
{
    const OptionButton *options[] = {controls().optSize_0, controls().optSize_1, controls().optSize_2};
    int checked = 0;
    for (int i = 0; i < 3; ++i)
        if (options[i]->Value())
            checked = checked ? -1 : i + 1;
    return checked;
}

void open()
{
    frmOptions::Instance().Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frmOptions::Instance().Window()));
}

class OptionsDialog : public haupttest::HauptTest {
protected:
    // The tests of one process share a registry: each starts with none of
    // the program's settings stored, whatever ran before it.
    void SetUp() override
    {
        HauptTest::SetUp();
        registry::Key::currentUser(QStringLiteral("Software\\VB and VBA Program Settings"))
            .subKey(App::EXEName())
            .remove();
        ASSERT_EQ(stored("Sound"), "(none)");
    }
    void TearDown() override
    {
        frmOptions::Instance().Unload();
        HauptTest::TearDown();
    }
};

} // namespace

TEST_F(OptionsDialog, ShowsTheVariablesAndConfirmingUnchangedWritesTheSameThreeValues)
{
    setVariables(0, 1, 3);
    open();
    EXPECT_EQ(controls().chkSound->Value(), vbUnchecked);
    EXPECT_EQ(controls().chkHelp->Value(), vbChecked);
    EXPECT_EQ(checkedSize(), 3);

    QTest::mouseClick(controls().cmdUebernehmen, Qt::LeftButton);
    EXPECT_FALSE(frmOptions::Instance().IsLoaded());
    EXPECT_EQ(stored("Sound"), "0");
    EXPECT_EQ(stored("StdSize"), "3");
    EXPECT_EQ(stored("Help"), "1");
    EXPECT_EQ(bytSound, 0);
    EXPECT_EQ(bytHelp, 1);
    EXPECT_EQ(bytStdSize, 3);
}

TEST_F(OptionsDialog, ChangesReachTheVariablesAndTheRegistry)
{
    setVariables(1, 1, 2);
    open();
    QTest::mouseClick(controls().chkSound, Qt::LeftButton);
    QTest::mouseClick(controls().chkHelp, Qt::LeftButton);
    QTest::mouseClick(controls().optSize_0, Qt::LeftButton);
    EXPECT_EQ(checkedSize(), 1) << "the three sizes are one group";
    QTest::mouseClick(controls().cmdUebernehmen, Qt::LeftButton);

    EXPECT_EQ(bytSound, 0);
    EXPECT_EQ(bytHelp, 0);
    EXPECT_EQ(bytStdSize, 1);
    EXPECT_EQ(stored("Sound"), "0");
    EXPECT_EQ(stored("StdSize"), "1");
    EXPECT_EQ(stored("Help"), "0");

    // The next opening shows what was stored.
    open();
    EXPECT_EQ(controls().chkSound->Value(), vbUnchecked);
    EXPECT_EQ(controls().chkHelp->Value(), vbUnchecked);
    EXPECT_EQ(checkedSize(), 1);
    frmOptions::Instance().Unload();
}

TEST_F(OptionsDialog, CancelAfterChangesStoresNothing)
{
    setVariables(1, 0, 2);
    open();
    QTest::mouseClick(controls().chkSound, Qt::LeftButton);
    QTest::mouseClick(controls().chkHelp, Qt::LeftButton);
    QTest::mouseClick(controls().optSize_2, Qt::LeftButton);
    QTest::mouseClick(controls().cmdAbbruch, Qt::LeftButton);

    EXPECT_FALSE(frmOptions::Instance().IsLoaded());
    EXPECT_EQ(bytSound, 1);
    EXPECT_EQ(bytHelp, 0);
    EXPECT_EQ(bytStdSize, 2);
    EXPECT_EQ(stored("Sound"), "(none)");
    EXPECT_EQ(stored("StdSize"), "(none)");
    EXPECT_EQ(stored("Help"), "(none)");

    open();
    EXPECT_EQ(controls().chkSound->Value(), vbChecked);
    EXPECT_EQ(controls().chkHelp->Value(), vbUnchecked);
    EXPECT_EQ(checkedSize(), 2);
    frmOptions::Instance().Unload();
}

TEST_F(OptionsDialog, HandEditedValuesShowWhatTheGameMakesOfThem)
{
    // Sound is off only at 0, balloons are on only at 1, and a size the
    // start-up would not take is shown as its default.
    setVariables(7, 2, 9);
    open();
    EXPECT_EQ(controls().chkSound->Value(), vbChecked);
    EXPECT_EQ(controls().chkHelp->Value(), vbUnchecked);
    EXPECT_EQ(checkedSize(), 2);
    QTest::mouseClick(controls().cmdUebernehmen, Qt::LeftButton);
    EXPECT_EQ(stored("Sound"), "1");
    EXPECT_EQ(stored("StdSize"), "2");
    EXPECT_EQ(stored("Help"), "0");

    setVariables(255, 255, 0);
    open();
    EXPECT_EQ(checkedSize(), 2);
    frmOptions::Instance().Unload();
}

TEST_F(OptionsDialog, IsCentredOverTheMainWindowVerticallyFirst)
{
    frmHaupt &haupt = frmHaupt::Instance();
    haupt.setLeft(100 * TwipsPerPixel);
    haupt.setTop(37 * TwipsPerPixel);
    // The rule works on the measures the window has when it loads.
    frmOptions &options = frmOptions::Instance();
    options.Load();
    // Twips as whole pixels: half a pixel either way.
    EXPECT_NEAR(options.Top(), haupt.Top() + HalfDifference(haupt.Height(), options.Height()), 7.5);
    EXPECT_NEAR(options.Left(), haupt.Left() + HalfDifference(haupt.Width(), options.Width()), 7.5);
    EXPECT_EQ(options.ScaleWidth(), 388);
    EXPECT_EQ(options.ScaleHeight(), 228);
    EXPECT_EQ(options.Caption(), "");
    options.Unload();
}

TEST_F(OptionsDialog, CheckBoxesShowOnePictureForEachState)
{
    setVariables(1, 1, 2);
    open();
    for (CheckBox *box : {controls().chkSound, controls().chkHelp}) {
        EXPECT_EQ(box->Picture().size(), QSize(32, 32)) << box->objectName().toStdString();
        EXPECT_EQ(box->DownPicture().size(), QSize(32, 32)) << box->objectName().toStdString();
        EXPECT_NE(box->Picture(), box->DownPicture()) << box->objectName().toStdString();
    }
    EXPECT_NE(controls().chkSound->Picture(), controls().chkHelp->Picture());
    for (OptionButton *size : {controls().optSize_0, controls().optSize_1, controls().optSize_2})
        EXPECT_EQ(size->Picture().size(), QSize(40, 28)) << size->objectName().toStdString();

    commandstest::ExpectTextsFit(frmOptions::Instance().Window());
    // For the eye: the dialog as the player sees it, then with the boxes off.
    haupttest::Grab(frmOptions::Instance().Window(), QStringLiteral("commands_options_on"));
    QTest::mouseClick(controls().chkSound, Qt::LeftButton);
    QTest::mouseClick(controls().chkHelp, Qt::LeftButton);
    QTest::mouseClick(controls().optSize_2, Qt::LeftButton);
    haupttest::Grab(frmOptions::Instance().Window(), QStringLiteral("commands_options_off"));
    frmOptions::Instance().Unload();
}

TEST_F(OptionsDialog, ARegistryThatCannotBeWrittenIsToldAndTheNewValuesHoldForThisRun)
{
    // A file where the registry's folder belongs: no user, root included,
    // can write the registry then.
    const QString registryFolder = testenv::configHome() + "/murvel";
    ASSERT_TRUE(QDir().rename(registryFolder, registryFolder + ".aside"));
    QFile blocker(registryFolder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    setVariables(1, 1, 2);
    open();
    QTest::mouseClick(controls().chkSound, Qt::LeftButton);
    QString told;
    QTimer::singleShot(0, [&told] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            told = box->text();
            box->accept();
        }
    });
    QTest::mouseClick(controls().cmdUebernehmen, Qt::LeftButton);
    EXPECT_EQ(told, "Die Einstellungen konnten nicht gespeichert werden.");
    EXPECT_FALSE(frmOptions::Instance().IsLoaded());
    EXPECT_EQ(bytSound, 0);

    QFile::remove(registryFolder);
    QDir().rename(registryFolder + ".aside", registryFolder);
}

TEST_F(OptionsDialog, ANewStandardSizeLeavesTheFieldInPlayAndTheNewGameDialogsChoice)
{
    haupttest::NeuesSpiel(grNormal);
    const int width = haupttest::ui().picpFeld->Width();
    setVariables(1, 1, grNormal);
    open();
    QTest::mouseClick(controls().optSize_2, Qt::LeftButton);
    QTest::mouseClick(controls().cmdUebernehmen, Qt::LeftButton);

    EXPECT_EQ(bytStdSize, grLang);
    EXPECT_EQ(stored("StdSize"), "3");
    EXPECT_EQ(haupttest::grid().Groesse(), grNormal);
    EXPECT_EQ(haupttest::ui().picpFeld->Width(), width);
    EXPECT_EQ(haupttest::haupt().Modus(), mdSetzen);

    frmNeu::Instance().Load();
    EXPECT_TRUE(frmNeu::Instance().Window()->findChild<OptionButton *>("optSize_1")->Value())
        << "the new game offers the size in play";
    frmNeu::Instance().Unload();
}
