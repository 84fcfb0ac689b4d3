// The message box and the splash window on real windows.
#include "frmHaupt.h"
#include "frmMeldung.h"
#include "frmStart.h"

#include "runtime/commandbutton.h"
#include "runtime/form.h"
#include "runtime/label.h"
#include "runtime/picturebox.h"
#include "runtime/program.h"
#include "runtime/timer.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QTest>
#include <QTimer>

#include <cmath>

namespace {

const QString CRLF = QStringLiteral("\r\n");

// What stands in for the main window: a framed window of its size.
struct UiOwner {
    void setupUi(QWidget *w)
    {
        w->resize(700, 467);
        w->setWindowTitle(QStringLiteral("Murvel"));
    }
};

class frmOwner : public UiForm<frmOwner, UiOwner> {
    friend class UiForm<frmOwner, UiOwner>;
};

Form &owner() { return frmOwner::Instance(); }

template <class T>
T *control(Form &form, const char *name)
{
    T *c = form.Window()->findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

Label *lblMeldung() { return control<Label>(frmMeldung::Instance(), "lblMeldung"); }

// Runs a modal show of the box while step acts on it once it stands.
void showModallyWhile(std::function<void(QWidget *)> step)
{
    frmMeldung &box = frmMeldung::Instance();
    QTimer::singleShot(0, [&box, step] {
        QWidget *w = box.Window();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        step(w);
    });
    box.Show(vbModal);
}

// A window stands on whole pixels: a place in twips as it reads back.
int onPixels(int twips)
{
    return int(std::lround(twips / double(TwipsPerPixel))) * TwipsPerPixel;
}

// A grab's colour at a point of the window (on a screen of several device
// pixels to a pixel, the grab has more).
QColor colourAt(const QImage &shot, QPoint p)
{
    return shot.pixelColor((QPointF(p) * shot.devicePixelRatio()).toPoint());
}

void saveGrab(QWidget *w, const QString &name)
{
    w->grab().save(testenv::buildDir() + QStringLiteral("/") + name);
}

class Meldung : public ::testing::Test {
protected:
    void SetUp() override
    {
        mainWindow = frmMeldung::CentreOwner;
        frmMeldung::CentreOwner = owner;
        owner().setLeft(1500);
        owner().setTop(1200);
        owner().Show();
    }
    void TearDown() override
    {
        frmMeldung::Instance().Unload();
        frmMeldung::CentreOwner = mainWindow;
    }
    Form &(*mainWindow)() = nullptr;
};

} // namespace

TEST(MeldungOwner, TheBoxCentresOverTheMainWindowUnlessATestSaysOtherwise)
{
    EXPECT_EQ(&frmMeldung::CentreOwner(), static_cast<Form *>(&frmHaupt::Instance()));
    EXPECT_FALSE(frmHaupt::Instance().IsLoaded()) << "naming the main window loads nothing";
}

TEST_F(Meldung, TheLayoutHasTheSizesFontsAndColoursOfTheBox)
{
    frmMeldung &box = frmMeldung::Instance();
    box.setText(QStringLiteral("Alle Boote wurden gesetzt.") + CRLF + CRLF + QStringLiteral("Bist Du mit der Aufstellung zufrieden?"));
    QWidget *w = box.Window();
    EXPECT_EQ(box.ScaleWidth(), 354);
    EXPECT_EQ(box.ScaleHeight(), 141);
    EXPECT_EQ(w->windowTitle(), QString());

    auto *back = control<PictureBox>(box, "picHintergrund");
    EXPECT_EQ(back->geometry(), QRect(2, 2, 349, 137));
    EXPECT_EQ(back->Picture().size(), QSize(401, 198));

    Label *label = lblMeldung();
    EXPECT_EQ(QRect(label->Left(), label->Top(), label->Width(), label->Height()), QRect(16, 16, 313, 57));
    EXPECT_EQ(label->Alignment(), vbCenter);
    EXPECT_EQ(label->BackStyle(), vbOpaque);
    EXPECT_EQ(label->BackColor(), 0x00FFC0C0u);
    const QFontInfo labelFont(label->font());
    EXPECT_EQ(labelFont.family(), QStringLiteral("Liberation Serif"));
    EXPECT_TRUE(labelFont.bold());
    EXPECT_EQ(labelFont.pixelSize(), 15); // 11.25 pt at 96 dpi

    auto *yes = control<CommandButton>(box, "cmdOK");
    auto *no = control<CommandButton>(box, "cmdAbbruch");
    EXPECT_EQ(QRect(yes->Left(), yes->Top(), yes->Width(), yes->Height()), QRect(88, 96, 73, 25));
    EXPECT_EQ(QRect(no->Left(), no->Top(), no->Width(), no->Height()), QRect(168, 96, 73, 25));
    EXPECT_EQ(yes->Caption(), QStringLiteral("&Ja"));
    EXPECT_EQ(no->Caption(), QStringLiteral("&Nein"));
    for (CommandButton *b : {yes, no}) {
        EXPECT_EQ(b->Style(), vbButtonGraphical);
        EXPECT_EQ(b->BackColor(), 0x00FFC0C0u);
        const QFontInfo f(b->font());
        EXPECT_EQ(f.family(), QStringLiteral("Liberation Sans"));
        EXPECT_TRUE(f.bold());
        EXPECT_EQ(f.pixelSize(), 11); // 8.25 pt
    }

    box.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    // Tab order: the picture box first, then "Nein", then "Ja".
    EXPECT_EQ(w->focusWidget(), back);
    QTest::keyClick(back, Qt::Key_Tab);
    EXPECT_EQ(w->focusWidget(), no);
    QTest::keyClick(no, Qt::Key_Tab);
    EXPECT_EQ(w->focusWidget(), yes);
    back->setFocus();

    const QImage shot = w->grab().toImage();
    saveGrab(w, QStringLiteral("frmMeldung.png"));
    // The light blue of the message area and of both button faces.
    const QColor lightBlue(192, 192, 255);
    EXPECT_EQ(colourAt(shot, QPoint(back->x() + 1 + 16 + 3, back->y() + 1 + 16 + 50)), lightBlue);
    EXPECT_EQ(colourAt(shot, yes->mapTo(w, QPoint(8, 5))), lightBlue);
    EXPECT_EQ(colourAt(shot, no->mapTo(w, QPoint(8, 5))), lightBlue);
    box.Unload();
}

TEST_F(Meldung, EveryQuestionOfTheGameFitsTheMessageArea)
{
    const QStringList questions{
        QStringLiteral("Alle Boote wurden gesetzt.") + CRLF + CRLF + QStringLiteral("Bist Du mit der Aufstellung zufrieden?"),
        CRLF + QStringLiteral("Willst Du das Spiel wirklich beenden?"),
        CRLF + QStringLiteral("Soll die Top-Ten wirklich gelöscht werden?"),
    };
    Label *label = lblMeldung();
    const QFontMetrics fm(label->font());
    for (const QString &q : questions) {
        label->setCaption(q);
        const QRect needed = fm.boundingRect(QRect(0, 0, label->width(), 1000), Qt::TextWordWrap | Qt::AlignHCenter,
                                             label->text());
        EXPECT_LE(needed.height(), label->height()) << q.toStdString();
        EXPECT_LE(needed.width(), label->width()) << q.toStdString();
        EXPECT_EQ(label->text().count(QLatin1Char('\n')), q.count(CRLF)) << "each CR LF breaks the line once";
    }
    frmMeldung::Instance().Unload();
}

TEST_F(Meldung, SettingTextLoadsTheBoxCentredOverTheMainWindowWithoutShowingIt)
{
    frmMeldung &box = frmMeldung::Instance();
    EXPECT_FALSE(box.Ergebnis()) << "no question answered yet";
    EXPECT_FALSE(box.IsLoaded()) << "reading the answer loads nothing";

    box.setText(CRLF + QStringLiteral("Willst Du das Spiel wirklich beenden?"));
    ASSERT_TRUE(box.IsLoaded());
    EXPECT_FALSE(box.Visible());
    EXPECT_EQ(box.Text(), CRLF + QStringLiteral("Willst Du das Spiel wirklich beenden?"));
    EXPECT_EQ(lblMeldung()->Caption(), box.Text());
    EXPECT_EQ(box.Top(), onPixels(owner().Top() + HalfDifference(owner().Height(), box.Height())));
    EXPECT_EQ(box.Left(), onPixels(owner().Left() + HalfDifference(owner().Width(), box.Width())));

    // A new text while loaded: the box stays where it is.
    const QPoint before(box.Left(), box.Top());
    owner().setLeft(owner().Left() + 3000);
    box.setText(QStringLiteral("Noch eine Frage?"));
    EXPECT_EQ(QPoint(box.Left(), box.Top()), before);
    EXPECT_EQ(lblMeldung()->Caption(), QStringLiteral("Noch eine Frage?"));

    // Loaded anew, it is centred anew.
    box.Unload();
    box.setText(QStringLiteral("Und noch eine?"));
    EXPECT_EQ(box.Left(), onPixels(owner().Left() + HalfDifference(owner().Width(), box.Width())));
    box.Unload();
}

TEST_F(Meldung, AnEmptyTextLeavesTheAreaBlankAndShowsNothing)
{
    frmMeldung &box = frmMeldung::Instance();
    box.setText(QString());
    EXPECT_FALSE(box.Visible());
    Label *label = lblMeldung();
    EXPECT_TRUE(label->text().isEmpty());
    box.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box.Window()));
    const QImage area = label->grab().toImage();
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            ASSERT_EQ(area.pixelColor(x, y), QColor(192, 192, 255)) << x << "," << y;
    box.Unload();
}

TEST_F(Meldung, ATextThatBeginsWithCrLfShowsAnEmptyFirstLine)
{
    frmMeldung &box = frmMeldung::Instance();
    box.Show();
    Label *label = lblMeldung();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box.Window()));
    auto firstInkRow = [label] {
        const QImage shot = label->grab().toImage();
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (shot.pixelColor(x, y).lightness() < 100)
                    return int(y / shot.devicePixelRatio());
        return -1;
    };
    box.setText(QStringLiteral("Willst Du das Spiel wirklich beenden?"));
    const int plain = firstInkRow();
    box.setText(CRLF + QStringLiteral("Willst Du das Spiel wirklich beenden?"));
    const int broken = firstInkRow();
    ASSERT_GE(plain, 0);
    EXPECT_NEAR(broken - plain, QFontMetrics(label->font()).lineSpacing(), 1) << "one empty line above";
    saveGrab(box.Window(), QStringLiteral("frmMeldung_quit.png"));
    box.Unload();
}

TEST_F(Meldung, TheAnswerIsReadAfterTheModalShowAndTheLatestPressCounts)
{
    frmMeldung &box = frmMeldung::Instance();
    box.setText(QStringLiteral("Erste Frage?"));
    showModallyWhile([](QWidget *w) { QTest::mouseClick(w->findChild<CommandButton *>("cmdOK"), Qt::LeftButton); });
    EXPECT_TRUE(box.Ergebnis());
    EXPECT_FALSE(box.IsLoaded()) << "an answer closes the box";
    EXPECT_EQ(box.Text(), QStringLiteral("Erste Frage?")) << "the text outlives the window";

    box.setText(QStringLiteral("Zweite Frage?"));
    EXPECT_TRUE(box.Ergebnis()) << "a new question keeps the last answer until it is answered";
    showModallyWhile([](QWidget *w) { QTest::mouseClick(w->findChild<CommandButton *>("cmdAbbruch"), Qt::LeftButton); });
    EXPECT_FALSE(box.Ergebnis());
}

TEST_F(Meldung, ClosingTheBoxAnotherWayKeepsTheOldAnswer)
{
    frmMeldung &box = frmMeldung::Instance();
    box.setText(QStringLiteral("Frage?"));
    showModallyWhile([](QWidget *w) { w->close(); });
    EXPECT_FALSE(box.IsLoaded());
    EXPECT_FALSE(box.Ergebnis()) << "False when no question was ever answered";

    box.setErgebnis(true);
    box.setText(QStringLiteral("Frage?"));
    showModallyWhile([](QWidget *w) { w->close(); });
    EXPECT_TRUE(box.Ergebnis());
}

TEST_F(Meldung, AltWithTheMnemonicsAnswersAndEnterOrEscGiveNoAnswer)
{
    frmMeldung &box = frmMeldung::Instance();
    box.setText(QStringLiteral("Frage?"));
    bool stoodAfterEnterAndEsc = false;
    showModallyWhile([&](QWidget *w) {
        for (QWidget *target : {w, w->focusWidget()}) {
            QTest::keyClick(target, Qt::Key_Return);
            QTest::keyClick(target, Qt::Key_Enter);
            QTest::keyClick(target, Qt::Key_Escape);
        }
        stoodAfterEnterAndEsc = box.IsLoaded() && box.Visible();
        QTest::keyClick(w, Qt::Key_J, Qt::AltModifier);
    });
    EXPECT_TRUE(stoodAfterEnterAndEsc);
    EXPECT_TRUE(box.Ergebnis());

    box.setText(QStringLiteral("Frage?"));
    showModallyWhile([](QWidget *w) { QTest::keyClick(w, Qt::Key_N, Qt::AltModifier); });
    EXPECT_FALSE(box.Ergebnis());
}

// ---- the splash -------------------------------------------------------------

TEST(Start, TheSplashIsCentredOnTheScreenAndShowsTheProgramsVersion)
{
    QCoreApplication::setApplicationVersion(QStringLiteral(MURVEL_VERSION));
    EXPECT_EQ(QStringLiteral(MURVEL_VERSION), QStringLiteral("1.0.5"));
    EXPECT_EQ(App::Major(), 1);
    EXPECT_EQ(App::Minor(), 0);
    EXPECT_EQ(App::Revision(), 5);

    frmStart &splash = frmStart::Instance();
    splash.Load();
    // Left first, from the outer measures the window has when it loads.
    const int width = splash.Width(), height = splash.Height();
    EXPECT_EQ(splash.Left(), onPixels(HalfDifference(Screen::Width(), width)));
    EXPECT_EQ(splash.Top(), onPixels(HalfDifference(Screen::Height(), height)));
    splash.Show();
    EXPECT_EQ(splash.Left(), onPixels(HalfDifference(Screen::Width(), width))) << "the frame stays where it was put";
    QWidget *w = splash.Window();
    EXPECT_EQ(splash.ScaleWidth(), 307);
    EXPECT_EQ(splash.ScaleHeight(), 165);
    EXPECT_EQ(w->windowTitle(), QString());
    auto *label = control<Label>(splash, "lblVersion");
    EXPECT_EQ(label->Caption(), QStringLiteral("Version 1.0.5"));
    EXPECT_EQ(QRect(label->Left(), label->Top(), label->Width(), label->Height()), QRect(152, 88, 129, 23));
    const QFontInfo f(label->font());
    EXPECT_EQ(f.family(), QStringLiteral("Liberation Serif"));
    EXPECT_TRUE(f.bold());
    EXPECT_EQ(f.pixelSize(), 16); // 12 pt
    EXPECT_EQ(label->BackStyle(), vbOpaque);
    EXPECT_EQ(label->BackColor(), 0x00FFFFFFu);

    auto *picture = control<PictureBox>(splash, "picHinten");
    EXPECT_EQ(picture->geometry(), QRect(1, 3, 305, 161));
    EXPECT_EQ(picture->Picture().size(), QSize(300, 160));

    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    saveGrab(w, QStringLiteral("frmStart.png"));
    const QImage shot = w->grab().toImage();
    EXPECT_EQ(colourAt(shot, label->mapTo(w, QPoint(2, 2))), QColor(Qt::white));
    splash.Unload();
}

TEST(Start, TheNoticeFitsItsLineInWhiteOnThePicture)
{
    frmStart &splash = frmStart::Instance();
    auto *notice = control<Label>(splash, "lblHinweis");
    EXPECT_FALSE(notice->Caption().isEmpty());
    EXPECT_EQ(QRect(notice->Left(), notice->Top(), notice->Width(), notice->Height()), QRect(149, 144, 151, 13));
    EXPECT_EQ(notice->BackStyle(), vbTransparent);
    EXPECT_EQ(notice->ForeColor(), 0x00FFFFFFu);
    const QFontMetrics fm(notice->font());
    EXPECT_LE(fm.horizontalAdvance(notice->Caption()), notice->width());
    EXPECT_LE(fm.height(), notice->height());
    EXPECT_EQ(QFontInfo(notice->font()).family(), QStringLiteral("Liberation Sans"));
    splash.Unload();
}

TEST(Start, VersionNumbersOfSeveralDigitsAreWrittenInFull)
{
    QCoreApplication::setApplicationVersion(QStringLiteral("1.12.105"));
    frmStart &splash = frmStart::Instance();
    auto *label = control<Label>(splash, "lblVersion");
    EXPECT_EQ(label->Caption(), QStringLiteral("Version 1.12.105"));
    const QFontMetrics fm(label->font());
    EXPECT_LE(fm.horizontalAdvance(label->Caption()), label->width());
    splash.Unload();
}

TEST(Start, TheTimerIsOffAtLoadAndItsFirstTickUnloadsTheSplash)
{
    frmStart &splash = frmStart::Instance();
    splash.Show();
    auto *timer = control<Timer>(splash, "timUhr");
    EXPECT_FALSE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 2000);
    QTest::qWait(50);
    EXPECT_TRUE(splash.IsLoaded());
    timer->setInterval(20);
    timer->setEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !splash.IsLoaded(); }, 20000));
}
