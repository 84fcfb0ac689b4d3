// The toolbar, its inner window and its styles; the image list.
#include "comctl/imagelist.h"
#include "comctl/toolbar.h"
#include "support/test_input.h"
#include "user32/user32.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

namespace {

QImage dot(QColor colour)
{
    QImage picture(20, 16, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    picture.setPixelColor(10, 8, colour);
    return picture;
}

class ToolbarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        images.Add(dot(Qt::red));
        images.Add(dot(Qt::blue));
        toolbar.setImageList(&images);
        toolbar.Buttons().Add("keyNew", "&Neues Spiel", 1).setToolTipText("Neues Spiel beginnen.");
        toolbar.Buttons().Add("keyTop10", "&Top 10", 2);
        toolbar.resize(400, 80);
        toolbar.show();
        inner = FindWindowExA(toolbar.hWnd(), 0, "msvb_lib_toolbar", nullptr);
    }

    DWORD style() { return static_cast<DWORD>(SendMessageA(inner, TB_GETSTYLE, 0, 0)); }
    void setStyle(DWORD s) { SendMessageA(inner, TB_SETSTYLE, 0, static_cast<LPARAM>(s)); }

    ImageList images;
    Toolbar toolbar;
    HWND inner = 0;
};

} // namespace

TEST_F(ToolbarTest, TheInnerWindowCarriesTheButtonsAndAnswersTheStyleMessages)
{
    ASSERT_NE(inner, 0);
    EXPECT_EQ(WidgetOf(inner), toolbar.innerWindow());
    EXPECT_EQ(GetParent(inner), toolbar.hWnd());
    EXPECT_EQ(style(), CCS_TOP | TBSTYLE_TOOLTIPS);
    setStyle(style() | TBSTYLE_FLAT);
    EXPECT_EQ(style(), CCS_TOP | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT);
    EXPECT_EQ(toolbar.Buttons().Count(), 2);
    EXPECT_EQ(toolbar.Buttons().Item("keyTop10")->Index(), 2);
    EXPECT_EQ(toolbar.Buttons().Item("nix"), nullptr);
}

TEST_F(ToolbarTest, ButtonsSitByTheirStyleAndListStyleSetsCaptionsBesideThePictures)
{
    const int belowWidth = toolbar.ButtonWidth();
    const int belowHeight = toolbar.ButtonHeight();
    EXPECT_GT(belowHeight, images.ImageHeight() + QFontMetrics(toolbar.innerWindow()->font()).height());
    EXPECT_EQ(toolbar.Buttons()(1).Top(), 4) << "raised buttons below the divider";
    EXPECT_EQ(toolbar.Buttons()(2).Left(), toolbar.Buttons()(1).Left() + belowWidth);

    setStyle(style() | CCS_NODIVIDER | TBSTYLE_FLAT);
    EXPECT_EQ(toolbar.Buttons()(1).Top(), 0);
    EXPECT_EQ(toolbar.Buttons()(1).Left(), 0);

    setStyle(style() | TBSTYLE_LIST);
    EXPECT_GT(toolbar.ButtonWidth(), belowWidth);
    EXPECT_LT(toolbar.ButtonHeight(), belowHeight);
}

TEST_F(ToolbarTest, WithoutNoResizeTheInnerWindowSpansTheToolbarWithIt)
{
    QWidget *window = WidgetOf(inner);
    EXPECT_EQ(window->width(), 400);
    EXPECT_EQ(window->height(), toolbar.sizeHint().height());
    setStyle(style() | CCS_NORESIZE);
    window->resize(50, 20);
    toolbar.resize(500, 80);
    EXPECT_EQ(window->size(), QSize(50, 20));
}

TEST_F(ToolbarTest, AClickNamesItsButtonAndMovesAreReported)
{
    QSignalSpy clicks(&toolbar, &Toolbar::ButtonClick);
    QSignalSpy moves(&toolbar, &Toolbar::MouseMove);
    QWidget *window = WidgetOf(inner);
    const QPoint second = toolbar.innerWindow()->buttonRect(2).center();

    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, second);
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).value<ToolbarButton *>()->Key(), "keyTop10");

    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, second);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, QPoint(second.x(), 200));
    EXPECT_EQ(clicks.count(), 1) << "released away from the button: no click";

    testinput::hover(window, QPoint(3, 5));
    ASSERT_GE(moves.count(), 1);
    EXPECT_FLOAT_EQ(moves.last().at(2).toFloat(), 3.0f);
}

TEST_F(ToolbarTest, WmPaintRepaintsAtOnceAndImagesChangeTheLook)
{
    const HDC dc = GetDC(toolbar.hWnd());
    EXPECT_EQ(SendMessageA(toolbar.hWnd(), WM_PAINT, static_cast<WPARAM>(dc), 0), 0);
    EXPECT_EQ(ReleaseDC(toolbar.hWnd(), dc), 1);

    ToolbarButton &first = toolbar.Buttons()(1);
    const QRect r = toolbar.innerWindow()->buttonRect(1);
    const QPoint centre(r.left() + (r.width() - 20) / 2 + 10, r.top() + 3 + 8); // the dot of picture 1
    EXPECT_EQ(toolbar.innerWindow()->grab().toImage().pixelColor(centre), QColor(Qt::red));
    first.setImage(2);
    EXPECT_EQ(toolbar.innerWindow()->grab().toImage().pixelColor(centre), QColor(Qt::blue));
}

TEST(ImageListTest, BackgroundColourShowsBehindThePicturesUntilItIsNone)
{
    ImageList images;
    EXPECT_EQ(images.Add(dot(Qt::red)), 1);
    EXPECT_EQ(images.ImageWidth(), 20);
    const HIMAGELIST handle = images.hImageList();
    ASSERT_NE(handle, 0);
    EXPECT_EQ(images.Picture(1).toImage().pixelColor(0, 0), QColor(212, 208, 200));

    EXPECT_EQ(ImageList_SetBkColor(handle, CLR_NONE), ImageList::DefaultBackColor);
    EXPECT_EQ(images.Picture(1).toImage().pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(images.Picture(1).toImage().pixelColor(10, 8), QColor(Qt::red));
    EXPECT_EQ(ImageList_SetBkColor(handle, RGB(0, 0, 255)), CLR_NONE);
    EXPECT_EQ(images.Picture(1).toImage().pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_TRUE(images.Picture(2).isNull());
    EXPECT_TRUE(images.Picture(0).isNull());

    EXPECT_EQ(ImageList_SetBkColor(handle + 1000, 0), CLR_NONE) << "no such list";
    HIMAGELIST gone = 0;
    {
        ImageList temporary;
        gone = temporary.hImageList();
        EXPECT_NE(gone, handle);
    }
    EXPECT_EQ(ImageList_GetBkColor(gone), CLR_NONE);
}
