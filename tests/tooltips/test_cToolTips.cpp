// The tooltip object driven through COM as the game drives it: created by
// class id from the registry, events through a connection point.
#include "client.h"

#include "base/ansi.h"

#include <gtest/gtest.h>

#include <QByteArray>

using namespace Pellwick;
using namespace tooltiptest;

namespace {

QString take(BSTR text) { return com::Bstr::adopt(text).text(); }

// Adds a tool with a fixed text; True when the tooltip took it.
bool addTool(_cToolTips *tips, HWND owner, const QString &text, LONG id, TT_Flags fl = DefaultToolFlags)
{
    LONG h = owner, l = 0, t = 0, r = 100, b = 50;
    com::Bstr s(text);
    VARIANT_BOOL ok = VARIANT_FALSE;
    tips->AddTTRect(&h, &l, &t, &r, &b, s.ref(), fl, id, &ok);
    return ok == VARIANT_TRUE;
}

bool addCallbackTool(_cToolTips *tips, HWND owner, LONG id)
{
    LONG h = owner, l = 0, t = 0, r = 100, b = 50;
    VARIANT_BOOL ok = VARIANT_FALSE;
    tips->AddTTRectCB(&h, &l, &t, &r, &b, Pellwick::TTF_TRACK, id, &ok);
    return ok == VARIANT_TRUE;
}

LONG toolCount(_cToolTips *tips)
{
    LONG n = -1;
    tips->get_Count(&n);
    return n;
}

QString toolText(_cToolTips *tips, HWND owner, LONG id)
{
    BSTR text = nullptr;
    EXPECT_EQ(tips->get_Text(id, owner, &text), S_OK);
    return take(text);
}

HWND tooltipOf(_cToolTips *tips)
{
    LONG h = 0;
    tips->get_hwnd(&h);
    return h;
}

// The owner has its own procedure again and carries no property of ours.
void expectRestored(const OwnerWindow &owner, const Recorder &own)
{
    EXPECT_EQ(GetWindowLongA(owner.hwnd, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(own.ownProc()));
    EXPECT_EQ(GetPropA(owner.hwnd, "OLDPROC"), nullptr);
    EXPECT_EQ(GetPropA(owner.hwnd, "cTTOBJ"), nullptr);
}

// A balloon tooltip with callback tool 100 over a window whose own
// procedure records what it gets.
class CallbackTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(c.created, S_OK);
        c.tips->Init(Pellwick::TTS_BALLOON);
        tip = tooltipOf(c.tips.get());
        ASSERT_TRUE(addCallbackTool(c.tips.get(), owner.hwnd, 100));
    }
    OwnerWindow owner;
    Recorder own{owner.hwnd};
    Client c;
    HWND tip = 0;
};

} // namespace

TEST(cToolTips, EveryMemberIsInertBeforeInit)
{
    Client c;
    ASSERT_EQ(c.created, S_OK);
    OwnerWindow owner;
    Recorder own(owner.hwnd);
    _cToolTips *t = c.tips.get();

    EXPECT_EQ(tooltipOf(t), 0);
    EXPECT_EQ(toolCount(t), 0);
    EXPECT_FALSE(addTool(t, owner.hwnd, "Hallo", 1));
    EXPECT_FALSE(addCallbackTool(t, owner.hwnd, 2));
    // Nothing was subclassed either.
    EXPECT_EQ(GetPropA(owner.hwnd, "OLDPROC"), nullptr);
    EXPECT_EQ(toolText(t, owner.hwnd, 1), "");

    LONG top = 7, left = 8, bottom = 9, right = 10;
    VARIANT v = com::variantLong(5);
    EXPECT_EQ(t->GetMargin(&top, &left, &bottom, &right, &v), S_OK);
    EXPECT_EQ(v.vt, VT_EMPTY);
    EXPECT_EQ(top + left + bottom + right, 34); // by-reference parameters keep their values

    VARIANT_BOOL ok = VARIANT_TRUE;
    t->SetTrackPosition(10, 20, &ok);
    EXPECT_EQ(ok, VARIANT_FALSE);
    ok = VARIANT_TRUE;
    com::Bstr title(QStringLiteral("Spielhilfe"));
    TT_TITELICON icon = Pellwick::TTI_INFOICON;
    t->SetTitle(title.ref(), &icon, &ok);
    EXPECT_EQ(ok, VARIANT_FALSE);
    LONG x = 1, y = 1, h = owner.hwnd, hit = -5;
    t->HitTest(&x, &y, &h, &hit);
    EXPECT_EQ(hit, 0);
    t->put_Enabled(VARIANT_TRUE);
    t->put_FontColor(0x123456);
    LONG colour = -1;
    t->get_FontColor(&colour);
    EXPECT_EQ(colour, 0);
    EXPECT_TRUE(own.messages.empty());
}

TEST(cToolTips, InitCreatesOneTooltipWindowWithTheFirstStyle)
{
    Client c;
    ASSERT_EQ(c.created, S_OK);
    ASSERT_EQ(c.tips->Init(Pellwick::TTS_BALLOON), S_OK);
    const HWND first = tooltipOf(c.tips.get());
    ASSERT_NE(first, 0);
    EXPECT_EQ(GetWindowLongA(first, GWL_STYLE) & 0xFFFF, Pellwick::TTS_BALLOON);
    EXPECT_EQ(GetWindowLongA(first, GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);

    c.tips->Init(Pellwick::TTS_NOPREFIX);
    EXPECT_EQ(tooltipOf(c.tips.get()), first);
    EXPECT_EQ(GetWindowLongA(first, GWL_STYLE) & 0xFFFF, Pellwick::TTS_BALLOON);

    c.release();
    EXPECT_FALSE(IsWindow(first)); // the object's end destroys its window
}

TEST(cToolTips, MembersSendTheirTooltipMessages)
{
    Client c;
    ASSERT_EQ(c.created, S_OK);
    c.tips->Init(DefaultStyle);
    const HWND tip = tooltipOf(c.tips.get());
    OwnerWindow owner;
    Recorder rec(tip);

    VARIANT_BOOL ok = VARIANT_FALSE;
    c.tips->SetTrackPosition(10, 20, &ok);
    ASSERT_EQ(rec.of(TTM_TRACKPOSITION).size(), 1u);
    EXPECT_EQ(rec.of(TTM_TRACKPOSITION)[0].lParam, 20 * 65536 + 10);
    EXPECT_EQ(rec.of(TTM_TRACKPOSITION)[0].wParam, 0u);
    EXPECT_EQ(ok, VARIANT_FALSE); // the platform's result of this message is 0

    c.tips->put_Enabled(VARIANT_TRUE);
    c.tips->put_Enabled(VARIANT_FALSE);
    ASSERT_EQ(rec.of(TTM_ACTIVATE).size(), 2u);
    EXPECT_EQ(static_cast<LONG_PTR>(rec.of(TTM_ACTIVATE)[0].wParam), -1);
    EXPECT_EQ(rec.of(TTM_ACTIVATE)[1].wParam, 0u);

    // AddTTRect with the optional parameters left at their defaults.
    ASSERT_TRUE(addTool(c.tips.get(), owner.hwnd, "Feld", DefaultToolId));
    const Message add = rec.of(TTM_ADDTOOLA).at(0);
    EXPECT_EQ(add.tool.uFlags, 144u);
    EXPECT_EQ(add.tool.uId, 0u);
    EXPECT_EQ(add.tool.hwnd, owner.hwnd);
    EXPECT_EQ(add.tool.cbSize, TTTOOLINFOA_V2_SIZE);
    EXPECT_NE(add.tool.hinst, nullptr);
    EXPECT_EQ(GetPropA(owner.hwnd, "OLDPROC"), nullptr); // a fixed-text tool subclasses nothing

    // A missing by-reference parameter is refused before anything is sent.
    const std::size_t sent = rec.messages.size();
    LONG edge = 0;
    VARIANT_BOOL refused = VARIANT_TRUE;
    EXPECT_EQ(c.tips->AddTTRectCB(nullptr, &edge, &edge, &edge, &edge, Pellwick::TTF_TRACK, 5, &refused), E_POINTER);
    EXPECT_EQ(c.tips->SetTitle(nullptr, nullptr, &refused), E_POINTER);
    EXPECT_EQ(rec.messages.size(), sent);

    LONG top = 1, left = 2, bottom = 3, right = 4;
    VARIANT empty;
    c.tips->SetMargin(&top, &left, &bottom, &right, &empty);
    top = left = bottom = right = 0;
    c.tips->GetMargin(&top, &left, &bottom, &right, &empty);
    EXPECT_EQ((std::vector<LONG>{top, left, bottom, right}), (std::vector<LONG>{1, 2, 3, 4}));

    c.tips->put_BackColor(0x00FFEEDD);
    c.tips->put_FontColor(0x00112233);
    LONG back = 0, font = 0;
    c.tips->get_BackColor(&back);
    c.tips->get_FontColor(&font);
    EXPECT_EQ(font, 0x00112233);
    EXPECT_EQ(back, 0x00FFEEDD);

    TT_Timing initial = Pellwick::TTDT_INITIAL;
    c.tips->put_DelayTime(&initial, 250);
    LONG ms = 0;
    c.tips->get_DelayTime(&initial, &ms);
    EXPECT_EQ(ms, 250);

    c.tips->put_MaxTipWidth(180);
    LONG width = 0;
    c.tips->get_MaxTipWidth(&width);
    EXPECT_EQ(width, 180);

    LONG h = owner.hwnd, id = 0, unknown = 99, known = 0;
    c.tips->BubbleSize(&h, &id, &known);
    EXPECT_EQ(known, -1);
    c.tips->BubbleSize(&h, &unknown, &known);
    EXPECT_EQ(known, 0);

    OwnerWindow other;
    ASSERT_TRUE(addTool(c.tips.get(), other.hwnd, "Zweites", 42));
    LONG x = 30, y = 20, otherHwnd = other.hwnd, hit = 0;
    c.tips->HitTest(&x, &y, &otherHwnd, &hit);
    EXPECT_EQ(hit, 42);
    x = 300;
    c.tips->HitTest(&x, &y, &otherHwnd, &hit);
    EXPECT_EQ(hit, 0);
}

TEST(cToolTips, TextReadsBackWithinTheBuffer)
{
    Client c;
    ASSERT_EQ(c.created, S_OK);
    c.tips->Init(DefaultStyle);
    OwnerWindow owner;

    ASSERT_TRUE(addTool(c.tips.get(), owner.hwnd, "", 1));
    EXPECT_EQ(toolText(c.tips.get(), owner.hwnd, 1), "");

    const QString exact(1024, QChar('x'));
    ASSERT_TRUE(addTool(c.tips.get(), owner.hwnd, exact, 2));
    EXPECT_EQ(toolText(c.tips.get(), owner.hwnd, 2), exact);

    // Longer than the buffer: the first 1024 characters, nothing overrun.
    const QString longer = QString(1024, QChar('a')) + QString(500, QChar('b'));
    ASSERT_TRUE(addTool(c.tips.get(), owner.hwnd, longer, 3));
    EXPECT_EQ(toolText(c.tips.get(), owner.hwnd, 3), longer.left(1024));

    // Texts cross in the ANSI code page.
    c.tips->put_Text(1, owner.hwnd, com::Bstr(QStringLiteral("Drücke  'Neues Spiel'\r\nund der Spaß")).get());
    EXPECT_EQ(toolText(c.tips.get(), owner.hwnd, 1), "Drücke  'Neues Spiel'\r\nund der Spaß");
}

// DeleteTT and SetNewTTPos name the tooltip window as the tool's owner: they
// reach tools of the tooltip window itself, never a client window's tools.
TEST(cToolTips, DeleteAndMoveReachOnlyToolsOfTheTooltipWindow)
{
    Client c;
    ASSERT_EQ(c.created, S_OK);
    c.tips->Init(DefaultStyle);
    OwnerWindow owner;
    const HWND tip = tooltipOf(c.tips.get());
    ASSERT_TRUE(addCallbackTool(c.tips.get(), owner.hwnd, 100));
    ASSERT_TRUE(addTool(c.tips.get(), tip, "eigenes", 7));
    Recorder rec(tip);

    VARIANT_BOOL ok = VARIANT_TRUE;
    c.tips->DeleteTT(100, &ok);
    EXPECT_EQ(toolCount(c.tips.get()), 2);
    LONG l = 1, t = 2, r = 3, b = 4;
    c.tips->SetNewTTPos(7, &l, &t, &r, &b, &ok);
    const Message move = rec.of(TTM_NEWTOOLRECTA).at(0);
    EXPECT_EQ(move.tool.hwnd, tip);
    EXPECT_EQ(move.tool.rect.right, 3);

    c.tips->DeleteTT(7, &ok);
    EXPECT_EQ(toolCount(c.tips.get()), 1);
    EXPECT_EQ(rec.of(TTM_DELTOOLA).at(1).tool.hwnd, tip);
    EXPECT_NE(GetPropA(owner.hwnd, "OLDPROC"), nullptr); // deleting never ends the subclassing
}

TEST_F(CallbackTool, SubclassesTheOwnerOnceUntilTheObjectEnds)
{
    const auto subclassed = GetWindowLongA(owner.hwnd, GWL_WNDPROC);
    EXPECT_NE(subclassed, reinterpret_cast<LONG_PTR>(own.ownProc()));
    ASSERT_TRUE(addCallbackTool(c.tips.get(), owner.hwnd, 101));
    EXPECT_EQ(GetWindowLongA(owner.hwnd, GWL_WNDPROC), subclassed);
    EXPECT_EQ(GetPropA(owner.hwnd, "OLDPROC"), reinterpret_cast<HANDLE>(own.ownProc()));
    EXPECT_EQ(toolCount(c.tips.get()), 2);

    // NeedText: an 80-character answer arrives cut to 79 and terminated.
    c.needText = QString(79, QChar('a')) + "Z";
    NMTTDISPINFOA info{};
    std::fill(std::begin(info.szText), std::end(info.szText), '#');
    notify(owner.hwnd, tip, TTN_NEEDTEXTA, 101, &info);
    EXPECT_EQ(QByteArray(info.szText), QByteArray(79, 'a'));
    EXPECT_EQ(info.lpszText, info.szText);
    ASSERT_EQ(c.events.size(), 1u);
    EXPECT_EQ(c.events[0].id, dispid::NeedText);
    EXPECT_EQ(c.events[0].toolId, 101);
    // The text request went on to the owner's own procedure too.
    EXPECT_EQ(own.of(WM_NOTIFY).size(), 1u);

    // SHOW and POP end in the window procedure.
    EXPECT_EQ(notify(owner.hwnd, tip, TTN_SHOW, 100), 0);
    c.showReturnCode = 1;
    EXPECT_EQ(notify(owner.hwnd, tip, TTN_SHOW, 100), 1);
    EXPECT_EQ(notify(owner.hwnd, tip, TTN_POP, 100), 0);
    ASSERT_EQ(c.events.size(), 4u);
    EXPECT_EQ(c.events[3].id, dispid::POP);
    EXPECT_EQ(c.events[3].toolId, 100);
    EXPECT_EQ(own.of(WM_NOTIFY).size(), 1u);

    // Another control's notification reaches the owner's procedure, and its
    // result comes back.
    EXPECT_EQ(notify(owner.hwnd, 4711, static_cast<UINT>(-12), 5), Recorder::ownNotifyResult);
    EXPECT_EQ(own.of(WM_NOTIFY).size(), 2u);
    EXPECT_EQ(c.events.size(), 4u);

    c.release();
    expectRestored(owner, own);
    EXPECT_FALSE(IsWindow(tip));
}

TEST_F(CallbackTool, AHandlerMayReleaseTheObjectDuringItsEvent)
{
    c.releaseOnEvent = true;
    c.needText = "Tschüss";
    NMTTDISPINFOA info{};
    notify(owner.hwnd, tip, TTN_NEEDTEXTA, 100, &info);
    EXPECT_EQ(ansi::toUnicode(info.szText), "Tschüss");
    EXPECT_FALSE(c.tips);
    EXPECT_FALSE(IsWindow(tip));
    expectRestored(owner, own);
    EXPECT_EQ(own.of(WM_NOTIFY).size(), 1u); // the request still reached the owner's own procedure
}

TEST_F(CallbackTool, NeedTextWithNoAnswerLeavesAnEmptyText)
{
    NMTTDISPINFOA info{};
    info.szText[0] = 'x';
    notify(owner.hwnd, tip, TTN_NEEDTEXTA, 100, &info);
    EXPECT_EQ(info.szText[0], '\0');
}

// Two objects with callback tools over one window share its subclassing:
// each gets the notifications of its own tooltip window, and the window is
// never left pointing at an object that has ended, whichever ends first.
TEST(cToolTips, TwoObjectsOverOneWindowEndInEitherOrder)
{
    for (const bool firstEndsFirst : {true, false}) {
        OwnerWindow owner;
        Recorder own(owner.hwnd);
        auto a = std::make_unique<Client>();
        auto b = std::make_unique<Client>();
        ASSERT_EQ(b->created, S_OK);
        a->tips->Init(DefaultStyle);
        b->tips->Init(DefaultStyle);
        ASSERT_TRUE(addCallbackTool(a->tips.get(), owner.hwnd, 1));
        ASSERT_TRUE(addCallbackTool(b->tips.get(), owner.hwnd, 2));
        const HWND tipB = tooltipOf(b->tips.get());

        notify(owner.hwnd, tipB, TTN_POP, 2);
        EXPECT_TRUE(a->events.empty());
        ASSERT_EQ(b->events.size(), 1u);

        std::unique_ptr<Client> &gone = firstEndsFirst ? a : b;
        std::unique_ptr<Client> &left = firstEndsFirst ? b : a;
        const HWND tipLeft = tooltipOf(left->tips.get());
        gone.reset();
        EXPECT_NE(GetPropA(owner.hwnd, "cTTOBJ"), nullptr);
        left->showReturnCode = 1;
        EXPECT_EQ(notify(owner.hwnd, tipLeft, TTN_SHOW, 3), 1);
        EXPECT_EQ(left->events.back().id, dispid::SHOW);

        left.reset();
        expectRestored(owner, own);
        EXPECT_EQ(notify(owner.hwnd, tipLeft, TTN_SHOW, 3), 0);
    }
}
