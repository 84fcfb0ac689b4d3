// The runtime's windows: load, unload and reload, modal shows, measures.
#include "runtime/commandbutton.h"
#include "runtime/controlarray.h"
#include "runtime/form.h"
#include "runtime/label.h"
#include "runtime/picturebox.h"
#include "runtime/timer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

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
        QObject::connect(ui().timUhr, &Timer::Tick, [this] { ++ticks; });
    }
    void Form_Load() override { ++loads; }
    void Form_Unload(std::int16_t &Cancel) override
    {
        ++unloads;
        Cancel = cancelUnload ? 1 : 0;
    }
};

} // namespace

TEST(Forms, LoadUnloadAndReloadKeepTheObjectsFields)
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

TEST(Forms, AModalShowReturnsWhenAButtonUnloadsTheWindow)
{
    frmProbe &f = frmProbe::Instance();
    QTimer::singleShot(50, [&] { QTest::mouseClick(f.controls().cmdOK, Qt::LeftButton); });
    f.Show(vbModal);
    EXPECT_FALSE(f.IsLoaded());
}

TEST(Forms, AModalShowReturnsOnHideAndNestedShowsReturnInOrder)
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

TEST(Forms, ControlsInsideAPictureBoxArePlacedInItsDrawingArea)
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

TEST(Forms, ATimerTicksWhileEnabled)
{
    frmProbe &f = frmProbe::Instance();
    f.controls().timUhr->setEnabled(true);
    QTest::qWait(180);
    EXPECT_GE(f.ticks, 2);
}

TEST(Forms, CentringRoundsHalvesToEvenAndHalvesTowardZero)
{
    EXPECT_EQ(HalfDifference(100, 50), 25);
    EXPECT_EQ(HalfDifference(100, 49), 25);   // 51 / 2
    EXPECT_EQ(HalfDifference(100.5, 50), 25); // 50.5 -> 50
    EXPECT_EQ(HalfDifference(101.5, 50), 26); // 51.5 -> 52
    EXPECT_EQ(HalfDifference(50, 100), -25);
    EXPECT_EQ(HalfDifference(50, 101), -25);  // -51 / 2 toward zero
}
