// The CoolBar's bands, and the whole bar as the main window will show it:
// a background picture, a flat transparent toolbar in band "NavBand" and a
// band "PicBand" with its own picture.
#include "TransTBWrapper.h"
#include "comctl/coolbar.h"
#include "comctl/imagelist.h"
#include "comctl/toolbar.h"
#include "support/test_env.h"
#include "support/test_input.h"
#include "user32/user32.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QTest>

#include <cmath>

namespace {

// A sea under a pale sky, 700 x 50: a gradient with wave lines, so that no two
// neighbouring pixels need agree and a toolbar painting over it shows.
QImage barPicture()
{
    QImage picture(700, 50, QImage::Format_RGB32);
    QPainter p(&picture);
    QLinearGradient sky(0, 0, 700, 50);
    sky.setColorAt(0, QColor(110, 170, 225));
    sky.setColorAt(1, QColor(175, 225, 240));
    p.fillRect(picture.rect(), sky);
    p.setPen(QPen(QColor(240, 250, 255), 1));
    for (int y = 6; y < 50; y += 9) {
        QPolygon wave;
        for (int x = 0; x <= 700; x += 4)
            wave << QPoint(x, y + static_cast<int>(std::lround(2.5 * std::sin((x + y * 7) / 14.0))));
        p.drawPolyline(wave);
    }
    return picture;
}

// A lighthouse band picture, 90 x 60.
QImage bandPicture()
{
    QImage picture(90, 60, QImage::Format_RGB32);
    picture.fill(QColor(250, 220, 150));
    QPainter p(&picture);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    p.drawRect(38, 10, 14, 50);
    p.setBrush(QColor(255, 250, 200));
    p.drawEllipse(QPoint(45, 10), 9, 9);
    return picture;
}

// Five button pictures, 49 x 40, on a transparent ground.
QImage buttonPicture(int i)
{
    QImage picture(49, 40, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colours[] = {QColor(230, 90, 40), QColor(90, 170, 60), QColor(240, 200, 40), QColor(170, 60, 170),
                              QColor(60, 120, 230)};
    p.setBrush(colours[i - 1]);
    p.setPen(QPen(Qt::black, 2));
    switch (i) {
    case 1: p.drawEllipse(QRect(12, 8, 25, 25)); break;                       // a new ball
    case 2: p.drawRect(QRect(10, 10, 29, 20)); break;                         // settings panel
    case 3: p.drawPolygon(QPolygon({QPoint(24, 4), QPoint(31, 30), QPoint(17, 30)})); break; // cup
    case 4: p.drawRect(QRect(16, 6, 17, 28)); break;                          // door
    default: p.drawEllipse(QRect(14, 6, 21, 21)); p.drawText(QRect(14, 6, 21, 21), Qt::AlignCenter, "?"); break;
    }
    return picture;
}

QColor at(const QImage &image, QPoint p)
{
    return image.pixelColor(p);
}

} // namespace

TEST(CoolBarBands, ABandAdoptsTheWindowItsChildNamesAndLetsGoOfIt)
{
    QWidget window;
    CoolBar bar(&window);
    bar.resize(400, 40);
    CoolBarBand &one = bar.Bands().Add("eins", 20, 150);
    CoolBarBand &two = bar.Bands().Add("zwei", 30, 100);
    EXPECT_EQ(bar.Bands().Count(), 2);
    EXPECT_EQ(bar.Bands().Item("zwei"), &two);
    EXPECT_EQ(bar.height(), 30 + 2 * CoolBar::Border);

    QLabel plain("ohne hWnd", &window);
    one.setChild(&plain);
    EXPECT_EQ(plain.parentWidget(), &bar);
    EXPECT_EQ(plain.geometry(), QRect(CoolBar::Border + CoolBar::Grip, CoolBar::Border + 5, 150 - CoolBar::Grip - 2, 20));

    // A control may name another window for the band to hold.
    QLabel control("Steuerelement", &window);
    QLabel stand_in("Stellvertreter", &window);
    control.setProperty("hWnd", HandleOf(&stand_in));
    two.setChild(&control);
    EXPECT_EQ(two.Child(), &control);
    EXPECT_EQ(two.adoptedWindow(), HandleOf(&stand_in));
    EXPECT_EQ(stand_in.parentWidget(), &bar);
    EXPECT_EQ(control.parentWidget(), &window);
    EXPECT_EQ(stand_in.geometry().right(), bar.width() - 1 - 2 - CoolBar::Border) << "the last band fills the bar";

    window.show();
    two.setChild(nullptr);
    EXPECT_EQ(two.adoptedWindow(), 0);
    EXPECT_TRUE(stand_in.isHidden());
    EXPECT_FALSE(plain.isHidden());
}

TEST(CoolBarBands, AVerticalBarStacksItsBandsAndGrowsSideways)
{
    CoolBar bar;
    bar.resize(40, 300);
    bar.setOrientation(1);
    bar.Bands().Add("eins", 24, 100);
    bar.Bands().Add("zwei", 12, 50);
    EXPECT_EQ(bar.width(), 24 + 2 * CoolBar::Border);
    EXPECT_EQ(bar.bandRect(2).top(), CoolBar::Border + 100);
    EXPECT_EQ(bar.childRect(1).width(), 24);
    EXPECT_EQ(bar.childRect(1).top(), CoolBar::Border + CoolBar::Grip);
}

class CoolBarLook : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.setWindowTitle("Murvel");
        window.resize(700, 120);
        bar = new CoolBar(&window);
        bar->resize(700, 50);
        bar->setPicture(barPicture());
        wrapper = new TransTBWrapper(bar);
        bar->Bands().Add("NavBand", 53, 604);
        CoolBarBand &pic = bar->Bands().Add("PicBand", 29);
        pic.setPicture(bandPicture());
        pic.setWidth(90);
        bar->Bands().Item("NavBand")->setChild(wrapper);

        for (int i = 1; i <= 5; ++i)
            images.Add(buttonPicture(i));
        toolbar = new Toolbar(&window);
        toolbar->setImageList(&images);
        const char *buttons[][2] = {{"keyNew", "&Neues Spiel"}, {"keyOptionen", "&Optionen"}, {"keyTop10", "&Top 10"},
                                    {"keyEnde", "&Ausgang"},   {"keyHilfe", "&Hilfe"}};
        for (int i = 0; i < 5; ++i)
            toolbar->Buttons().Add(buttons[i][0], QString::fromUtf8(buttons[i][1]), i + 1);
        window.show();
        wrapper->setTransparent(true);
        wrapper->setToolbar(toolbar);
    }

    // The bar's picture where it is not covered by a band picture.
    QColor background(QPoint barPoint) const
    {
        const QImage picture = bar->Picture();
        return picture.pixelColor(barPoint.x() % picture.width(), barPoint.y() % picture.height());
    }

    QWidget window;
    CoolBar *bar = nullptr;
    TransTBWrapper *wrapper = nullptr;
    Toolbar *toolbar = nullptr;
    ImageList images;
};

TEST_F(CoolBarLook, TheToolbarIsFlatAndTransparentOverTheBarsPicture)
{
    const QImage shot = window.grab().toImage();
    shot.save(testenv::buildDir() + "/tests/coolbar_look.png");

    ToolbarWindow *inner = toolbar->innerWindow();
    ASSERT_EQ(inner->parentWidget(), bar);
    EXPECT_EQ(bar->height(), toolbar->ButtonHeight() + 2 * CoolBar::Border);

    // Corners and insides of every button, away from picture and caption,
    // show the bar's picture: no face, no raised edge, no divider.
    int checked = 0;
    for (int i = 1; i <= 5; ++i) {
        const QRect r = inner->buttonRect(i);
        for (QPoint p : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight(), r.topLeft() + QPoint(2, 2)}) {
            const QPoint onBar = inner->mapTo(bar, p);
            EXPECT_EQ(at(shot, bar->mapTo(&window, onBar)), background(onBar)) << "button " << i << " at " << p.x() << "," << p.y();
            ++checked;
        }
    }
    EXPECT_EQ(checked, 25);

    // The pictures themselves are drawn, with no background colour of their own.
    const QRect first = inner->buttonRect(1);
    const QPoint ballCentre = inner->mapTo(&window, QPoint(first.left() + (first.width() - 49) / 2 + 24, first.top() + 3 + 20));
    EXPECT_EQ(at(shot, ballCentre), QColor(230, 90, 40));
    const QPoint ballCorner = inner->mapTo(&window, QPoint(first.left() + (first.width() - 49) / 2 + 1, first.top() + 3 + 1));
    EXPECT_EQ(at(shot, ballCorner), background(inner->mapTo(bar, inner->mapFrom(&window, ballCorner))));

    // Under the mouse a flat button shows a thin raised edge.
    testinput::hover(inner, inner->buttonRect(3).center());
    const QImage hover = window.grab().toImage();
    hover.save(testenv::buildDir() + "/tests/coolbar_hover.png");
    EXPECT_EQ(at(hover, inner->mapTo(&window, inner->buttonRect(3).topLeft())), QColor(Qt::white));
    EXPECT_EQ(at(hover, inner->mapTo(&window, inner->buttonRect(2).topLeft())), at(shot, inner->mapTo(&window, inner->buttonRect(2).topLeft())));

    // The picture band shows its own picture.
    const QRect picBand = bar->bandRect(2);
    const QPoint inPicBand(picBand.left() + 45, picBand.top() + 30);
    EXPECT_EQ(at(shot, bar->mapTo(&window, inPicBand)), bandPicture().pixelColor(45, 30));
}

TEST_F(CoolBarLook, WithoutTransparentTheButtonsAreRaisedOnTheirFace)
{
    wrapper->setTransparent(false);
    const QImage shot = window.grab().toImage();
    shot.save(testenv::buildDir() + "/tests/coolbar_raised.png");
    ToolbarWindow *inner = toolbar->innerWindow();
    const QRect r = inner->buttonRect(2);
    EXPECT_EQ(at(shot, inner->mapTo(&window, r.topLeft() + QPoint(2, 2))), QColor(212, 208, 200));
    EXPECT_EQ(at(shot, inner->mapTo(&window, r.topLeft())), QColor(Qt::white));
    EXPECT_EQ(bar->height(), toolbar->ButtonHeight() + 2 * toolbar->Buttons()(1).Top() + 2 * CoolBar::Border);
}
