#include "runtime/picturebox.h"
#include "support/test_input.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kRed = 0xFFFF0000;

QRgb at(const PictureBox &box, int x, int y)
{
    return box.Image().pixel(x, y);
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

} // namespace

TEST(PictureBox, OuterSizeHasAOnePixelBorderAroundTheDrawingArea)
{
    PictureBox box;
    box.setWidth(253);
    box.setHeight(203);
    EXPECT_EQ(box.Width(), 253);
    EXPECT_EQ(box.Height(), 203);
    EXPECT_EQ(box.ScaleWidth(), 251);
    EXPECT_EQ(box.ScaleHeight(), 201);
    EXPECT_EQ(box.Image().size(), QSize(251, 201));

    box.setBackColor(RGB(0, 255, 0));
    box.Line(0, 0, 0, 0, 0xFF0000, PictureBox::LineKind::BF);
    box.show();
    const QImage shown = box.grab().toImage();
    ASSERT_EQ(shown.size(), QSize(253, 203));
    EXPECT_EQ(shown.pixel(0, 0), kBlack);
    EXPECT_EQ(shown.pixel(252, 202), kBlack);
    EXPECT_EQ(shown.pixel(1, 1), kBlue) << "drawing-area pixel (0, 0) sits inside the border";
    EXPECT_EQ(shown.pixel(2, 2), 0xFF00FF00u);
}

TEST(PictureBox, DrawingPersistsUntilClsAndSurvivesRepaintsAndGrowth)
{
    PictureBox box;
    box.setWidth(50);
    box.setHeight(40);
    box.Line(5, 5, 10, 10, 0x0000FF, PictureBox::LineKind::BF);
    box.show();
    box.hide();
    box.show();
    EXPECT_EQ(box.grab().toImage().pixel(6, 6), kRed);

    box.setWidth(80);
    EXPECT_EQ(at(box, 5, 5), kRed) << "a larger box keeps what was drawn";
    EXPECT_EQ(at(box, 70, 5), kWhite) << "new room shows the background";

    box.setBackColor(RGB(10, 20, 30));
    EXPECT_EQ(at(box, 5, 5), qRgb(10, 20, 30)) << "a new background colour clears the box";
    box.Line(1, 1, 2, 2, 0, PictureBox::LineKind::BF);
    box.Cls();
    for (int y = 0; y < box.ScaleHeight(); ++y)
        for (int x = 0; x < box.ScaleWidth(); ++x)
            ASSERT_EQ(at(box, x, y), qRgb(10, 20, 30)) << x << "," << y;
}

TEST(PictureBox, LinesLeaveOutTheirLastPointAndAreClipped)
{
    PictureBox box;
    box.setWidth(30);
    box.setHeight(30);
    box.setDrawWidth(1);
    box.Line(0, 5, 10, 5, 0);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(at(box, x, 5), kBlack) << x;
    EXPECT_EQ(at(box, 10, 5), kWhite);
    EXPECT_EQ(at(box, 0, 4), kWhite) << "one pixel wide";
    EXPECT_EQ(at(box, 0, 6), kWhite);

    // Far ends beyond the drawing area: the line crosses it whole.
    box.Line(20, 0, 20, 30, 0);
    for (int y = 0; y < 28; ++y)
        EXPECT_EQ(at(box, 20, y), kBlack) << y;
    box.Line(-50, -50, 500, 500, 0x00FF00);
    EXPECT_EQ(at(box, 27, 27), qRgb(0, 255, 0));
}

TEST(PictureBox, FilledBoxIncludesBothCornersAndReadsColoursAsBlueGreenRed)
{
    PictureBox box;
    box.setWidth(253);
    box.setHeight(203);
    box.Line(26, 51, 49, 74, 0xFF0000, PictureBox::LineKind::BF);
    EXPECT_EQ(at(box, 26, 51), kBlue);
    EXPECT_EQ(at(box, 49, 74), kBlue);
    EXPECT_EQ(at(box, 49, 51), kBlue);
    EXPECT_EQ(at(box, 25, 51), kWhite);
    EXPECT_EQ(at(box, 50, 74), kWhite);
    EXPECT_EQ(at(box, 26, 75), kWhite);
    EXPECT_EQ(at(box, 26, 50), kWhite);

    // The corners may come in either order.
    box.Line(10, 10, 5, 5, RGB(1, 2, 3), PictureBox::LineKind::BF);
    EXPECT_EQ(at(box, 5, 5), qRgb(1, 2, 3));
    EXPECT_EQ(at(box, 10, 10), qRgb(1, 2, 3));

    box.Line(100, 100, 104, 103, 0, PictureBox::LineKind::B);
    EXPECT_EQ(at(box, 100, 100), kBlack);
    EXPECT_EQ(at(box, 104, 103), kBlack);
    EXPECT_EQ(at(box, 102, 101), kWhite) << "an outlined box stays hollow";
}

TEST(PictureBox, PaintPictureScalesTheWholePictureIntoTheRectangle)
{
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 255, 0));
    picture.setPixel(0, 1, qRgb(0, 0, 255));
    picture.setPixel(1, 1, qRgb(255, 255, 0));

    PictureBox box;
    box.setWidth(60);
    box.setHeight(60);
    box.PaintPicture(picture, 1, 1, 24, 24);
    EXPECT_EQ(at(box, 0, 0), kWhite) << "nothing outside the rectangle";
    EXPECT_EQ(at(box, 25, 25), kWhite);
    EXPECT_EQ(at(box, 1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(at(box, 24, 1), qRgb(0, 255, 0));
    EXPECT_EQ(at(box, 1, 24), qRgb(0, 0, 255));
    EXPECT_EQ(at(box, 24, 24), qRgb(255, 255, 0));

    // A plain copy over what was there, also in another size.
    box.PaintPicture(QImage(), 1, 1, 24, 24);
    box.PaintPicture(picture, 1, 1, 2, 2);
    EXPECT_EQ(at(box, 2, 2), qRgb(255, 255, 0));
    EXPECT_EQ(at(box, 3, 3), qRgb(255, 0, 0)) << "the earlier, larger copy is still there";
}

TEST(PictureBox, RefreshPaintsAtOnceWhileShown)
{
    PictureBox box;
    box.setWidth(40);
    box.setHeight(40);
    PaintCounter counter;
    box.installEventFilter(&counter);
    box.Refresh();
    EXPECT_EQ(counter.count, 0) << "a hidden box has nothing to show";
    box.show();
    QCoreApplication::processEvents();
    const int before = counter.count;
    box.Line(0, 0, 5, 5, 0, PictureBox::LineKind::BF);
    box.Refresh();
    EXPECT_EQ(counter.count, before + 1);
}

TEST(PictureBox, MouseEventsReportButtonShiftAndDrawingAreaPixels)
{
    PictureBox box;
    box.setWidth(100);
    box.setHeight(100);
    box.show();
    QSignalSpy down(&box, &PictureBox::MouseDown);
    QSignalSpy move(&box, &PictureBox::MouseMove);

    QTest::mousePress(&box, Qt::LeftButton, Qt::ShiftModifier, QPoint(11, 21));
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down[0][0].value<short>(), PictureBox::vbLeftButton);
    EXPECT_EQ(down[0][1].value<short>(), PictureBox::vbShiftMask);
    EXPECT_FLOAT_EQ(down[0][2].toFloat(), 10.0f);
    EXPECT_FLOAT_EQ(down[0][3].toFloat(), 20.0f);
    QTest::mouseRelease(&box, Qt::LeftButton, Qt::ShiftModifier, QPoint(11, 21));

    QTest::mousePress(&box, Qt::RightButton, Qt::ControlModifier | Qt::AltModifier, QPoint(1, 1));
    ASSERT_EQ(down.count(), 2);
    EXPECT_EQ(down[1][0].value<short>(), PictureBox::vbRightButton);
    EXPECT_EQ(down[1][1].value<short>(), PictureBox::vbCtrlMask | PictureBox::vbAltMask);
    EXPECT_FLOAT_EQ(down[1][2].toFloat(), 0.0f);
    QTest::mouseRelease(&box, Qt::RightButton, {}, QPoint(1, 1));

    testinput::hover(&box, QPoint(31, 41));
    ASSERT_GE(move.count(), 1);
    EXPECT_EQ(move.last()[0].value<short>(), 0);
    EXPECT_FLOAT_EQ(move.last()[2].toFloat(), 30.0f);
    EXPECT_FLOAT_EQ(move.last()[3].toFloat(), 40.0f);

    box.setEnabled(false);
    EXPECT_FALSE(box.Enabled());
    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(11, 21));
    EXPECT_EQ(down.count(), 2) << "a disabled box takes no clicks";
}
