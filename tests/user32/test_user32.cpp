#include "user32/user32.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include <vector>

namespace {

struct Message {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    const char *by;
    bool operator==(const Message &) const = default;
};

std::vector<Message> &log()
{
    static std::vector<Message> messages;
    return messages;
}

LRESULT recordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    log().push_back({hwnd, msg, wParam, lParam, "own"});
    return msg == WM_USER ? 1000 + static_cast<LRESULT>(wParam) : 0;
}

LONG_PTR previousOfA = 0;
LONG_PTR previousOfB = 0;

LRESULT subclassA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    log().push_back({hwnd, msg, wParam, lParam, "A"});
    return CallWindowProcA(reinterpret_cast<WNDPROC>(previousOfA), hwnd, msg, wParam, lParam) + 1;
}

LRESULT subclassB(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    log().push_back({hwnd, msg, wParam, lParam, "B"});
    return CallWindowProcA(reinterpret_cast<WNDPROC>(previousOfB), hwnd, msg, wParam, lParam) + 10;
}

class User32 : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterWindowClass("RecordingWindow",
                            [](const WindowCreateInfo &info) { return new QWidget(info.parent); },
                            recordingProc);
        log().clear();
    }
    HWND create(HWND parent = 0, DWORD style = 0)
    {
        return CreateWindowExA(0, "recordingwindow", "Probe", style, 0, 0, 100, 50, parent, nullptr, nullptr, nullptr);
    }
};

} // namespace

TEST_F(User32, CreatedWindowOwnsAWidgetOfItsClassAndAnswersThroughItsProcedure)
{
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, 0, nullptr, nullptr, nullptr), 0);
    const HWND hwnd = create();
    ASSERT_NE(hwnd, 0);
    ASSERT_NE(WidgetOf(hwnd), nullptr);
    EXPECT_EQ(HandleOf(WidgetOf(hwnd)), hwnd);
    EXPECT_EQ(SendMessageA(hwnd, WM_USER, 5, 7), 1005);
    EXPECT_EQ(log(), (std::vector<Message>{{hwnd, WM_USER, 5, 7, "own"}}));
    DestroyWindow(hwnd);
}

TEST_F(User32, SubclassesChainAndRestoreInAnyOrder)
{
    const HWND hwnd = create();
    const LONG_PTR own = GetWindowLongA(hwnd, GWL_WNDPROC);
    EXPECT_EQ(own, reinterpret_cast<LONG_PTR>(&recordingProc));

    previousOfA = SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&subclassA));
    previousOfB = SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&subclassB));
    EXPECT_EQ(previousOfA, own);
    EXPECT_EQ(previousOfB, reinterpret_cast<LONG_PTR>(&subclassA));

    EXPECT_EQ(SendMessageA(hwnd, WM_USER, 1, 2), 1001 + 1 + 10);
    ASSERT_EQ(log().size(), 3u);
    EXPECT_STREQ(log()[0].by, "B");
    EXPECT_STREQ(log()[1].by, "A");
    EXPECT_STREQ(log()[2].by, "own");

    // Newest first: the window is back to its own procedure.
    SetWindowLongA(hwnd, GWL_WNDPROC, previousOfB);
    SetWindowLongA(hwnd, GWL_WNDPROC, previousOfA);
    EXPECT_EQ(GetWindowLongA(hwnd, GWL_WNDPROC), own);
    EXPECT_EQ(SendMessageA(hwnd, WM_USER, 1, 2), 1001);
    DestroyWindow(hwnd);
}

TEST_F(User32, PropertiesHoldPointerSizedValuesAndVanishWithTheWindow)
{
    const HWND hwnd = create();
    const auto big = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x7fff12345678ull));
    EXPECT_TRUE(SetPropA(hwnd, "OLDPROC", big));
    EXPECT_EQ(GetPropA(hwnd, "oldproc"), big);
    EXPECT_EQ(GetPropA(hwnd, "other"), nullptr);
    EXPECT_EQ(RemovePropA(hwnd, "OLDPROC"), big);
    EXPECT_EQ(GetPropA(hwnd, "OLDPROC"), nullptr);

    SetPropA(hwnd, "cTTOBJ", big);
    DestroyWindow(hwnd);
    EXPECT_EQ(GetPropA(hwnd, "cTTOBJ"), nullptr);
    EXPECT_FALSE(SetPropA(hwnd, "cTTOBJ", big));
}

TEST_F(User32, DestroyedHandlesAreDeadAndNeverComeBack)
{
    const HWND hwnd = create();
    QPointer<QWidget> widget = WidgetOf(hwnd);
    log().clear();
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_EQ(log(), (std::vector<Message>{{hwnd, WM_DESTROY, 0, 0, "own"}}));
    EXPECT_TRUE(widget.isNull());
    EXPECT_EQ(WidgetOf(hwnd), nullptr);
    EXPECT_FALSE(IsWindow(hwnd));

    log().clear();
    EXPECT_EQ(SendMessageA(hwnd, WM_USER, 1, 0), 0);
    EXPECT_EQ(SendMessageA(0, WM_USER, 1, 0), 0);
    EXPECT_TRUE(log().empty());
    EXPECT_FALSE(DestroyWindow(hwnd));
    EXPECT_EQ(GetWindowLongA(hwnd, GWL_WNDPROC), 0);
    EXPECT_EQ(SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&subclassA)), 0);

    const HWND next = create();
    EXPECT_GT(next, hwnd);
    DestroyWindow(next);
}

TEST_F(User32, AWidgetDeletedByQtSaysGoodbyeAndLosesItsHandle)
{
    auto *parent = new QWidget;
    auto *child = new QWidget(parent);
    const HWND childHandle = HandleOf(child);
    const HWND parentHandle = HandleOf(parent);
    ASSERT_NE(childHandle, 0);
    EXPECT_EQ(HandleOf(child), childHandle);
    previousOfA = SetWindowLongA(childHandle, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&subclassA));
    delete parent;
    ASSERT_EQ(log().size(), 1u);
    EXPECT_EQ(log()[0].msg, WM_DESTROY);
    EXPECT_FALSE(IsWindow(childHandle));
    EXPECT_FALSE(IsWindow(parentHandle));
}

TEST_F(User32, ChildWindowsAreFoundAndReparented)
{
    const HWND parent = create();
    const HWND first = create(parent);
    auto *plain = new QWidget(WidgetOf(parent));
    plain->setObjectName("Band");
    const HWND second = create(parent);

    EXPECT_EQ(FindWindowExA(parent, 0, "RecordingWindow", nullptr), first);
    EXPECT_EQ(FindWindowExA(parent, first, "RecordingWindow", nullptr), second);
    EXPECT_EQ(FindWindowExA(parent, second, "RecordingWindow", nullptr), 0);
    EXPECT_EQ(FindWindowExA(parent, 0, "QWidget", "Band"), HandleOf(plain));
    EXPECT_EQ(FindWindowExA(parent, 0, nullptr, "Nobody"), 0);

    const HWND other = create();
    EXPECT_EQ(SetParent(second, other), parent);
    EXPECT_EQ(WidgetOf(second)->parentWidget(), WidgetOf(other));
    EXPECT_EQ(GetParent(second), other);
    EXPECT_EQ(SetParent(second, 0), other);
    EXPECT_TRUE(WidgetOf(second)->isWindow());
    EXPECT_EQ(SetParent(second, 999999), 0);

    DestroyWindow(second);
    DestroyWindow(other);
    DestroyWindow(parent);
    EXPECT_FALSE(IsWindow(first)) << "children go with their parent";
}

TEST_F(User32, StyleChangesAreStoredAndAnnounced)
{
    const HWND parent = create();
    const HWND hwnd = create(parent, WS_CHILD | WS_VISIBLE | 0x0800);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)), WS_CHILD | WS_VISIBLE | 0x0800);
    log().clear();
    const LONG_PTR old = SetWindowLongA(hwnd, GWL_STYLE, GetWindowLongA(hwnd, GWL_STYLE) | 0x0004);
    EXPECT_EQ(static_cast<DWORD>(old), WS_CHILD | WS_VISIBLE | 0x0800);
    ASSERT_EQ(log().size(), 1u);
    EXPECT_EQ(log()[0].msg, WM_STYLECHANGED);
    EXPECT_EQ(static_cast<int>(log()[0].wParam), GWL_STYLE);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)) & 0xFFFF, 0x0804u);
    // Dropping WS_VISIBLE hides the window.
    SetWindowLongA(hwnd, GWL_STYLE, WS_CHILD | 0x0804);
    EXPECT_TRUE(WidgetOf(hwnd)->isHidden());
    DestroyWindow(parent);
}

TEST_F(User32, CursorAndClientCoordinatesAreScreenPixels)
{
    const HWND hwnd = create();
    QWidget *widget = WidgetOf(hwnd);
    widget->move(200, 150);
    widget->show();
    POINT p{230, 170};
    ASSERT_TRUE(ScreenToClient(hwnd, &p));
    const QPoint expected = widget->mapFromGlobal(QPoint(230, 170));
    EXPECT_EQ(p.x, expected.x());
    EXPECT_EQ(p.y, expected.y());
    ASSERT_TRUE(ClientToScreen(hwnd, &p));
    EXPECT_EQ(p.x, 230);
    EXPECT_EQ(p.y, 170);
    EXPECT_FALSE(ScreenToClient(0, &p));

    QCursor::setPos(321, 123);
    POINT cursor{};
    ASSERT_TRUE(GetCursorPos(&cursor));
    EXPECT_EQ(cursor.x, QCursor::pos().x());
    EXPECT_EQ(cursor.y, QCursor::pos().y());

    const HDC dc = GetDC(hwnd);
    EXPECT_NE(dc, 0);
    EXPECT_EQ(WindowFromDC(dc), hwnd);
    EXPECT_EQ(ReleaseDC(hwnd, dc), 1);
    EXPECT_EQ(ReleaseDC(hwnd, dc), 0);
    EXPECT_EQ(GetDC(0), 0);
    DestroyWindow(hwnd);
}

TEST(Kernel32, MoveMemoryCopiesOverlappingBytesAndSleepWaits)
{
    char bytes[] = "abcdef";
    RtlMoveMemory(bytes + 1, bytes, 4);
    EXPECT_STREQ(bytes, "aabcdf");
    QElapsedTimer clock;
    clock.start();
    Sleep(30);
    EXPECT_GE(clock.elapsed(), 29);
}

namespace {

int destroyCalls = 0;

// Destroys its own window again on hearing that it goes.
LRESULT selfDestroyingProc(HWND hwnd, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_DESTROY && ++destroyCalls < 5)
        DestroyWindow(hwnd);
    return 0;
}

} // namespace

TEST_F(User32, AWindowThatDestroysItselfWhileGoingHearsOfItOnce)
{
    RegisterWindowClass("SelfDestroying", [](const WindowCreateInfo &) { return new QWidget; }, selfDestroyingProc);
    destroyCalls = 0;
    const HWND byCall = CreateWindowExA(0, "SelfDestroying", "", 0, 0, 0, 1, 1, 0, nullptr, nullptr, nullptr);
    QPointer<QWidget> widget = WidgetOf(byCall);
    EXPECT_TRUE(DestroyWindow(byCall));
    EXPECT_EQ(destroyCalls, 1);
    EXPECT_TRUE(widget.isNull());
    EXPECT_FALSE(IsWindow(byCall));

    destroyCalls = 0;
    const HWND byQt = CreateWindowExA(0, "SelfDestroying", "", 0, 0, 0, 1, 1, 0, nullptr, nullptr, nullptr);
    delete WidgetOf(byQt);
    EXPECT_EQ(destroyCalls, 1);
    EXPECT_FALSE(IsWindow(byQt));
}

TEST_F(User32, AWindowCannotBecomeAChildOfItsOwnChild)
{
    const HWND parent = create();
    const HWND child = create(parent);
    const HWND grandchild = create(child);
    EXPECT_EQ(SetParent(parent, grandchild), 0);
    EXPECT_EQ(GetParent(parent), 0);
    EXPECT_EQ(GetParent(grandchild), child);
    EXPECT_EQ(SetParent(parent, parent), 0);
    DestroyWindow(parent);
    EXPECT_FALSE(IsWindow(grandchild));
}
