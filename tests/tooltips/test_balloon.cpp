// The balloon a player sees: the game's help balloon over a window, with its
// title, icon and the text its owner answers, gone when switched off.
#include "client.h"

#include "support/test_env.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QScreen>
#include <QTest>

using namespace Pellwick;
using namespace tooltiptest;

TEST(Balloon, ShowsTheHelpTextOverTheWindowAndGoesWhenDisabled)
{
    OwnerWindow owner;
    owner.widget->setWindowTitle("Murvel");
    owner.widget->move(100, 100);
    QTest::qWait(50);
    Client c;
    ASSERT_EQ(c.created, S_OK);
    c.needText = "Drücke  'Neues Spiel'\r\nund der Spaß kann losgehen!";

    c.tips->Init(Pellwick::TTS_BALLOON);
    com::Bstr title(QStringLiteral("Spielhilfe"));
    TT_TITELICON icon = Pellwick::TTI_INFOICON;
    VARIANT_BOOL ok = VARIANT_FALSE;
    c.tips->SetTitle(title.ref(), &icon, &ok);
    EXPECT_EQ(ok, VARIANT_TRUE);
    LONG h = owner.hwnd, l = 0, t = 0, r = owner.widget->width(), b = owner.widget->height();
    c.tips->AddTTRectCB(&h, &l, &t, &r, &b, static_cast<TT_Flags>(0), 100, &ok);
    EXPECT_EQ(ok, VARIANT_TRUE);
    c.tips->SetTrackActivate(VARIANT_TRUE, owner.hwnd, 100, &ok);
    const QPoint at = owner.widget->mapToGlobal(QPoint(200, 150));
    c.tips->SetTrackPosition(at.x(), at.y(), &ok);
    QApplication::processEvents();

    LONG tip = 0;
    c.tips->get_hwnd(&tip);
    QWidget *balloon = WidgetOf(tip);
    ASSERT_NE(balloon, nullptr);
    EXPECT_TRUE(balloon->isVisible());
    // It stands at the tracking point, over the window.
    const QRect onScreen = balloon->frameGeometry();
    EXPECT_TRUE(onScreen.intersects(owner.widget->frameGeometry()));
    EXPECT_LE((onScreen.topLeft() - at).manhattanLength(), 60) << onScreen.x() << "," << onScreen.y();
    ASSERT_FALSE(c.events.empty());
    EXPECT_EQ(c.events.front().id, dispid::NeedText);
    EXPECT_EQ(c.events.front().toolId, 100);

    const QImage picture = balloon->grab().toImage();
    const QString file = QDir(testenv::buildDir()).filePath("tests/balloon-spielhilfe.png");
    picture.save(file);
    EXPECT_GT(picture.width(), 150);
    EXPECT_GT(picture.height(), 40);
    // Under a real X server, the whole screen as well: window and balloon.
    if (QGuiApplication::platformName() == "xcb")
        QGuiApplication::primaryScreen()->grabWindow(0).save(QDir(testenv::buildDir()).filePath("tests/balloon-screen.png"));

    c.tips->put_Enabled(VARIANT_FALSE);
    QApplication::processEvents();
    EXPECT_FALSE(balloon->isVisible());
}
