// The runtime's windows: load, unload and reload, modal shows, measures,
// keys and mouse; and what its controls look like.
#include "runtime/buttonface.h"
#include "runtime/checkbox.h"
#include "runtime/commandbutton.h"
#include "runtime/controlarray.h"
#include "runtime/form.h"
#include "runtime/image.h"
#include "runtime/label.h"
#include "runtime/optionbutton.h"
#include "runtime/picturebox.h"
#include "runtime/timer.h"
#include "support/test_env.h"
#include "user32/user32.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMargins>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cmath>

namespace {

// A layout as uic would make it: a picture box holding a label array and a
// button, and a timer.
struct UiProbe {
    PictureBox *picHinten;
    Label *lblText_0;
    CommandButton *cmdOK;
    Timer *timUhr;
    void setupUi(QWidget *w)
    {
        w->resize(200, 100);
        picHinten = new PictureBox(w);
        picHinten->setGeometry(2, 2, 190, 90);
        lblText_0 = new Label(picHinten);
        lblText_0->setObjectName("lblText_0");
        lblText_0->setGeometry(10, 10, 100, 20);
        cmdOK = new CommandButton(picHinten);
        cmdOK->setGeometry(10, 50, 73, 25);
        cmdOK->setText("&Ja");
        timUhr = new Timer(w);
        timUhr->setInterval(50);
        timUhr->setEnabled(false);
    }
};

class frmProbe : public UiForm<frmProbe, UiProbe> {
public:
    int loads = 0, unloads = 0, ticks = 0;
    int reloadsByTick = 0;
    bool cancelUnload = false;
    QString field = "kept";
    ControlArray<Label> lblText;
    UiProbe &controls() { return ui(); }

protected:
    void SetupWindow(QWidget *window) override
    {
        UiForm::SetupWindow(window);
        lblText.Collect(window, "lblText");
        QObject::connect(ui().cmdOK, &CommandButton::Click, [this] { Unload(); });
        QObject::connect(ui().timUhr, &Timer::Tick, [this] {
            ++ticks;
            if (!IsLoaded())
                ++reloadsByTick;
        });
    }
    void Form_Load() override { ++loads; }
    void Form_Unload(std::int16_t &Cancel) override
    {
        ++unloads;
        Cancel = cancelUnload ? 1 : 0;
    }
};

} // namespace

// Each test starts with the probe unloaded and its counts at zero, whatever
// ran before it in the process.
class Forms : public ::testing::Test {
protected:
    void SetUp() override
    {
        frmProbe &f = frmProbe::Instance();
        f.cancelUnload = false;
        f.Unload();
        f.loads = f.unloads = f.ticks = f.reloadsByTick = 0;
        f.field = QStringLiteral("kept");
    }
};

TEST_F(Forms, LoadUnloadAndReloadKeepTheObjectsFields)
{
    frmProbe &f = frmProbe::Instance();
    EXPECT_FALSE(f.IsLoaded());
    f.controls().lblText_0->setCaption("x"); // touching a control loads
    EXPECT_TRUE(f.IsLoaded());
    EXPECT_EQ(f.loads, 1);
    f.field = "changed";
    f.cancelUnload = true;
    f.Unload();
    EXPECT_TRUE(f.IsLoaded());
    f.cancelUnload = false;
    f.Unload();
    EXPECT_FALSE(f.IsLoaded());
    EXPECT_EQ(f.unloads, 2);
    EXPECT_EQ(f.field, "changed");
    f.Load();
    EXPECT_EQ(f.loads, 2);
    EXPECT_EQ(f.controls().lblText_0->Caption(), "");
    EXPECT_EQ(&f, &frmProbe::Instance());
}

TEST_F(Forms, AModalShowReturnsWhenAButtonUnloadsTheWindow)
{
    frmProbe &f = frmProbe::Instance();
    QTimer::singleShot(50, [&] { QTest::mouseClick(f.controls().cmdOK, Qt::LeftButton); });
    f.Show(vbModal);
    EXPECT_FALSE(f.IsLoaded());
}

TEST_F(Forms, AModalShowReturnsOnHideAndNestedShowsReturnInOrder)
{
    frmProbe &f = frmProbe::Instance();
    QStringList order;
    QTimer::singleShot(30, [&] {
        // Hides itself and shows itself modally again, from inside the show.
        f.Hide();
        QTimer::singleShot(30, [&] { f.Hide(); });
        f.Show(vbModal);
        order << "inner";
    });
    f.Show(vbModal);
    order << "outer";
    EXPECT_EQ(order, (QStringList{"inner", "outer"}));
    EXPECT_TRUE(f.IsLoaded());
}

TEST_F(Forms, ControlsInsideAPictureBoxArePlacedInItsDrawingArea)
{
    frmProbe &f = frmProbe::Instance();
    f.Load();
    f.lblText.Load(1);
    EXPECT_EQ(f.lblText(0).Left(), 10);
    EXPECT_EQ(f.lblText(0).x(), 11);
    EXPECT_EQ(f.lblText(1).Left(), 10);
    EXPECT_EQ(f.lblText(1).Index(), 1);
    EXPECT_FALSE(f.lblText(1).Visible());
}

TEST_F(Forms, ATimerTicksWhileEnabled)
{
    frmProbe &f = frmProbe::Instance();
    f.controls().timUhr->setEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.ticks >= 2; }, 20000));
}

TEST_F(Forms, CentringRoundsHalvesToEvenAndHalvesTowardZero)
{
    EXPECT_EQ(HalfDifference(100, 50), 25);
    EXPECT_EQ(HalfDifference(100, 49), 25);   // 51 / 2
    EXPECT_EQ(HalfDifference(100.5, 50), 25); // 50.5 -> 50
    EXPECT_EQ(HalfDifference(101.5, 50), 26); // 51.5 -> 52
    EXPECT_EQ(HalfDifference(50, 100), -25);
    EXPECT_EQ(HalfDifference(50, 101), -25);  // -51 / 2 toward zero
}

namespace {
WNDPROC boxProcedure = nullptr;
int boxDestroyed = 0;
LRESULT countDestroy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY)
        ++boxDestroyed;
    return CallWindowProcA(boxProcedure, hwnd, msg, wParam, lParam);
}
} // namespace

TEST_F(Forms, TheControlsOfAnUnloadedWindowSayGoodbyeToTheirWindowProceduresAndTheirHandlesGo)
{
    frmProbe &f = frmProbe::Instance();
    const HWND window = f.hWnd();
    const HWND box = HandleOf(f.controls().picHinten);
    ASSERT_TRUE(IsWindow(box));
    boxProcedure = reinterpret_cast<WNDPROC>(SetWindowLongA(box, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(countDestroy)));
    f.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(boxDestroyed, 1);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(box));
    EXPECT_NE(f.hWnd(), window) << "a new window, a new handle";
}

TEST_F(Forms, AnUnloadedWindowsTimerTicksNoMore)
{
    frmProbe &f = frmProbe::Instance();
    f.controls().timUhr->setEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.ticks >= 1; }, 20000));
    f.Unload();
    const int ticks = f.ticks;
    QTest::qWait(200);
    EXPECT_EQ(f.ticks, ticks);
    EXPECT_FALSE(f.IsLoaded());
}

namespace {

// A transparent label and a button right on the window's face.
struct UiPainted {
    Label *lblText;
    CommandButton *cmdOK;
    void setupUi(QWidget *w)
    {
        w->resize(200, 100);
        lblText = new Label(w);
        lblText->setGeometry(10, 10, 100, 20);
        lblText->setBackStyle(vbTransparent);
        cmdOK = new CommandButton(w);
        cmdOK->setGeometry(10, 50, 73, 25);
    }
};

class frmPainted : public UiForm<frmPainted, UiPainted> {
public:
    int paints = 0;
    UiPainted &controls() { return ui(); }

protected:
    void Form_Paint() override { ++paints; }
};

} // namespace

TEST_F(Forms, FormPaintComesWhenTheFaceIsPaintedNotWhenAControlRepaints)
{
    frmPainted &f = frmPainted::Instance();
    f.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.Window()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.paints > 0; }, 2000)) << "the first paint of the window";
    int paints = f.paints;

    f.controls().cmdOK->repaint(); // Qt paints the window beneath the button's face
    QTest::mousePress(f.controls().cmdOK, Qt::LeftButton);
    QTest::mouseRelease(f.controls().cmdOK, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.paints, paints) << "a control with a window of its own paints itself";

    // A label has no window: a transparent one is drawn on the face.
    f.controls().lblText->setCaption("neu");
    f.controls().lblText->repaint();
    EXPECT_EQ(f.paints, paints + 1);
    paints = f.paints;

    f.Window()->repaint(QRect(150, 80, 10, 10)); // a piece of bare face
    EXPECT_EQ(f.paints, paints + 1);
    paints = f.paints;
    f.Window()->repaint(); // the whole window, controls and face
    EXPECT_EQ(f.paints, paints + 1);
    f.Unload();
}

namespace {

// ---- windows of each kind ---------------------------------------------------

// A layout of the given client size and border, with a button that a
// handler may use, for the measures and the modal shows.
template <int Width, int Height, int Border, bool Titled>
struct UiSized {
    CommandButton *cmdGo;
    void setupUi(QWidget *w)
    {
        w->resize(Width, Height);
        w->setProperty("BorderStyle", Border);
        if (Titled)
            w->setWindowTitle(QStringLiteral("Murvel"));
        cmdGo = new CommandButton(w);
        cmdGo->setGeometry(8, 8, 73, 25);
    }
};

template <class Ui>
class SizedForm : public UiForm<SizedForm<Ui>, Ui> {
public:
    using UiForm<SizedForm<Ui>, Ui>::ui;
};

using frmTitled = SizedForm<UiSized<700, 467, vbFixedSingle, true>>;
using frmOtherTitled = SizedForm<UiSized<300, 200, vbFixedSingle, true>>;
using frmFrameless = SizedForm<UiSized<300, 381, vbBSNone, false>>;
using frmWide = SizedForm<UiSized<4000, 100, vbBSNone, false>>;

QMargins marginsOf(QWidget *w)
{
    const QRect frame = w->frameGeometry(), client = w->geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                    frame.bottom() - client.bottom());
}

// A window manager frames a shown window a little later; without one (or
// offscreen) nothing changes in that time.
void waitForTheFrame(QWidget *w)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    // Without a window manager no frame comes: the wait ends either way.
    (void)QTest::qWaitFor([w] { return !w->windowHandle()->frameMargins().isNull(); }, 300);
    QTest::qWait(50);
}

} // namespace

TEST(FormMeasures, OuterMeasuresSetBeforeTheFirstShowHoldOnceTheWindowIsFramed)
{
    frmTitled &f = frmTitled::Instance();
    f.Load();
    // As the main window does it: the height first, then its place.
    f.setHeight(7470);
    f.setLeft(1500);
    f.setTop(1200);
    EXPECT_EQ(f.Height(), 7470);
    EXPECT_EQ(f.Left(), 1500);
    f.Show();
    waitForTheFrame(f.Window());
    const QMargins frame = marginsOf(f.Window());
    EXPECT_EQ(f.Height(), 7470);
    EXPECT_EQ(f.ScaleHeight(), 498 - frame.top() - frame.bottom()) << "the frame comes out of the outer height";
    EXPECT_EQ(f.ScaleWidth(), 700) << "the width was not set: the layout's client width stays";
    EXPECT_EQ(f.Width(), (700 + frame.left() + frame.right()) * TwipsPerPixel);
    EXPECT_EQ(f.Left(), 1500);
    EXPECT_EQ(f.Top(), 1200);
    EXPECT_EQ(f.Window()->windowHandle()->framePosition(), QPoint(100, 80));

    // Set again while shown, the outer measures take effect at once.
    f.setWidth(9000);
    f.setTop(1500);
    EXPECT_EQ(f.Width(), 9000);
    EXPECT_EQ(f.ScaleWidth(), 600 - frame.left() - frame.right());
    EXPECT_EQ(f.Top(), 1500);
}

TEST(FormMeasures, AWindowOfAKindShownBeforeLendsItsFrameToTheNextBeforeItIsShown)
{
    frmTitled &first = frmTitled::Instance();
    first.Show();
    waitForTheFrame(first.Window());
    const QMargins frame = marginsOf(first.Window());

    frmOtherTitled &next = frmOtherTitled::Instance();
    next.Load();
    EXPECT_EQ(next.Width(), (300 + frame.left() + frame.right()) * TwipsPerPixel);
    EXPECT_EQ(next.Height(), (200 + frame.top() + frame.bottom()) * TwipsPerPixel);
}

TEST(FormMeasures, AWindowWithoutABorderMeasuresItsClientArea)
{
    frmFrameless &f = frmFrameless::Instance();
    f.Load();
    EXPECT_EQ(f.Width(), 300 * TwipsPerPixel);
    EXPECT_EQ(f.Height(), 381 * TwipsPerPixel);
    f.Show();
    waitForTheFrame(f.Window());
    EXPECT_EQ(f.Width(), 300 * TwipsPerPixel);
    EXPECT_EQ(f.Height(), 381 * TwipsPerPixel);
    EXPECT_EQ(f.ScaleWidth(), 300);
    EXPECT_TRUE(f.Window()->windowFlags().testFlag(Qt::FramelessWindowHint));
}

TEST(FormMeasures, AWindowLargerThanTheScreenIsCentredToANegativeLeft)
{
    frmWide &f = frmWide::Instance();
    f.Load();
    ASSERT_GT(f.Width(), Screen::Width()) << "the test wants a screen narrower than 4000 pixels";
    f.CentreOnScreen();
    EXPECT_LT(f.Left(), 0);
    EXPECT_EQ(f.Left(), HalfDifference(Screen::Width(), f.Width()));
    EXPECT_EQ(Screen::Width(), QGuiApplication::primaryScreen()->geometry().width() * TwipsPerPixel);
}

TEST(FormMeasures, CentringOverAnotherWindowPlacesByBothOuterMeasuresOnWholePixels)
{
    frmTitled &owner = frmTitled::Instance();
    owner.setLeft(1500);
    owner.setTop(1200);
    frmFrameless &f = frmFrameless::Instance();
    f.CentreOver(owner);
    const auto onPixels = [](int twips) { return int(std::lround(twips / 15.0)) * 15; };
    EXPECT_EQ(f.Top(), onPixels(1200 + HalfDifference(owner.Height(), f.Height())));
    EXPECT_EQ(f.Left(), onPixels(1500 + HalfDifference(owner.Width(), f.Width())));
}

// ---- modal shows ------------------------------------------------------------

TEST(FormModal, AModalShowBlocksTheOtherWindowsAndALaterPlainShowDoesNot)
{
    frmTitled &owner = frmTitled::Instance();
    owner.Show();
    frmFrameless &f = frmFrameless::Instance();
    QWidget *modal = nullptr;
    QTimer::singleShot(20, [&] {
        modal = QApplication::activeModalWidget();
        f.Hide();
    });
    f.Show(vbModal);
    EXPECT_EQ(modal, f.Window());
    EXPECT_TRUE(f.IsLoaded());
    f.Show();
    EXPECT_EQ(f.Window()->windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(FormModal, ModalShowsOfTwoWindowsNestAndTheInnerReturnsFirst)
{
    frmTitled &outer = frmTitled::Instance();
    frmFrameless &inner = frmFrameless::Instance();
    QStringList order;
    QObject::connect(outer.ui().cmdGo, &CommandButton::Click, [&] {
        // A handler of the outer window asks a question in a window of its
        // own, then closes itself.
        QTimer::singleShot(20, [&] { QTest::mouseClick(inner.ui().cmdGo, Qt::LeftButton); });
        QObject::connect(inner.ui().cmdGo, &CommandButton::Click, [&] { inner.Unload(); });
        inner.Show(vbModal);
        order << "inner";
        outer.Unload();
    });
    QTimer::singleShot(20, [&] { QTest::mouseClick(outer.ui().cmdGo, Qt::LeftButton); });
    outer.Show(vbModal);
    order << "outer";
    EXPECT_EQ(order, (QStringList{"inner", "outer"}));
    EXPECT_FALSE(outer.IsLoaded());
    EXPECT_FALSE(inner.IsLoaded());
}

TEST(FormModal, AWindowThatHidesItselfAsksAndShowsItselfAgainReturnsToItsCallerOnce)
{
    // As the top-ten dialog clears its lists: hide, ask, show modally again.
    frmTitled &dialog = frmTitled::Instance();
    frmFrameless &question = frmFrameless::Instance();
    int returns = 0;
    bool hiddenWhileAsking = false;
    QObject::connect(dialog.ui().cmdGo, &CommandButton::Click, [&] {
        dialog.Hide();
        QTimer::singleShot(20, [&] {
            hiddenWhileAsking = !dialog.Visible();
            question.Unload();
        });
        question.Show(vbModal);
        QTimer::singleShot(20, [&] { dialog.Unload(); });
        dialog.Show(vbModal);
    });
    QTimer::singleShot(20, [&] { QTest::mouseClick(dialog.ui().cmdGo, Qt::LeftButton); });
    dialog.Show(vbModal);
    ++returns;
    EXPECT_EQ(returns, 1);
    EXPECT_TRUE(hiddenWhileAsking);
    EXPECT_FALSE(dialog.IsLoaded());
}

namespace {

// ---- keys and mouse ----------------------------------------------------------

// A window with a control of every kind, some inside a picture box, that
// counts what reaches the form and the picture box.
struct UiInput {
    PictureBox *picHinten;
    PictureBox *picFeld;
    Label *lblText;
    Image *imgBild;
    CommandButton *cmdGo;
    OptionButton *optA;
    CheckBox *chkB;
    void setupUi(QWidget *w)
    {
        w->resize(400, 300);
        w->setWindowTitle(QStringLiteral("Eingaben"));
        picHinten = new PictureBox(w);
        picHinten->setGeometry(10, 10, 300, 200);
        lblText = new Label(picHinten);
        lblText->setGeometry(10, 10, 100, 20);
        lblText->setCaption(QStringLiteral("Text"));
        imgBild = new Image(picHinten);
        imgBild->setGeometry(10, 40, 32, 32);
        cmdGo = new CommandButton(picHinten);
        cmdGo->setGeometry(10, 80, 73, 25);
        cmdGo->setCaption(QStringLiteral("&Los"));
        optA = new OptionButton(picHinten);
        optA->setGeometry(100, 80, 73, 25);
        chkB = new CheckBox(picHinten);
        chkB->setGeometry(180, 80, 49, 49);
        picFeld = new PictureBox(picHinten);
        picFeld->setGeometry(10, 140, 100, 50);
    }
};

class frmInput : public UiForm<frmInput, UiInput> {
public:
    using UiForm::ui;
    QList<std::int16_t> keysUp;
    bool swallowF2 = false;
    int formDowns = 0, formMoves = 0, formClicks = 0, boxDowns = 0, boxMoves = 0;
    QPointF lastFormDown;

    void setKeyPreview(bool on) { Window()->setProperty("KeyPreview", on); reload(); }

protected:
    void SetupWindow(QWidget *window) override
    {
        UiForm::SetupWindow(window);
        window->setProperty("KeyPreview", m_keyPreview);
        QObject::connect(ui().picHinten, &PictureBox::MouseDown, [this] { ++boxDowns; });
        QObject::connect(ui().picHinten, &PictureBox::MouseMove, [this] { ++boxMoves; });
    }
    void Form_KeyUp(std::int16_t &KeyCode, std::int16_t) override
    {
        keysUp << KeyCode;
        if (swallowF2 && KeyCode == vbKeyF1 + 1)
            KeyCode = 0;
    }
    void Form_MouseDown(std::int16_t, std::int16_t, float X, float Y) override
    {
        ++formDowns;
        lastFormDown = QPointF(X, Y);
    }
    void Form_MouseMove(std::int16_t, std::int16_t, float, float) override { ++formMoves; }
    void Form_Click() override { ++formClicks; }

private:
    void reload()
    {
        m_keyPreview = Window()->property("KeyPreview").toBool();
        Unload();
        Show();
    }
    bool m_keyPreview = false;
};

frmInput &shownInputWindow(bool keyPreview)
{
    frmInput &f = frmInput::Instance();
    f.keysUp.clear();
    f.swallowF2 = false;
    f.formDowns = f.formMoves = f.formClicks = f.boxDowns = f.boxMoves = 0;
    f.setKeyPreview(keyPreview);
    EXPECT_TRUE(QTest::qWaitForWindowActive(f.Window()));
    return f;
}

} // namespace

TEST(FormKeys, WithKeyPreviewTheFormHearsEachKeyOfAControlOnce)
{
    frmInput &f = shownInputWindow(true);
    CommandButton *button = f.ui().cmdGo;
    button->setFocus();
    // Through the window, as the window system delivers keys...
    QTest::keyClick(f.Window()->windowHandle(), Qt::Key_F1);
    EXPECT_EQ(f.keysUp, (QList<std::int16_t>{vbKeyF1}));
    // ...and straight to the control, as a test may.
    QTest::keyClick(button, Qt::Key_F1);
    EXPECT_EQ(f.keysUp, (QList<std::int16_t>{vbKeyF1, vbKeyF1}));
}

TEST(FormKeys, AKeyCodeSetToZeroKeepsTheKeyFromTheControl)
{
    frmInput &f = shownInputWindow(true);
    f.swallowF2 = true;
    int released = 0;
    struct Counter : QObject {
        int *n;
        explicit Counter(int *count) : n(count) {}
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::KeyRelease)
                ++*n;
            return false;
        }
    } counter(&released);
    f.ui().cmdGo->setFocus();
    f.ui().cmdGo->installEventFilter(&counter);
    QTest::keyClick(f.Window()->windowHandle(), Qt::Key_F2);
    QTest::keyClick(f.Window()->windowHandle(), Qt::Key_F3);
    EXPECT_EQ(f.keysUp, (QList<std::int16_t>{vbKeyF1 + 1, vbKeyF1 + 2}));
    EXPECT_EQ(released, 1) << "F2 was swallowed, F3 reached the button";
}

TEST(FormKeys, WithoutKeyPreviewTheKeysOfAControlStayWithIt)
{
    frmInput &f = shownInputWindow(false);
    f.ui().cmdGo->setFocus();
    QTest::keyClick(f.Window()->windowHandle(), Qt::Key_F1);
    QTest::keyClick(f.ui().cmdGo, Qt::Key_F1);
    EXPECT_TRUE(f.keysUp.isEmpty());
}

TEST(FormMouse, NoControlsMouseReachesItsContainerOrTheForm)
{
    frmInput &f = shownInputWindow(false);
    auto &ui = f.ui();
    QSignalSpy labelDowns(ui.lblText, &Label::MouseDown), labelClicks(ui.lblText, &Label::Click);
    QSignalSpy imageMoves(ui.imgBild, &Image::MouseMove), buttonClicks(ui.cmdGo, &CommandButton::Click);
    QSignalSpy fieldDowns(ui.picFeld, &PictureBox::MouseDown);
    for (QWidget *control : std::initializer_list<QWidget *>{ui.lblText, ui.imgBild, ui.cmdGo, ui.optA, ui.chkB, ui.picFeld}) {
        QTest::mouseMove(control, QPoint(5, 5));
        QTest::mouseMove(control, QPoint(6, 6));
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(6, 6));
        QTest::mouseClick(control, Qt::RightButton, {}, QPoint(6, 6));
    }
    EXPECT_EQ(labelDowns.count(), 2);
    EXPECT_EQ(labelClicks.count(), 1) << "only the left button clicks";
    EXPECT_GE(imageMoves.count(), 2);
    EXPECT_EQ(buttonClicks.count(), 1);
    EXPECT_EQ(fieldDowns.count(), 2);
    EXPECT_EQ(f.formDowns + f.formMoves + f.formClicks, 0);
    EXPECT_EQ(f.boxDowns + f.boxMoves, 0);

    // The form's own face and the picture box's own area report their own.
    QTest::mouseClick(f.Window(), Qt::LeftButton, {}, QPoint(350, 250));
    EXPECT_EQ(f.formDowns, 1);
    EXPECT_EQ(f.formClicks, 1);
    EXPECT_EQ(f.lastFormDown, QPointF(350, 250));
    QMouseEvent move(QEvent::MouseMove, QPointF(250, 20), ui.picHinten->mapToGlobal(QPointF(250, 20)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(ui.picHinten, &move);
    EXPECT_EQ(f.boxMoves, 1);
}

TEST(FormMouse, ADisabledControlLeavesTheMouseToWhatLiesBeneath)
{
    frmInput &f = shownInputWindow(false);
    f.ui().picFeld->setEnabled(false);
    QTest::mouseClick(f.ui().picFeld, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(f.boxDowns, 1) << "the picture box that holds the disabled field";
    f.ui().picHinten->setEnabled(false);
    QTest::mouseClick(f.ui().picHinten, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(f.formDowns, 1);
}

TEST(FormMouse, APressHeldFromTheFormKeepsReportingMovesOverAControl)
{
    frmInput &f = shownInputWindow(false);
    QTest::mousePress(f.Window(), Qt::LeftButton, {}, QPoint(350, 250));
    QMouseEvent move(QEvent::MouseMove, QPointF(30, 30), f.Window()->mapToGlobal(QPointF(30, 30)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.Window(), &move);
    EXPECT_EQ(f.formMoves, 1);
    QTest::mouseRelease(f.Window(), Qt::LeftButton, {}, QPoint(30, 30));
}

TEST(FormMouse, AControlShowsItsOwnPointerIcon)
{
    frmInput &f = shownInputWindow(false);
    const QImage icon = LoadPicture(QStringLiteral(":/pictures/zielkreuz.ico"));
    ASSERT_EQ(icon.size(), QSize(32, 32));
    f.ui().picFeld->setMouseIcon(icon, QPoint(15, 15));
    const QCursor pointer = f.ui().picFeld->cursor();
    EXPECT_EQ(pointer.shape(), Qt::BitmapCursor);
    EXPECT_EQ(pointer.hotSpot(), QPoint(15, 15));
    EXPECT_EQ(pointer.pixmap().size(), QSize(32, 32));
    EXPECT_NE(f.ui().picHinten->cursor().shape(), Qt::BitmapCursor) << "only over that control";
}

// ---- the controls' look -------------------------------------------------------

namespace {

const QColor kLightBlue(192, 192, 255);
constexpr COLORREF kLightBlueRef = 0x00FFC0C0;

template <class Button>
Button &graphical(Button &b, QSize size)
{
    b.setStyle(vbButtonGraphical);
    b.setBackColor(kLightBlueRef);
    b.resize(size);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setBold(true);
    font.setPixelSize(11);
    b.setFont(font);
    return b;
}

// The pixels of the caption inside the edge: those near its ink colour
// (the glyphs' edges are smoothed).
int inkOf(const QImage &shot, QColor ink)
{
    int n = 0;
    for (int y = 3; y < shot.height() - 3; ++y)
        for (int x = 3; x < shot.width() - 3; ++x) {
            const QColor c = shot.pixelColor(x, y);
            if (std::abs(c.red() - ink.red()) + std::abs(c.green() - ink.green()) + std::abs(c.blue() - ink.blue()) < 60)
                ++n;
        }
    return n;
}

} // namespace

TEST(ButtonLook, AGraphicalButtonHasALightBlueFaceInARaisedEdgeThatSinksWhilePressed)
{
    CommandButton button;
    graphical(button, QSize(73, 25)).setCaption(QStringLiteral("&Ja"));
    QImage up = button.grab().toImage();
    EXPECT_EQ(up.pixelColor(6, 4), kLightBlue);
    EXPECT_EQ(up.pixelColor(10, 0), QColor(255, 255, 255)) << "light above";
    EXPECT_EQ(up.pixelColor(0, 10), QColor(255, 255, 255)) << "and left";
    EXPECT_EQ(up.pixelColor(10, 24), QColor(64, 64, 64)) << "dark below";
    EXPECT_EQ(up.pixelColor(72, 10), QColor(64, 64, 64)) << "and right";
    EXPECT_EQ(up.pixelColor(10, 23), QColor(128, 128, 128)) << "a shadow inside";
    EXPECT_GT(inkOf(up, QColor(Qt::black)), 20) << "the caption in black";
    up.save(testenv::buildDir() + QStringLiteral("/button_up.png"));

    button.setDown(true);
    const QImage down = button.grab().toImage();
    EXPECT_EQ(down.pixelColor(10, 0), QColor(128, 128, 128));
    EXPECT_EQ(down.pixelColor(10, 24), QColor(255, 255, 255));
    EXPECT_EQ(down.pixelColor(10, 1), QColor(64, 64, 64));
    down.save(testenv::buildDir() + QStringLiteral("/button_down.png"));
}

TEST(ButtonLook, ADisabledButtonEngravesItsCaptionInGrey)
{
    CommandButton button;
    graphical(button, QSize(73, 25)).setCaption(QStringLiteral("&Nein"));
    const int black = inkOf(button.grab().toImage(), QColor(Qt::black));
    button.setEnabled(false);
    const QImage shot = button.grab().toImage();
    EXPECT_EQ(inkOf(shot, QColor(Qt::black)), 0);
    EXPECT_GT(inkOf(shot, QColor(128, 128, 128)), black / 2);
    EXPECT_GT(inkOf(shot, QColor(255, 255, 255)), black / 2) << "with a light shadow";
    shot.save(testenv::buildDir() + QStringLiteral("/button_disabled.png"));
}

TEST(ButtonLook, TheMnemonicIsUnderlinedAndAltWithItsLetterPressesTheButton)
{
    QWidget window;
    auto *button = new CommandButton(&window);
    graphical(*button, QSize(73, 25)).setCaption(QStringLiteral("&Ja"));
    auto *plain = new CommandButton(&window);
    graphical(*plain, QSize(73, 25)).setCaption(QStringLiteral("Ja"));
    plain->move(0, 30);
    window.show();
    window.activateWindow(); // as a form's Show does; no window manager does it for us
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    // The underline is the one difference between the two faces.
    const QImage a = button->grab().toImage(), b = plain->grab().toImage();
    EXPECT_GT(inkOf(a, QColor(Qt::black)), inkOf(b, QColor(Qt::black)) + 3);
    EXPECT_EQ(button->Caption(), QStringLiteral("&Ja"));

    QSignalSpy clicks(button, &CommandButton::Click);
    QTest::keyClick(&window, Qt::Key_J, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks.count() == 1; }, 20000)) << "pressed for a moment, then clicked";
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 1) << "never a default button";
}

TEST(ButtonLook, ThePictureStandsCentredAboveTheCaption)
{
    OptionButton option;
    QImage picture(40, 28, QImage::Format_RGB32);
    picture.fill(Qt::red);
    graphical(option, QSize(65, 49)).setCaption(QStringLiteral("Größe 1"));
    option.setPicture(picture);
    const QImage shot = option.grab().toImage();
    shot.save(testenv::buildDir() + QStringLiteral("/option_picture.png"));
    QRect red;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixelColor(x, y) == QColor(Qt::red))
                red |= QRect(x, y, 1, 1);
    EXPECT_EQ(red.size(), QSize(40, 28)) << "shown whole, unscaled";
    EXPECT_NEAR(red.center().x(), 32, 1);
    const QFontMetrics fm(option.font());
    EXPECT_LE(red.bottom(), 49 - 2 - fm.height()) << "above the caption";
    EXPECT_LE(fm.horizontalAdvance(QStringLiteral("Größe 1")), 65 - 4);
}

TEST(ButtonLook, ASelectedOptionAndACheckedBoxLieSunkenAndTheBoxShowsItsDownPicture)
{
    QWidget container;
    auto *a = new OptionButton(&container), *b = new OptionButton(&container);
    graphical(*a, QSize(73, 21));
    graphical(*b, QSize(73, 21));
    b->move(80, 0);
    QSignalSpy clicksA(a, &OptionButton::Click);
    a->setValue(true);
    a->setValue(true);
    EXPECT_EQ(clicksA.count(), 2) << "Click also when the program selects it";
    const QImage selected = a->grab().toImage();
    selected.save(testenv::buildDir() + QStringLiteral("/option_selected.png"));
    EXPECT_EQ(selected.pixelColor(10, 0), QColor(128, 128, 128)) << "sunken";
    EXPECT_EQ(selected.pixelColor(10, 1), QColor(64, 64, 64));
    const QColor face = selected.pixelColor(6, 4);
    EXPECT_LT(face.value(), kLightBlue.value() * 85 / 100) << "on a clearly darker face";
    EXPECT_EQ(face.hue(), kLightBlue.hue()) << "of the same colour";
    EXPECT_EQ(b->grab().toImage().pixelColor(6, 4), kLightBlue) << "the others keep theirs";
    a->setDown(true);
    b->setDown(true);
    EXPECT_EQ(a->grab().toImage().pixelColor(6, 4), face) << "pressed again, selected stays selected";
    EXPECT_EQ(b->grab().toImage().pixelColor(6, 4), kLightBlue) << "only pressed: sunken, not darker";
    a->setDown(false);
    b->setDown(false);
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_TRUE(b->Value());
    EXPECT_FALSE(a->Value()) << "one group per container";
    EXPECT_EQ(a->grab().toImage().pixelColor(10, 0), QColor(255, 255, 255)) << "raised again";
    EXPECT_EQ(a->grab().toImage().pixelColor(6, 4), kLightBlue);

    CheckBox box;
    graphical(box, QSize(49, 49));
    QImage off(32, 32, QImage::Format_RGB32), on(32, 32, QImage::Format_RGB32);
    off.fill(Qt::red);
    on.fill(Qt::green);
    box.setPicture(off);
    box.setDownPicture(on);
    QSignalSpy changes(&box, &CheckBox::Click);
    EXPECT_EQ(box.grab().toImage().pixelColor(24, 24), QColor(Qt::red));
    box.setValue(vbChecked);
    EXPECT_EQ(box.Value(), vbChecked);
    EXPECT_EQ(box.grab().toImage().pixelColor(25, 25), QColor(Qt::green));
    QTest::mouseClick(&box, Qt::LeftButton);
    EXPECT_EQ(box.Value(), vbUnchecked);
    EXPECT_EQ(changes.count(), 2) << "Click on every change";
}

TEST(ButtonLook, TheKeyboardEntersAGroupOfOptionsAtTheSelectedOne)
{
    // A window that opens with its first control in a group whose third
    // option is selected, and a button after the group.
    QWidget window;
    auto *group = new QWidget(&window);
    OptionButton *options[3];
    for (int i = 0; i < 3; ++i) {
        options[i] = new OptionButton(group);
        graphical(*options[i], QSize(65, 49)).setCaption(QStringLiteral("Größe %1").arg(i + 1));
        options[i]->move(70 * i, 0);
    }
    auto *after = new CommandButton(&window);
    graphical(*after, QSize(73, 25)).setCaption(QStringLiteral("&OK"));
    after->move(0, 60);
    options[2]->setValue(true);
    window.show();
    window.activateWindow(); // as a form's Show does
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(QApplication::focusWidget(), options[2]) << "the focus frame on the selected one when the window opens";
    const QImage shot = window.grab().toImage();
    shot.save(testenv::buildDir() + QStringLiteral("/options_focus.png"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), after);
    QTest::keyClick(after, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), options[2]) << "back into the group at the selected one";
    QTest::keyClick(options[2], Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), options[1]) << "the arrows walk the group";
    EXPECT_TRUE(options[1]->Value()) << "and select";
    QTest::mouseClick(options[0], Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), options[0]);
}

TEST(ButtonLook, AControlArraysNewOptionButtonIsACopyOfElementZero)
{
    QWidget container;
    auto *first = new OptionButton(&container);
    first->setObjectName(QStringLiteral("optSize_0"));
    graphical(*first, QSize(73, 21)).setCaption(QStringLiteral("Größe"));
    first->setToolTip(QStringLiteral("Highscoretabelle entsprechend Spielebene anzeigen."));
    ControlArray<OptionButton> optSize;
    optSize.Collect(&container, QStringLiteral("optSize"));
    QList<std::int16_t> clicked;
    optSize.on(&OptionButton::Click, [&](std::int16_t index) { clicked << index; });
    OptionButton &second = optSize.Load(1);
    EXPECT_EQ(second.Style(), vbButtonGraphical);
    EXPECT_EQ(second.BackColor(), kLightBlueRef);
    EXPECT_EQ(second.Caption(), QStringLiteral("Größe"));
    EXPECT_EQ(second.ToolTipText(), first->toolTip());
    EXPECT_EQ(second.Index(), 1);
    second.setValue(true);
    optSize(0).setValue(true);
    EXPECT_EQ(clicked, (QList<std::int16_t>{1, 0}));
    EXPECT_FALSE(second.Value()) << "the copy is in element 0's group";
}

TEST(LabelLook, ATextTheLayoutSetsIsTheCaptionAndCrLfBreaksTheLine)
{
    Label label;
    label.setText(QStringLiteral("Zum Beenden auf das Fenster klicken!"));
    EXPECT_EQ(label.Caption(), QStringLiteral("Zum Beenden auf das Fenster klicken!"));
    label.setCaption(QStringLiteral("a\r\nb"));
    EXPECT_EQ(label.Caption(), QStringLiteral("a\r\nb"));
    EXPECT_EQ(label.text(), QStringLiteral("a\nb"));
}

// ---- fonts ---------------------------------------------------------------------

namespace {

// A form whose layout names each of the three faces, with the sizes of the
// game's windows.
struct UiFonts {
    QList<Label *> labels;
    void setupUi(QWidget *w)
    {
        w->resize(400, 300);
        const struct { const char *family; double points; bool bold; } faces[] = {
            {"MS Sans Serif", 8.25, true}, {"MS Sans Serif", 9.75, true}, {"MS Sans Serif", 12, true},
            {"Times New Roman", 11.25, true}, {"Times New Roman", 12, true}, {"Arial", 15.75, true},
        };
        for (const auto &face : faces) {
            auto *label = new Label(w);
            QFont font(QString::fromLatin1(face.family));
            font.setBold(face.bold);
            label->setFont(font);
            label->setProperty("FontSize", face.points);
            labels << label;
        }
    }
};

class frmFonts : public UiForm<frmFonts, UiFonts> {
public:
    using UiForm::ui;
};

} // namespace

TEST(Fonts, EachFaceOfTheLayoutsIsFoundInItsPixelSizeWhateverTheScreensDpi)
{
    const auto &labels = frmFonts::Instance().ui().labels;
    const struct { const char *family; int pixels; } expected[] = {
        {"Liberation Sans", 11}, {"Liberation Sans", 13}, {"Liberation Sans", 16},
        {"Liberation Serif", 15}, {"Liberation Serif", 16}, {"Liberation Sans", 21},
    };
    ASSERT_EQ(labels.size(), 6);
    for (int i = 0; i < labels.size(); ++i) {
        const QFontInfo info(labels[i]->font());
        EXPECT_EQ(info.family(), QString::fromLatin1(expected[i].family)) << i;
        EXPECT_EQ(info.pixelSize(), expected[i].pixels) << i;
        EXPECT_TRUE(info.bold()) << i;
    }
}

TEST(Fonts, TheDialogsTextsFitTheirBoxesInTheMappedFaces)
{
    // The longest texts of the game's windows, in the face, size and box
    // their layouts give them.
    const struct { const char *text; const char *family; int pixels; bool italic; int width, height; } texts[] = {
        {"Zum Beenden auf das Fenster klicken!", "MS Sans Serif", 11, false, 221, 13},
        {"Möchtest Du die Highscore-Tabelle ansehen?", "MS Sans Serif", 13, false, 369, 17},
        {"Standardspielfeldgröße:", "MS Sans Serif", 13, false, 169, 16},
        {"Sound:", "MS Sans Serif", 13, false, 49, 16},
        {"Hilfe:", "MS Sans Serif", 13, false, 37, 16},
        {"Platz", "MS Sans Serif", 13, true, 41, 17},
        {"Quote", "MS Sans Serif", 13, true, 41, 17},
        {"10.", "MS Sans Serif", 16, false, 25, 17},
        {"32767 (0%)", "MS Sans Serif", 16, false, 83, 17},
        {"Mit nur 999 Wasserbomben!", "Arial", 21, false, 373, 25},
        {"Version 1.12.105", "Times New Roman", 16, false, 129, 23},
        {"&Übernehmen", "MS Sans Serif", 11, false, 73 - 4, 25 - 4},
        {"Größe 3", "MS Sans Serif", 11, false, 90 - 4, 21 - 4},
    };
    frmFonts::Instance().Load(); // the runtime maps the faces when a form loads
    for (const auto &t : texts) {
        QFont font(QString::fromLatin1(t.family));
        font.setBold(true);
        font.setItalic(t.italic);
        font.setPixelSize(t.pixels);
        const QFontMetrics fm(font);
        const QString text = QString::fromUtf8(t.text).remove(QLatin1Char('&'));
        EXPECT_LE(fm.horizontalAdvance(text), t.width) << t.text;
        EXPECT_LE(fm.ascent() + fm.descent() - 2, t.height) << t.text << ": no more than the descenders' last pixels cut";
    }
}
