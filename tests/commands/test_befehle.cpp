// The main window's toolbar, F1 and help balloon, driven as a player
// drives them: the pointer moved over the real controls, clicks on the
// toolbar's buttons, the dialogs they open answered while they wait.
#include "commands_support.h"
#include "haupt_fixture.h"

#include "frmMeldung.h"
#include "frmNeu.h"
#include "frmOptions.h"
#include "frmScore.h"
#include "frmSieg.h"
#include "modDeklarationen.h"

#include "com/bstr.h"
#include "comctl/imagelist.h"
#include "comctl/toolbar.h"
#include "htmlhelp/helpwindow.h"
#include "runtime/commandbutton.h"
#include "runtime/picturebox.h"
#include "runtime/timer.h"
#include "support/test_env.h"
#include "user32/user32.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QCursor>
#include <QPainter>
#include <QPixmap>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace haupttest;
using namespace commandstest;
using modDeklarationen::bytHelp;
using modDeklarationen::strHelpFile;

namespace {

const QString StartText = QStringLiteral("Drücke  'Neues Spiel'\r\nund der Spaß kann losgehen!");
const QString PlacingText = QStringLiteral("Setze Deine Boote ins linke Feld!\r\n(Einfach ins Feld klicken...)");

QWidget *balloon()
{
    LONG hwnd = 0;
    haupt().TTip->get_hwnd(&hwnd);
    return WidgetOf(hwnd);
}

bool balloonShown()
{
    QWidget *w = balloon();
    return w && w->isVisible();
}

// The text tool `id` of the main window shows (asked through NeedText for
// a tool without a fixed text).
QString toolText(LONG id)
{
    BSTR text = nullptr;
    haupt().TTip->get_Text(id, haupt().hWnd(), &text);
    const QString result = com::fromBstr(text);
    SysFreeString(text);
    return result;
}

// The pointer moved to a point of a control, in screen pixels; the window
// under it hears of the move.
QPoint movePointer(QPoint screen)
{
    QCursor::setPos(screen);
    // A window system reports the move when it has moved the pointer: wait
    // until the pointer is there, then let the report be handled.
    EXPECT_TRUE(QTest::qWaitFor([screen] { return QCursor::pos() == screen; }, 20000));
    QTest::qWait(20);
    return screen;
}

QPoint pointTo(QWidget *control, QPoint local)
{
    return movePointer(control->mapToGlobal(local));
}

void expectBalloonPointsAt(QPoint screen)
{
    QWidget *w = balloon();
    ASSERT_TRUE(w && w->isVisible());
    EXPECT_EQ(w->y(), screen.y()) << "the stem's tip at the pointer";
    EXPECT_LE(w->x(), screen.x());
    EXPECT_GT(w->x() + w->width(), screen.x());
}

// A point of the window's own area, where no control lies. The bar and
// the face may meet without a gap; then the face moves down a little to
// leave a strip of the window between them.
QPoint ownAreaPoint()
{
    QWidget *window = haupt().Window();
    for (int y = 0; y < window->height(); ++y)
        for (int x = 0; x < window->width(); x += 7)
            if (!window->childAt(x, y))
                return QPoint(x, y);
    PictureBox *face = ui().picHinten;
    const int barBottom = ui().Coolbar->y() + ui().Coolbar->height();
    face->move(face->x(), barBottom + 4);
    return QPoint(window->width() / 2, barBottom + 2);
}

// The pointer moved to the window's own area, in screen pixels.
QPoint pointToOwnArea(QPoint local)
{
    return movePointer(haupt().Window()->mapToGlobal(local));
}

void pressOnOwnArea(QPoint local)
{
    QTest::mouseClick(haupt().Window(), Qt::LeftButton, Qt::NoModifier, local);
}

// What the player sees: the main window with the balloon over it and a
// small cross where the pointer is.
void grabWithBalloon(const QString &name)
{
    QWidget *window = haupt().Window();
    QPixmap picture = window->grab();
    QPainter painter(&picture);
    if (QWidget *tip = balloon(); tip && tip->isVisible())
        painter.drawPixmap(window->mapFromGlobal(tip->pos()), tip->grab());
    const QPoint pointer = window->mapFromGlobal(QCursor::pos());
    painter.setPen(Qt::red);
    painter.drawLine(pointer - QPoint(6, 0), pointer + QPoint(6, 0));
    painter.drawLine(pointer - QPoint(0, 6), pointer + QPoint(0, 6));
    painter.end();
    picture.save(testenv::buildDir() + QStringLiteral("/tests/%1.png").arg(name));
}

ToolbarWindow *toolbar() { return ui().tbToolbar->innerWindow(); }

void clickToolbarButton(const QString &key)
{
    const ToolbarButtons &buttons = ui().tbToolbar->Buttons();
    for (int i = 1; i <= buttons.Count(); ++i)
        if (buttons(i).Key() == key) {
            QTest::mouseClick(toolbar(), Qt::LeftButton, Qt::NoModifier, toolbar()->buttonRect(i).center());
            return;
        }
    ADD_FAILURE() << "no toolbar button " << key.toStdString();
}

// Clicks the toolbar button `key` and, while the window `dialog` that it
// shows modally waits, presses the dialog's button `button` (or unloads
// it when none is named); whether the dialog was shown.
bool answerWhileShown(Form &dialog, const QString &key, const char *button = nullptr)
{
    bool shown = false;
    QTimer whileWaiting;
    whileWaiting.setSingleShot(true);
    QObject::connect(&whileWaiting, &QTimer::timeout, [&] {
        shown = dialog.Visible();
        if (!shown)
            return;
        if (button)
            QTest::mouseClick(dialog.Window()->findChild<CommandButton *>(button), Qt::LeftButton);
        else
            dialog.Unload();
    });
    whileWaiting.start(0);
    clickToolbarButton(key);
    return shown;
}

// The balloon as the start-up or a new game shows it.
void showBalloon()
{
    haupt().ToolTip = true;
    haupt().TTip->put_Enabled(VARIANT_TRUE);
    VARIANT_BOOL done = VARIANT_FALSE;
    haupt().TTip->SetTrackActivate(VARIANT_TRUE, haupt().hWnd(), 100, &done);
    ASSERT_TRUE(balloonShown());
}

QList<HelpWindow *> helpWindows()
{
    QList<HelpWindow *> found;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *help = qobject_cast<HelpWindow *>(w); help && help->isVisible())
            found << help;
    return found;
}

class Commands : public HauptTest {
protected:
    void TearDown() override
    {
        for (HelpWindow *help : helpWindows())
            help->close();
        frmNeu::Instance().Unload();
        frmOptions::Instance().Unload();
        frmScore::Instance().Unload();
        HauptTest::TearDown();
    }
    void SetUp() override
    {
        HauptTest::SetUp();
        ownArea = ownAreaPoint();
    }
    QPoint ownArea;
};

} // namespace

TEST_F(Commands, TheStartUpBalloonFollowsThePointerHidesOverTheToolbarAndComesBack)
{
    ASSERT_TRUE(haupt().ToolTip);
    EXPECT_EQ(toolText(100), StartText);

    expectBalloonPointsAt(pointTo(ui().picHinten, QPoint(200, 300)));
    expectBalloonPointsAt(pointTo(ui().picpFeld, QPoint(40, 50)));
    expectBalloonPointsAt(pointTo(&haupt().lblName(0), QPoint(10, 5)));
    expectBalloonPointsAt(pointToOwnArea(ownArea));
    grabWithBalloon(QStringLiteral("commands_balloon"));

    pointTo(toolbar(), toolbar()->buttonRect(2).center());
    EXPECT_FALSE(balloonShown()) << "hidden over the toolbar";
    EXPECT_TRUE(haupt().ToolTip);
    pointTo(ui().picHinten, QPoint(200, 300));
    EXPECT_FALSE(balloonShown()) << "the background only moves a shown balloon";
    expectBalloonPointsAt(pointToOwnArea(ownArea + QPoint(20, 0)));
}

TEST_F(Commands, AMouseDownOnTheWindowALabelAnImageOrAFieldEndsTheBalloon)
{
    struct Target {
        const char *what;
        std::function<QWidget *()> control;
    };
    const std::vector<Target> targets = {
        {"a name label", [] { return &haupt().lblName(1); }},
        {"a caption", [] { return static_cast<QWidget *>(&frmHauptProbe::lblBeschriftung(haupt(), 3)); }},
        {"a player's count", [] { return static_cast<QWidget *>(&frmHauptProbe::lblpBoote(haupt(), 0)); }},
        {"a computer's count", [] { return static_cast<QWidget *>(&frmHauptProbe::lblcBoote(haupt(), 5)); }},
        {"a boat picture", [] { return static_cast<QWidget *>(&frmHauptProbe::imgBoot(haupt(), 1)); }},
        {"the right field", [] { return ui().piccFeld; }},
        {"the left field", [] { return ui().picpFeld; }},
    };
    // The left field takes clicks from the placement on; the right field
    // is switched on here so that its own handler is heard.
    NeuesSpiel(grNormal);
    ui().piccFeld->setEnabled(true);
    for (const Target &t : targets) {
        SCOPED_TRACE(t.what);
        showBalloon();
        QWidget *control = t.control();
        QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
        EXPECT_FALSE(haupt().ToolTip);
        EXPECT_FALSE(balloonShown());
        pointToOwnArea(ownArea);
        EXPECT_FALSE(balloonShown()) << "it stays ended";
    }
    showBalloon();
    pressOnOwnArea(ownArea);
    EXPECT_FALSE(haupt().ToolTip) << "a press on the window's own area";
    EXPECT_FALSE(balloonShown());

    showBalloon();
    QTest::mouseClick(ui().picHinten, Qt::LeftButton, Qt::NoModifier, QPoint(350, 300));
    EXPECT_TRUE(haupt().ToolTip) << "a click on the background leaves the balloon";
    EXPECT_TRUE(balloonShown());
}

TEST_F(Commands, TheTimersFirstTickEndsTheBalloonAlsoWhileThePointerMoves)
{
    Timer *timer = ui().timTTip;
    EXPECT_EQ(timer->Interval(), 3000);
    EXPECT_TRUE(timer->Enabled());
    pointTo(ui().picHinten, QPoint(100, 100));
    ASSERT_TRUE(balloonShown());

    emit timer->Tick();
    EXPECT_FALSE(haupt().ToolTip);
    EXPECT_FALSE(balloonShown());
    EXPECT_TRUE(timer->Enabled()) << "the timer runs on";
    pointToOwnArea(ownArea);
    pointTo(ui().picHinten, QPoint(120, 110));
    EXPECT_FALSE(balloonShown());
}

TEST_F(Commands, ACancelledNewGameStillShowsThePlacingBalloonAndChangesNoGame)
{
    const Byte groesse = grid().Groesse();
    EXPECT_TRUE(answerWhileShown(frmNeu::Instance(), "keyNew", "cmdAbbruch"));

    EXPECT_EQ(haupt().Modus(), mdKeinSpiel);
    EXPECT_EQ(grid().Groesse(), groesse);
    EXPECT_TRUE(haupt().ToolTip);
    EXPECT_TRUE(balloonShown());
    EXPECT_EQ(toolText(100), PlacingText);
    EXPECT_TRUE(ui().timTTip->Enabled());
    EXPECT_TRUE(frmSieg::Instance().IsLoaded()) << "the victory dialog waits, loaded";
    EXPECT_FALSE(frmSieg::Instance().Visible());
    expectBalloonPointsAt(pointTo(ui().picpFeld, QPoint(60, 60)));
}

TEST_F(Commands, AConfirmedNewGameStartsThePlacementUnderThePlacingBalloon)
{
    EXPECT_TRUE(answerWhileShown(frmNeu::Instance(), "keyNew", "cmdOK"));
    EXPECT_EQ(haupt().Modus(), mdSetzen);
    EXPECT_TRUE(balloonShown());
    EXPECT_EQ(toolText(100), PlacingText);
    expectBalloonPointsAt(pointTo(ui().picpFeld, QPoint(120, 90)));
    grabWithBalloon(QStringLiteral("commands_placing_balloon"));
}

TEST_F(Commands, WithHelpOffNoRoutineShowsABalloon)
{
    haupt().Unload();
    bytHelp = 0;
    haupt().Load();
    haupt().Show();
    EXPECT_FALSE(haupt().ToolTip);
    pointToOwnArea(ownArea);
    EXPECT_FALSE(balloonShown());

    EXPECT_TRUE(answerWhileShown(frmNeu::Instance(), "keyNew", "cmdOK"));
    EXPECT_EQ(haupt().Modus(), mdSetzen);
    EXPECT_FALSE(haupt().ToolTip);
    pointTo(ui().picpFeld, QPoint(30, 30));
    EXPECT_FALSE(balloonShown());
}

TEST_F(Commands, TheToolbarsKeysAreComparedExactlyAndAClickEndsTheBalloon)
{
    ui().tbToolbar->Buttons().Add(QStringLiteral("keynew"), QStringLiteral("klein"));
    ui().tbToolbar->Buttons().Add(QStringLiteral("keyNew "), QStringLiteral("Blank"));
    showBalloon();
    EXPECT_FALSE(answerWhileShown(frmNeu::Instance(), "keynew"));
    EXPECT_FALSE(haupt().ToolTip) << "any click on a button ends the balloon";
    EXPECT_FALSE(balloonShown());
    EXPECT_FALSE(answerWhileShown(frmNeu::Instance(), "keyNew "));
}

TEST_F(Commands, OptionsAndTopTenAreShownModally)
{
    EXPECT_TRUE(answerWhileShown(frmOptions::Instance(), "keyOptionen", "cmdAbbruch"));
    EXPECT_FALSE(frmOptions::Instance().IsLoaded());
    EXPECT_TRUE(answerWhileShown(frmScore::Instance(), "keyTop10"));
}

TEST_F(Commands, TheQuitQuestionBeginsWithAnEmptyLineAndOnlyJaEndsTheProgram)
{
    QString asked;
    BeantworteNaechsteFrage(false, &asked);
    clickToolbarButton("keyEnde");
    EXPECT_EQ(asked, "\r\nWillst Du das Spiel wirklich beenden?");
    EXPECT_TRUE(haupt().IsLoaded());

    // An earlier "Ja" is not the answer of a box closed without one.
    frmMeldung::Instance().setErgebnis(true);
    EXPECT_TRUE(answerWhileShown(frmMeldung::Instance(), "keyEnde"));
    EXPECT_TRUE(haupt().IsLoaded());

    BeantworteNaechsteFrage(true);
    clickToolbarButton("keyEnde");
    EXPECT_FALSE(haupt().IsLoaded());
}

TEST_F(Commands, AltAndTheUnderlinedLetterRunTheButtonsCommandAsAClickDoes)
{
    QWidget *window = haupt().Window();
    const auto altClick = [window](Qt::Key letter) {
        // No window manager gives it back after a dialog here.
        ASSERT_TRUE(QTest::qWaitFor([window] {
            window->activateWindow();
            return QApplication::activeWindow() == window;
        }, 5000));
        QTest::keyClick(window, letter, Qt::AltModifier);
    };
    // Each runs its dialog; the balloon ends first, as a click ends it.
    for (auto [letter, dialog] : {std::pair<Qt::Key, Form *>{Qt::Key_N, &frmNeu::Instance()},
                                  std::pair<Qt::Key, Form *>{Qt::Key_O, &frmOptions::Instance()},
                                  std::pair<Qt::Key, Form *>{Qt::Key_T, &frmScore::Instance()}}) {
        showBalloon();
        bool shown = false, balloonEnded = false;
        Sobald([dialog] { return dialog->Visible(); }, [&, dialog] {
            shown = true;
            balloonEnded = !haupt().ToolTip && !balloonShown();
            dialog->Unload();
        });
        altClick(letter);
        EXPECT_TRUE(QTest::qWaitFor([&] { return shown; }, 5000)) << "Alt+" << QKeySequence(letter).toString().toStdString();
        EXPECT_TRUE(balloonEnded);
    }

    QString asked;
    BeantworteNaechsteFrage(false, &asked);
    altClick(Qt::Key_A);
    EXPECT_EQ(asked, "\r\nWillst Du das Spiel wirklich beenden?") << "Alt+A: the quit question";

    strHelpFile = testenv::buildDir() + QStringLiteral("/Hilfe.chm");
    altClick(Qt::Key_H);
    ASSERT_EQ(helpWindows().size(), 1) << "Alt+H: the help";
    EXPECT_EQ(helpWindows().first()->currentTab(), HelpWindow::ContentsTab);
}

TEST_F(Commands, F1OpensTheHelpIndexAndTheHelpButtonItsContents)
{
    strHelpFile = testenv::buildDir() + QStringLiteral("/Hilfe.chm");
    QTest::keyClick(haupt().Window(), Qt::Key_F1);
    ASSERT_EQ(helpWindows().size(), 1);
    EXPECT_EQ(helpWindows().first()->currentTab(), HelpWindow::IndexTab);

    clickToolbarButton("keyHilfe");
    ASSERT_EQ(helpWindows().size(), 1) << "one window per file";
    EXPECT_EQ(helpWindows().first()->currentTab(), HelpWindow::ContentsTab);
}

// The path reaches the viewer as the file system names it, whatever the
// folder is called.
TEST_F(Commands, HelpOpensFromAFolderWhoseNameIsNotWindows1252)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString helpFolder = dir.filePath(QStringLiteral("Łódź 日本"));
    ASSERT_TRUE(QDir().mkpath(helpFolder));
    strHelpFile = helpFolder + QStringLiteral("/Hilfe.chm");
    ASSERT_TRUE(QFile::copy(testenv::buildDir() + QStringLiteral("/Hilfe.chm"), strHelpFile));
    clickToolbarButton("keyHilfe");
    ASSERT_EQ(helpWindows().size(), 1);
    EXPECT_EQ(helpWindows().first()->filePath(), strHelpFile);
    helpWindows().first()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::keyClick(haupt().Window(), Qt::Key_F1);
    ASSERT_EQ(helpWindows().size(), 1);
    EXPECT_EQ(helpWindows().first()->currentTab(), HelpWindow::IndexTab);
}

TEST_F(Commands, WithoutTheHelpFileTheGameGoesOn)
{
    strHelpFile = testenv::buildDir() + QStringLiteral("/Nirgends.chm");
    for (auto press : {std::function<void()>([] { QTest::keyClick(haupt().Window(), Qt::Key_F1); }),
                       std::function<void()>([] { clickToolbarButton("keyHilfe"); })}) {
        press();
        QApplication::processEvents();
        EXPECT_TRUE(helpWindows().isEmpty());
        // The viewer's own notice does not wait; it is closed here.
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *box = qobject_cast<QMessageBox *>(w))
                box->close();
        EXPECT_TRUE(haupt().IsLoaded());
    }
}

TEST_F(Commands, NeedTextAnswersToolHundredAndAnyOtherTool)
{
    EXPECT_EQ(toolText(100), StartText);
    LONG hwnd = haupt().hWnd(), left = 0, top = 0, right = 10, bottom = 10;
    VARIANT_BOOL added = VARIANT_FALSE;
    haupt().TTip->AddTTRectCB(&hwnd, &left, &top, &right, &bottom, static_cast<Pellwick::TT_Flags>(0), 7, &added);
    ASSERT_TRUE(added);
    EXPECT_EQ(toolText(7), "Upps was ist das denn ?");
}
