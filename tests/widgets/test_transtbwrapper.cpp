// The toolbar band wrapper, watched through a recording procedure on the
// toolbar's inner window.
#include "TransTBWrapper.h"
#include "comctl/coolbar.h"
#include "comctl/imagelist.h"
#include "comctl/toolbar.h"
#include "runtime/propertybag.h"
#include "user32/user32.h"

#include <gtest/gtest.h>

#include <QImage>

#include <vector>

namespace {

struct Sent {
    UINT msg;
    LPARAM lParam;
};

std::vector<Sent> innerMessages;
WNDPROC innerProc = nullptr;

LRESULT recordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    innerMessages.push_back({msg, lParam});
    return CallWindowProcA(innerProc, hwnd, msg, wParam, lParam);
}

int count(UINT msg)
{
    int n = 0;
    for (const Sent &s : innerMessages)
        n += s.msg == msg ? 1 : 0;
    return n;
}

class WrapperTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(700, 200);
        bar = new CoolBar(&window);
        bar->resize(700, 60);
        wrapper = new TransTBWrapper(bar);
        bar->Bands().Add("NavBand", 53, 600);
        bar->Bands().Add("PicBand", 29, 90);
        nav()->setChild(wrapper);

        toolbar = new Toolbar(&window);
        QImage picture(24, 20, QImage::Format_ARGB32);
        picture.fill(Qt::transparent);
        images.Add(picture);
        toolbar->setImageList(&images);
        toolbar->Buttons().Add("keyNew", "&Neues Spiel", 1);
        toolbar->Buttons().Add("keyEnde", "&Ausgang", 1);
        window.show();

        inner = FindWindowExA(toolbar->hWnd(), 0, "msvb_lib_toolbar", nullptr);
        originalStyle = static_cast<LONG>(SendMessageA(inner, TB_GETSTYLE, 0, 0));
        innerMessages.clear();
        innerProc = reinterpret_cast<WNDPROC>(
            SetWindowLongA(inner, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&recordingProc)));
    }

    CoolBarBand *nav() { return bar->Bands().Item("NavBand"); }
    LONG style() { return static_cast<LONG>(SendMessageA(inner, TB_GETSTYLE, 0, 0)); }

    QWidget window;
    CoolBar *bar = nullptr;
    TransTBWrapper *wrapper = nullptr;
    Toolbar *toolbar = nullptr;
    ImageList images;
    HWND inner = 0;
    LONG originalStyle = 0;
};

} // namespace

TEST_F(WrapperTest, TheBandHoldsTheWrappersWindowUntilAToolbarIsAttachedThenTheInnerWindow)
{
    const HWND own = HandleOf(wrapper);
    EXPECT_EQ(wrapper->hWnd(), own);
    EXPECT_EQ(nav()->adoptedWindow(), own);

    wrapper->setToolbar(toolbar);
    EXPECT_EQ(wrapper->Toolbar(), toolbar);
    EXPECT_EQ(wrapper->hWnd(), inner);
    EXPECT_EQ(nav()->Child(), wrapper);
    EXPECT_EQ(nav()->adoptedWindow(), inner);
    EXPECT_EQ(GetParent(inner), bar->hWnd());
    EXPECT_FALSE(toolbar->Visible());
    EXPECT_TRUE(WidgetOf(inner)->isVisible());
    EXPECT_FALSE(wrapper->isVisible()) << "the band let go of the wrapper's own window";
    EXPECT_EQ(WidgetOf(inner)->geometry(), bar->childRect(1));
}

TEST_F(WrapperTest, TransparentMakesTheToolbarFlatTransparentAndTheBandAsThickAsAButton)
{
    wrapper->setTransparent(true);
    EXPECT_TRUE(innerMessages.empty()) << "without a toolbar the value is only stored";
    wrapper->setToolbar(toolbar);

    ASSERT_EQ(count(TB_SETSTYLE), 1);
    EXPECT_EQ(style(), originalStyle | 0x0004 | 0x0040 | 0x0800 | 0x8000);
    EXPECT_EQ(nav()->MinHeight(), toolbar->ButtonHeight());
    EXPECT_EQ(ImageList_GetBkColor(images.hImageList()), CLR_NONE);

    innerMessages.clear();
    wrapper->setTransparent(true);
    EXPECT_TRUE(innerMessages.empty()) << "the same value again changes nothing";

    wrapper->setTransparent(false);
    EXPECT_EQ(style(), originalStyle | 0x0044);
    const int top = toolbar->Buttons()(1).Top();
    EXPECT_GT(top, 0) << "raised buttons keep a margin";
    EXPECT_EQ(nav()->MinHeight(), toolbar->ButtonHeight() + 2 * top);

    wrapper->setListStyle(true);
    EXPECT_EQ(style(), originalStyle | 0x0044 | 0x1000);
    EXPECT_TRUE(wrapper->ListStyle());
}

TEST_F(WrapperTest, AVerticalBarIsSizedByTheButtonWidth)
{
    bar->setOrientation(1);
    wrapper->setToolbar(toolbar);
    const int left = toolbar->Buttons()(1).Left();
    EXPECT_EQ(nav()->MinHeight(), toolbar->ButtonWidth() + 2 * left);
    wrapper->setTransparent(true);
    EXPECT_EQ(nav()->MinHeight(), toolbar->ButtonWidth());
}

TEST_F(WrapperTest, AStyleThatAlreadyMatchesIsNotSetAgainButTheBandIsSized)
{
    SendMessageA(inner, TB_SETSTYLE, 0, originalStyle | 0x0044);
    innerMessages.clear();
    nav()->setMinHeight(3);

    wrapper->setToolbar(toolbar);
    EXPECT_EQ(count(TB_SETSTYLE), 0);
    EXPECT_EQ(count(TB_GETSTYLE), 2); // the saved style and the comparison
    EXPECT_EQ(nav()->MinHeight(), toolbar->ButtonHeight() + 2 * toolbar->Buttons()(1).Top());
}

TEST_F(WrapperTest, AttachingAgainKeepsTheStyleFromBeforeTheFirstAttach)
{
    wrapper->setTransparent(true);
    wrapper->setToolbar(toolbar);
    innerMessages.clear();

    wrapper->setToolbar(toolbar);
    ASSERT_FALSE(innerMessages.empty());
    EXPECT_EQ(innerMessages.front().msg, TB_SETSTYLE);
    EXPECT_EQ(innerMessages.front().lParam, originalStyle);
    EXPECT_EQ(style(), originalStyle | 0x8844);

    wrapper->setToolbar(nullptr);
    EXPECT_EQ(style(), originalStyle);
}

TEST_F(WrapperTest, DetachingRestoresStyleAndParentAndGivesTheBandTheWrapperBack)
{
    wrapper->setTransparent(true);
    wrapper->setToolbar(toolbar);
    wrapper->setToolbar(nullptr);

    EXPECT_EQ(wrapper->Toolbar(), nullptr);
    EXPECT_EQ(style(), originalStyle);
    EXPECT_EQ(GetParent(inner), toolbar->hWnd());
    EXPECT_EQ(wrapper->hWnd(), HandleOf(wrapper));
    EXPECT_EQ(nav()->adoptedWindow(), HandleOf(wrapper));
    EXPECT_TRUE(wrapper->isVisible());
    EXPECT_FALSE(toolbar->Visible()) << "the old toolbar is not shown again";
    EXPECT_EQ(WidgetOf(inner)->width(), toolbar->width()) << "back home it spans its toolbar again";
}

TEST_F(WrapperTest, OutsideACoolBarTheStyleIsAppliedAndNoBandIsTouched)
{
    TransTBWrapper loose(&window);
    loose.setTransparent(true);
    loose.setToolbar(toolbar);
    EXPECT_EQ(style(), originalStyle | 0x8844);
    EXPECT_EQ(GetParent(inner), toolbar->hWnd());
    EXPECT_EQ(nav()->adoptedWindow(), HandleOf(wrapper));
    loose.setToolbar(nullptr);
}

TEST_F(WrapperTest, ABandThatNoLongerHoldsTheWrapperIsLeftAlone)
{
    nav()->setChild(nullptr);
    nav()->setMinHeight(7);
    wrapper->setToolbar(toolbar);
    EXPECT_EQ(nav()->MinHeight(), 7);
    EXPECT_EQ(nav()->adoptedWindow(), 0);
}

TEST_F(WrapperTest, ResizingTheWrapperFitsItToTheButtons)
{
    wrapper->setToolbar(toolbar);
    wrapper->resize(100, 5);
    wrapper->show(); // a hidden window hears of its new size when shown
    EXPECT_EQ(wrapper->height(), toolbar->ButtonHeight() + 2 * toolbar->Buttons()(1).Top());
}

TEST_F(WrapperTest, AToolbarOrBarThatGoesAwayLeavesNothingDangling)
{
    wrapper->setToolbar(toolbar);
    delete toolbar;
    EXPECT_FALSE(IsWindow(inner));
    EXPECT_EQ(wrapper->Toolbar(), nullptr);
    EXPECT_EQ(wrapper->hWnd(), HandleOf(wrapper));
    bar->Refresh();
    (void)bar->grab();

    toolbar = new Toolbar(&window);
    toolbar->Buttons().Add("k", "K");
    wrapper->setToolbar(toolbar);
    delete bar; // takes the wrapper and the adopted inner window with it
    EXPECT_EQ(toolbar->innerWindow(), nullptr);
    EXPECT_EQ(toolbar->Buttons()(1).Top(), 0);
    EXPECT_GT(toolbar->ButtonHeight(), 0);
}

TEST(WrapperProperties, OnlyValuesOtherThanTheDefaultAreWrittenAndReadingSetsThem)
{
    TransTBWrapper wrapper;
    PropertyBag bag;
    wrapper.UserControl_WriteProperties(bag);
    EXPECT_TRUE(bag.Names().isEmpty());

    wrapper.setTransparent(true);
    wrapper.UserControl_WriteProperties(bag);
    EXPECT_EQ(bag.Names(), QStringList({"Transparent"}));
    EXPECT_EQ(bag.ReadProperty("Transparent", false), QVariant(true));

    TransTBWrapper restored;
    restored.UserControl_ReadProperties(bag);
    EXPECT_TRUE(restored.Transparent());
    EXPECT_FALSE(restored.ListStyle());

    // A layout file gives its values as text.
    QObject fromLayout;
    fromLayout.setProperty("ListStyle", QStringLiteral("true"));
    restored.UserControl_ReadProperties(PropertyBag::FromDynamicProperties(fromLayout));
    EXPECT_TRUE(restored.ListStyle());
    EXPECT_FALSE(restored.Transparent());
}
