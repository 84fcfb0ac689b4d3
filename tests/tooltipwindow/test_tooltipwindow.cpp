#include "comctl/tooltip.h"

#include "base/ansi.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <QToolTip>
#include <QPointer>
#include <QWidget>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Notification {
    const char *by; // "sub" (the subclass) or "own" (the owner's own procedure)
    UINT code;
    WPARAM wParam;
    UINT_PTR idFrom;
    HWND hwndFrom;
    bool operator==(const Notification &) const = default;
};

std::vector<Notification> notes;
std::string answer = "Antwort";  // what the owner writes for TTN_NEEDTEXTA
UINT answerFlags = 0;            // what it leaves in uFlags
bool textPointedAtOwnBuffer = false;
UINT destroyTipOn = 0;           // the notification at which the owner destroys the tooltip
LONG_PTR ownerOwnProc = 0;

LRESULT ownerProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_NOTIFY)
        return 0;
    const auto *hdr = reinterpret_cast<const NMHDR *>(lParam);
    notes.push_back({"own", hdr->code, wParam, hdr->idFrom, hdr->hwndFrom});
    if (hdr->code == destroyTipOn)
        DestroyWindow(hdr->hwndFrom);
    if (hdr->code == TTN_NEEDTEXTA) {
        auto *info = reinterpret_cast<NMTTDISPINFOA *>(lParam);
        textPointedAtOwnBuffer = info->lpszText == info->szText && info->szText[0] == '\0';
        std::strncpy(info->szText, answer.c_str(), sizeof info->szText - 1);
        info->uFlags |= answerFlags;
    }
    return 0;
}

LRESULT subclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NOTIFY) {
        const auto *hdr = reinterpret_cast<const NMHDR *>(lParam);
        notes.push_back({"sub", hdr->code, wParam, hdr->idFrom, hdr->hwndFrom});
    }
    return CallWindowProcA(reinterpret_cast<WNDPROC>(ownerOwnProc), hwnd, msg, wParam, lParam);
}

TOOLINFOA toolInfo(HWND owner, UINT_PTR id)
{
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = owner;
    ti.uId = id;
    return ti;
}

class TooltipWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        const INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
        ASSERT_TRUE(InitCommonControlsEx(&init));
        RegisterWindowClass("TipOwner", [](const WindowCreateInfo &) { return new QWidget; }, ownerProc);
        owner = CreateWindowExA(0, "TipOwner", "Owner", 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr);
        WidgetOf(owner)->setGeometry(100, 100, 400, 300);
        WidgetOf(owner)->show();
        notes.clear();
        answer = "Antwort";
        answerFlags = 0;
        destroyTipOn = 0;
    }
    void TearDown() override
    {
        DestroyWindow(tip);
        DestroyWindow(owner);
    }

    HWND createTip(DWORD style)
    {
        tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, "", style, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, 0, nullptr, nullptr, nullptr);
        return tip;
    }
    LRESULT send(UINT msg, WPARAM w, const void *l) { return SendMessageA(tip, msg, w, reinterpret_cast<LPARAM>(l)); }
    LRESULT send(UINT msg, WPARAM w = 0, LPARAM l = 0) { return SendMessageA(tip, msg, w, l); }

    BOOL addTool(UINT_PTR id, const char *text, UINT flags = 0, RECT rect = {0, 0, 400, 300})
    {
        TOOLINFOA ti = toolInfo(owner, id);
        ti.uFlags = flags;
        ti.rect = rect;
        ti.lpszText = const_cast<LPSTR>(text);
        return static_cast<BOOL>(send(TTM_ADDTOOLA, 0, &ti));
    }
    void track(bool on, UINT_PTR id)
    {
        const TOOLINFOA ti = toolInfo(owner, id);
        send(TTM_TRACKACTIVATE, on ? TRUE : FALSE, &ti);
    }
    void trackTo(int x, int y) { send(TTM_TRACKPOSITION, 0, static_cast<LPARAM>(MAKELONG(x, y))); }
    QByteArray textOf(UINT_PTR id, std::size_t size = 1025)
    {
        std::vector<char> buffer(size + 8, 'X');
        TOOLINFOA ti = toolInfo(owner, id);
        ti.lpszText = buffer.data();
        send(TTM_GETTEXTA, size, &ti);
        return QByteArray(buffer.data(), static_cast<qsizetype>(buffer.size()));
    }
    QWidget *tipWidget() { return WidgetOf(tip); }
    void hover(QPoint clientPos)
    {
        QWidget *w = WidgetOf(owner);
        QMouseEvent move(QEvent::MouseMove, clientPos, w->mapToGlobal(clientPos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    }

    HWND owner = 0;
    HWND tip = 0;
};

} // namespace

TEST_F(TooltipWindow, InitCommonControlsExChecksItsRecord)
{
    EXPECT_FALSE(InitCommonControlsEx(nullptr));
    const INITCOMMONCONTROLSEX wrongSize{4, ICC_BAR_CLASSES};
    EXPECT_FALSE(InitCommonControlsEx(&wrongSize));
    EXPECT_TRUE(IsWindowClassRegistered(TOOLTIPS_CLASSA));
    ASSERT_NE(createTip(TTS_ALWAYSTIP), 0);
    EXPECT_TRUE(tipWidget()->isWindow());
    EXPECT_FALSE(tipWidget()->isVisible()) << "a new tooltip shows nothing";
}

TEST_F(TooltipWindow, ToolsAreAddedFoundMovedAndDeleted)
{
    createTip(TTS_ALWAYSTIP);
    EXPECT_TRUE(addTool(7, "Sieben", TTF_SUBCLASS, {10, 20, 110, 70}));
    EXPECT_TRUE(addTool(8, LPSTR_TEXTCALLBACKA, 0, {200, 0, 300, 50}));
    EXPECT_EQ(send(TTM_GETTOOLCOUNT), 2);

    TOOLINFOA bad = toolInfo(owner, 9);
    bad.cbSize = 44;
    EXPECT_FALSE(send(TTM_ADDTOOLA, 0, &bad)) << "a record of unknown form is refused";
    TOOLINFOA ownerless = toolInfo(0, 9);
    EXPECT_FALSE(send(TTM_ADDTOOLA, 0, &ownerless));
    EXPECT_EQ(send(TTM_GETTOOLCOUNT), 2);

    char buffer[1025] = {};
    TOOLINFOA ti = toolInfo(owner, 7);
    ti.lpszText = buffer;
    ASSERT_TRUE(send(TTM_GETTOOLINFOA, 0, &ti));
    EXPECT_EQ(ti.uFlags, TTF_SUBCLASS);
    EXPECT_EQ(ti.rect.right, 110);
    EXPECT_STREQ(buffer, "Sieben");
    TOOLINFOA cb = toolInfo(owner, 8);
    cb.lpszText = buffer;
    ASSERT_TRUE(send(TTM_GETTOOLINFOA, 0, &cb));
    EXPECT_EQ(cb.lpszText, LPSTR_TEXTCALLBACKA);
    TOOLINFOA unknown = toolInfo(owner, 99);
    EXPECT_FALSE(send(TTM_GETTOOLINFOA, 0, &unknown));
    TOOLINFOA otherOwner = toolInfo(tip, 7);
    EXPECT_FALSE(send(TTM_GETTOOLINFOA, 0, &otherOwner)) << "a tool is named by owner and id";

    TTHITTESTINFOA hit{};
    hit.hwnd = owner;
    hit.pt = {50, 30};
    hit.ti.cbSize = TTTOOLINFOA_V2_SIZE;
    hit.ti.lpszText = buffer;
    ASSERT_TRUE(send(TTM_HITTESTA, 0, &hit));
    EXPECT_EQ(hit.ti.uId, 7u);
    hit.pt = {150, 30};
    EXPECT_FALSE(send(TTM_HITTESTA, 0, &hit));

    TOOLINFOA moved = toolInfo(owner, 7);
    moved.rect = {120, 20, 180, 70};
    EXPECT_EQ(send(TTM_NEWTOOLRECTA, 0, &moved), 0);
    EXPECT_TRUE(send(TTM_HITTESTA, 0, &hit));

    TOOLINFOA del = toolInfo(owner, 7);
    EXPECT_EQ(send(TTM_DELTOOLA, 0, &del), 0);
    EXPECT_EQ(send(TTM_GETTOOLCOUNT), 1);
    EXPECT_FALSE(send(TTM_GETTOOLINFOA, 0, &del));
    EXPECT_EQ(send(TTM_DELTOOLA, 0, &del), 0) << "deleting an unknown tool does nothing";
    EXPECT_EQ(send(TTM_GETTOOLCOUNT), 1);
}

TEST_F(TooltipWindow, TextsAreReadBackWithinTheCallersBuffer)
{
    createTip(TTS_ALWAYSTIP);
    const std::string exact(1024, 'a');
    const std::string tooLong(3000, 'b');
    addTool(1, exact.c_str());
    addTool(2, tooLong.c_str());
    addTool(3, "");
    addTool(4, "alt");

    EXPECT_EQ(textOf(1).left(1025), QByteArray(exact.c_str(), 1025)) << "1024 bytes and the zero";
    const QByteArray cut = textOf(2);
    EXPECT_EQ(cut.left(1025), QByteArray(1024, 'b') + '\0');
    EXPECT_EQ(cut.mid(1025), QByteArray(8, 'X')) << "nothing written past the buffer";
    EXPECT_EQ(textOf(3).at(0), '\0');
    EXPECT_EQ(textOf(4, 0).left(1), "X") << "a zero-sized buffer stays untouched";
    EXPECT_EQ(textOf(4, 3).left(3), QByteArray("al\0", 3));

    TOOLINFOA ti = toolInfo(owner, 4);
    ti.lpszText = const_cast<LPSTR>("neu \xe4");
    send(TTM_UPDATETIPTEXTA, 0, &ti);
    EXPECT_EQ(ansi::toUnicode(textOf(4).constData()), QString::fromUtf8("neu ä"));
}

TEST_F(TooltipWindow, SettingsAreKeptAndAnsweredSeparately)
{
    createTip(TTS_ALWAYSTIP);
    send(TTM_SETTIPBKCOLOR, RGB(1, 2, 3));
    send(TTM_SETTIPTEXTCOLOR, RGB(200, 0, 0));
    EXPECT_EQ(send(TTM_GETTIPBKCOLOR), static_cast<LRESULT>(RGB(1, 2, 3)));
    EXPECT_EQ(send(TTM_GETTIPTEXTCOLOR), static_cast<LRESULT>(RGB(200, 0, 0)));

    EXPECT_EQ(send(TTM_GETMAXTIPWIDTH), -1);
    EXPECT_EQ(send(TTM_SETMAXTIPWIDTH, 0, 250), -1) << "returns the previous width";
    EXPECT_EQ(send(TTM_SETMAXTIPWIDTH, 0, 300), 250);
    EXPECT_EQ(send(TTM_GETMAXTIPWIDTH), 300);

    const RECT margin{1, 2, 3, 4};
    send(TTM_SETMARGIN, 0, &margin);
    RECT back{};
    send(TTM_GETMARGIN, 0, &back);
    EXPECT_EQ(std::memcmp(&back, &margin, sizeof margin), 0);

    RECT r{10, 10, 110, 60};
    ASSERT_TRUE(send(TTM_ADJUSTRECT, TRUE, &r));
    EXPECT_LT(r.left, 10 - margin.left);
    EXPECT_GT(r.bottom, 60 + margin.bottom);
    ASSERT_TRUE(send(TTM_ADJUSTRECT, FALSE, &r));
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.bottom, 60);
    EXPECT_FALSE(send(TTM_ADJUSTRECT, TRUE, nullptr));

    EXPECT_TRUE(send(TTM_SETTITLEA, TTI_INFO, "Spielhilfe"));
    EXPECT_FALSE(send(TTM_SETTITLEA, 4, "Icon handle")) << "only the four standard icons";
}

TEST_F(TooltipWindow, DelayTimesHaveTheUsualDefaultsAndFollowAutomatic)
{
    createTip(TTS_ALWAYSTIP);
    EXPECT_EQ(send(TTM_GETDELAYTIME, TTDT_INITIAL), 500);
    EXPECT_EQ(send(TTM_GETDELAYTIME, TTDT_AUTOPOP), 5000);
    EXPECT_EQ(send(TTM_GETDELAYTIME, TTDT_RESHOW), 100);
    send(TTM_SETDELAYTIME, TTDT_AUTOMATIC, 1000);
    EXPECT_EQ(send(TTM_GETDELAYTIME, TTDT_INITIAL), 1000);
    EXPECT_EQ(send(TTM_GETDELAYTIME, TTDT_AUTOPOP), 10000);
    EXPECT_EQ(send(TTM_GETDELAYTIME, TTDT_RESHOW), 200);
    send(TTM_SETDELAYTIME, TTDT_AUTOPOP, 32000);
    EXPECT_EQ(send(TTM_GETDELAYTIME, TTDT_AUTOPOP), 32000);
    EXPECT_EQ(send(TTM_GETDELAYTIME, TTDT_INITIAL), 1000);
    send(TTM_SETDELAYTIME, TTDT_AUTOPOP, -1);
    EXPECT_EQ(send(TTM_GETDELAYTIME, TTDT_AUTOPOP), 10000);
    send(TTM_SETDELAYTIME, TTDT_AUTOMATIC, -1);
    EXPECT_EQ(send(TTM_GETDELAYTIME, TTDT_INITIAL), 500);
}

TEST_F(TooltipWindow, TrackingBalloonIsARealWindowThatFollowsItsPosition)
{
    createTip(TTS_ALWAYSTIP | TTS_BALLOON);
    addTool(100, "Zeile 1\r\nZeile 2", TTF_TRACK | TTF_ABSOLUTE);
    trackTo(300, 200);
    track(true, 100);
    QWidget *w = tipWidget();
    ASSERT_TRUE(w->isVisible());
    EXPECT_TRUE(w->isWindow());
    EXPECT_TRUE(QApplication::topLevelWidgets().contains(w));
    EXPECT_EQ(w->y(), 200) << "the stem's tip touches the point from below";
    EXPECT_LE(w->x(), 300);
    EXPECT_GT(w->x() + w->width(), 300);
    const int twoLines = w->height();
    TOOLINFOA ti = toolInfo(owner, 100);
    ti.lpszText = const_cast<LPSTR>("Zeile 1");
    send(TTM_UPDATETIPTEXTA, 0, &ti);
    EXPECT_LT(w->height(), twoLines) << "a new text reshapes the shown tip";

    trackTo(350, 220);
    EXPECT_EQ(w->y(), 220);
    EXPECT_LE(w->x(), 350);

    // Near the screen's corner the balloon stays on screen and turns its stem down.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    trackTo(screen.right() - 2, screen.bottom() - 2);
    EXPECT_TRUE(screen.contains(w->geometry())) << w->geometry().x() << "," << w->geometry().y();
    EXPECT_EQ(w->geometry().bottom(), screen.bottom() - 2);

    track(false, 100);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(TooltipWindow, ARectangularTipGrowsWithItsLines)
{
    createTip(TTS_ALWAYSTIP);
    addTool(1, "eins", TTF_TRACK | TTF_ABSOLUTE);
    addTool(2, "eins\r\nzwei\r\ndrei", TTF_TRACK | TTF_ABSOLUTE);
    trackTo(50, 60);
    track(true, 1);
    QWidget *w = tipWidget();
    EXPECT_EQ(w->pos(), QPoint(50, 60)) << "an absolute tip stands at its point";
    const int oneLine = w->height();
    track(true, 2);
    EXPECT_GT(w->height(), 2 * oneLine);
    send(TTM_SETMAXTIPWIDTH, 0, 20);
    TOOLINFOA ti = toolInfo(owner, 2);
    ti.lpszText = const_cast<LPSTR>("ein langer Satz, der umbrochen wird");
    send(TTM_UPDATETIPTEXTA, 0, &ti);
    EXPECT_LT(w->width(), 80) << "the maximum width wraps the words";
}

TEST_F(TooltipWindow, NotificationsReachASubclassedOwnerInOrder)
{
    createTip(TTS_ALWAYSTIP | TTS_BALLOON);
    ownerOwnProc = SetWindowLongA(owner, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&subclassProc));
    addTool(100, LPSTR_TEXTCALLBACKA, TTF_SUBCLASS);
    answer = "Vom Besitzer";
    trackTo(200, 200);
    track(true, 100);
    EXPECT_TRUE(textPointedAtOwnBuffer);
    ASSERT_TRUE(tipWidget()->isVisible());
    track(true, 100); // again: already shown, nothing new
    send(TTM_ACTIVATE, FALSE);
    EXPECT_FALSE(tipWidget()->isVisible());
    const std::vector<Notification> expected{
        {"sub", TTN_NEEDTEXTA, 100, 100, tip}, {"own", TTN_NEEDTEXTA, 100, 100, tip},
        {"sub", TTN_SHOW, 100, 100, tip},      {"own", TTN_SHOW, 100, 100, tip},
        {"sub", TTN_POP, 100, 100, tip},       {"own", TTN_POP, 100, 100, tip},
    };
    EXPECT_EQ(notes, expected);
    EXPECT_EQ(QByteArray(textOf(100).constData()), "Vom Besitzer");

    // Inactive, tracking waits; activating shows it.
    notes.clear();
    track(true, 100);
    EXPECT_FALSE(tipWidget()->isVisible());
    EXPECT_TRUE(notes.empty());
    send(TTM_ACTIVATE, TRUE);
    EXPECT_TRUE(tipWidget()->isVisible());
    SetWindowLongA(owner, GWL_WNDPROC, ownerOwnProc);
}

TEST_F(TooltipWindow, AnEmptyAnswerShowsNothingAndSetItemKeepsTheAnswer)
{
    createTip(TTS_ALWAYSTIP);
    addTool(5, LPSTR_TEXTCALLBACKA);
    answer = "";
    track(true, 5);
    EXPECT_FALSE(tipWidget()->isVisible());
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].code, TTN_NEEDTEXTA);

    track(false, 5);
    notes.clear();
    answer = "fest";
    answerFlags = TTF_DI_SETITEM;
    track(true, 5);
    EXPECT_TRUE(tipWidget()->isVisible());
    notes.clear();
    EXPECT_EQ(QByteArray(textOf(5).constData()), "fest");
    EXPECT_TRUE(notes.empty()) << "the kept text needs no more questions";
}

TEST_F(TooltipWindow, HoverToolShowsAfterTheInitialDelayAndHidesOnLeaveClickAndAutopop)
{
    createTip(TTS_ALWAYSTIP);
    addTool(3, "Hover", TTF_SUBCLASS, {0, 0, 100, 100});
    send(TTM_SETDELAYTIME, TTDT_INITIAL, 40);
    send(TTM_SETDELAYTIME, TTDT_RESHOW, 40);
    send(TTM_SETDELAYTIME, TTDT_AUTOPOP, 300);
    QWidget *w = tipWidget();

    hover({150, 150});
    QTest::qWait(80);
    EXPECT_FALSE(w->isVisible()) << "outside every tool";

    hover({50, 50});
    EXPECT_FALSE(w->isVisible()) << "not before the delay";
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->isVisible(); }, 20000));
    const QPoint cursorBelow = WidgetOf(owner)->mapToGlobal(QPoint(50, 50));
    EXPECT_GT(w->y(), cursorBelow.y() - 1);

    hover({150, 150});
    EXPECT_FALSE(w->isVisible()) << "leaving the tool hides the tip";
    ASSERT_GE(notes.size(), 2u);
    EXPECT_EQ(notes[notes.size() - 2].code, TTN_SHOW);
    EXPECT_EQ(notes.back().code, TTN_POP);

    hover({50, 50});
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->isVisible(); }, 20000));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(50, 50), WidgetOf(owner)->mapToGlobal(QPointF(50, 50)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(WidgetOf(owner), &press);
    EXPECT_FALSE(w->isVisible()) << "a click hides the tip";
    hover({51, 51});
    QTest::qWait(100);
    EXPECT_FALSE(w->isVisible()) << "and it stays hidden until the mouse leaves the tool";

    hover({150, 150});
    hover({50, 50});
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->isVisible(); }, 20000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w->isVisible(); }, 20000)) << "autopop";

    send(TTM_ACTIVATE, FALSE);
    hover({150, 150});
    hover({50, 50});
    QTest::qWait(120);
    EXPECT_FALSE(w->isVisible()) << "an inactive tooltip shows nothing";
}

TEST_F(TooltipWindow, DestroyWindowRemovesEveryToolAndHidesTheTip)
{
    createTip(TTS_ALWAYSTIP | TTS_BALLOON);
    addTool(1, "eins", TTF_TRACK);
    addTool(2, "zwei", TTF_SUBCLASS);
    track(true, 1);
    QPointer<QWidget> w = tipWidget();
    ASSERT_TRUE(w->isVisible());
    notes.clear();
    EXPECT_TRUE(DestroyWindow(tip));
    EXPECT_TRUE(w.isNull());
    EXPECT_FALSE(IsWindow(tip));
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
    hover({10, 10});
    QTest::qWait(20);
    EXPECT_TRUE(notes.empty());
}

TEST_F(TooltipWindow, BalloonWithTitleIconAndTwoLinesLooksLikeOne)
{
    createTip(TTS_ALWAYSTIP | TTS_BALLOON);
    send(TTM_SETTITLEA, TTI_INFO, "Spielhilfe");
    addTool(100, ansi::fromUnicode(QString::fromUtf8("Drücke  'Neues Spiel'\r\nund der Spaß kann losgehen!")).constData(),
            TTF_TRACK);
    trackTo(200, 150);
    track(true, 100);
    const QImage image = tipWidget()->grab().toImage();
    ASSERT_FALSE(image.isNull());
    image.save(testenv::buildDir() + "/tests/tooltip-balloon.png");

    // The window is cut to the balloon; where the desktop can show it,
    // the corners are see-through besides.
    const QRegion shape = tipWidget()->mask();
    EXPECT_FALSE(shape.contains(QPoint(0, 0))) << "round corners are cut away";
    EXPECT_FALSE(shape.contains(QPoint(image.width() - 1, 0))) << "beside the stem is cut away";
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "round corners are see-through";
        EXPECT_EQ(qAlpha(image.pixel(image.width() - 1, 0)), 0) << "beside the stem is see-through";
    }
    const QColor back = QToolTip::palette().color(QPalette::ToolTipBase);
    EXPECT_EQ(image.pixelColor(image.width() - 12, image.height() / 2 + 10).rgb(), back.rgb());
    // The info icon: a blue disc at the title's start.
    bool blue = false;
    for (int y = 0; y < image.height() / 2 && !blue; ++y)
        for (int x = 0; x < 40 && !blue; ++x) {
            const QColor c = image.pixelColor(x, y);
            blue = c.blue() > 150 && c.red() < 100;
        }
    EXPECT_TRUE(blue);

    // The other icons and the rectangular form, for the eye.
    for (WPARAM icon : {TTI_WARNING, TTI_ERROR}) {
        send(TTM_SETTITLEA, icon, icon == TTI_WARNING ? "Achtung" : "Fehler");
        tipWidget()->grab().save(testenv::buildDir() + QString("/tests/tooltip-icon%1.png").arg(icon));
    }
}

TEST_F(TooltipWindow, AToolThatIsAWindowCoversThatWindowAndWatchesItsMouse)
{
    createTip(TTS_ALWAYSTIP);
    auto *button = new QWidget(WidgetOf(owner));
    button->setGeometry(40, 30, 60, 20);
    button->show();
    const HWND buttonHandle = HandleOf(button);
    TOOLINFOA ti = toolInfo(owner, static_cast<UINT_PTR>(buttonHandle));
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.lpszText = const_cast<LPSTR>("Knopf");
    ASSERT_TRUE(send(TTM_ADDTOOLA, 0, &ti));

    TTHITTESTINFOA hit{};
    hit.hwnd = owner;
    hit.pt = {45, 35};
    hit.ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ASSERT_TRUE(send(TTM_HITTESTA, 0, &hit));
    EXPECT_EQ(hit.ti.uId, static_cast<UINT_PTR>(buttonHandle));
    hit.pt = {35, 35};
    EXPECT_FALSE(send(TTM_HITTESTA, 0, &hit));

    send(TTM_SETDELAYTIME, TTDT_INITIAL, 10);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &move);
    EXPECT_TRUE(QTest::qWaitFor([&] { return tipWidget()->isVisible(); }, 20000));
}

TEST_F(TooltipWindow, AnOwnerMayDestroyTheTooltipWhileItIsNotified)
{
    for (UINT code : {TTN_NEEDTEXTA, TTN_SHOW, TTN_POP}) {
        SCOPED_TRACE(static_cast<int>(code));
        createTip(TTS_ALWAYSTIP | TTS_BALLOON);
        addTool(1, LPSTR_TEXTCALLBACKA, TTF_TRACK);
        addTool(2, "zwei", TTF_TRACK);
        destroyTipOn = code;
        track(true, 1);
        track(true, 2); // hides tool 1 first
        TOOLINFOA ti = toolInfo(owner, 2);
        send(TTM_DELTOOLA, 0, &ti);
        send(TTM_ACTIVATE, FALSE);
        EXPECT_FALSE(IsWindow(tip));
        destroyTipOn = 0;
    }
}

TEST_F(TooltipWindow, ARecordWhoseTextFieldIsNoBufferIsNotWrittenThrough)
{
    createTip(TTS_ALWAYSTIP);
    addTool(1, "eins");
    // The callback marker and a resource number name no memory to write to.
    for (LPSTR notABuffer : {LPSTR_TEXTCALLBACKA, reinterpret_cast<LPSTR>(static_cast<std::uintptr_t>(101))}) {
        TOOLINFOA unknown = toolInfo(owner, 99);
        unknown.lpszText = notABuffer;
        EXPECT_EQ(send(TTM_GETTEXTA, 80, &unknown), 0);
        TOOLINFOA known = toolInfo(owner, 1);
        known.lpszText = notABuffer;
        EXPECT_EQ(send(TTM_GETTEXTA, 80, &known), 0);
        EXPECT_TRUE(send(TTM_GETTOOLINFOA, 0, &known));
        TTHITTESTINFOA hit{};
        hit.hwnd = owner;
        hit.pt = {5, 5};
        hit.ti.cbSize = TTTOOLINFOA_V2_SIZE;
        hit.ti.lpszText = notABuffer;
        EXPECT_TRUE(send(TTM_HITTESTA, 0, &hit));
    }
    EXPECT_EQ(QByteArray(textOf(1).constData()), "eins");

    // Nor is a resource number read as text, with or without a module.
    EXPECT_TRUE(addTool(2, reinterpret_cast<LPSTR>(static_cast<std::uintptr_t>(101))));
    EXPECT_EQ(textOf(2).at(0), '\0');
}
