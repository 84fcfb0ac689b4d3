// The left field's clicks and the waste bin: the guards, the placement
// cell by cell, the question after the last boat, the shots.
#include "haupt_fixture.h"

#include "modDeklarationen.h"

#include "runtime/timer.h"

#include <QTest>

using namespace haupttest;
using namespace modDeklarationen;

namespace {

int BootZellen()
{
    Feld3<Byte> &feld = clsGridProbe::pFeld(grid());
    int n = 0;
    for (int c = 1; c <= feld.UBound(1); ++c)
        for (int r = 1; r <= feld.UBound(2); ++r)
            n += feld(c, r, ebBoot) != 0 ? 1 : 0;
    return n;
}

// Cells of the player's field the computer has shot at.
int Beschossen() { return BeschosseneZellen(clsGridProbe::pFeld(grid())); }

} // namespace

using Brettklicks = HauptTest;

TEST_F(Brettklicks, OnlyALeftPressOutsideStateThreeActsButEveryPressEndsTheBalloon)
{
    NeuesSpiel(1);
    ASSERT_TRUE(haupt().ToolTip);
    Klick({1, 1}, Qt::RightButton);
    EXPECT_FALSE(haupt().ToolTip);
    Klick({1, 1}, Qt::MiddleButton);
    EXPECT_EQ(frmHauptProbe::bytTeil(haupt()), 0);
    EXPECT_EQ(BootZellen(), 0);

    haupt().ToolTip = true;
    haupt().setModus(mdSpielende);
    frmHauptProbe::picpFeld_MouseDown(haupt(), vbLeftButton, 12, 12);
    EXPECT_FALSE(haupt().ToolTip);
    EXPECT_EQ(BootZellen(), 0);
}

TEST_F(Brettklicks, TheOutermostPixelsAndTheGridLinesAreIgnored)
{
    NeuesSpiel(1); // cells of 24 pixels, pitch 25
    const float w = static_cast<float>(ui().picpFeld->ScaleWidth());
    const float h = static_cast<float>(ui().picpFeld->ScaleHeight());
    for (auto [x, y] : {std::pair{0.f, 12.f}, {12.f, 0.f}, {w - 1, 12.f}, {12.f, h - 1}, {25.f, 12.f}, {12.f, 50.f},
                        {25.4f, 12.f}, {49.5f, 12.f}, {12.f, 0.9f}}) {
        frmHauptProbe::picpFeld_MouseDown(haupt(), vbLeftButton, x, y);
        EXPECT_EQ(BootZellen(), 0) << x << "," << y;
    }
    // 49.5 above rounds to the grid line 50, 25.5 to 26 (halves to even):
    // the first pixel of column 2.
    frmHauptProbe::picpFeld_MouseDown(haupt(), vbLeftButton, 25.5f, 1.f);
    EXPECT_NE(clsGridProbe::pFeld(grid())(2, 1, ebBoot), 0);
}

TEST_F(Brettklicks, ACellTheRulesRefuseChangesNothing)
{
    NeuesSpiel(1);
    Klick({1, 1});
    ASSERT_EQ(frmHauptProbe::bytTeil(haupt()), 1);
    EXPECT_TRUE(ui().imgMuell->Enabled());
    EXPECT_EQ(ui().imgMuell->Picture(), picMüll[1]);
    Klick({5, 5}); // not next to the boat's first cell
    EXPECT_EQ(frmHauptProbe::bytTeil(haupt()), 1);
    EXPECT_EQ(BootZellen(), 1);
    EXPECT_TRUE(ui().imgMuell->Enabled());
    EXPECT_EQ(ui().imgMuell->Picture(), picMüll[1]);
}

TEST_F(Brettklicks, TheBinDiscardsTheUnfinishedBoatAndTheNextClickStartsItAgain)
{
    NeuesSpiel(2);
    Klick({3, 3});
    Klick({4, 3});
    ASSERT_EQ(BootZellen(), 2);
    Grab(haupt().Window(), QStringLiteral("haupt_muell_scharf"));
    QTest::mouseClick(ui().imgMuell, Qt::LeftButton);
    EXPECT_EQ(BootZellen(), 0);
    EXPECT_EQ(frmHauptProbe::bytTeil(haupt()), 0);
    EXPECT_EQ(frmHauptProbe::bytBoot(haupt()), 1);
    EXPECT_FALSE(ui().imgMuell->Enabled());
    EXPECT_EQ(ui().imgMuell->Picture(), picMüll[0]);
    Klick({8, 8});
    EXPECT_EQ(frmHauptProbe::bytTeil(haupt()), 1);
    EXPECT_NE(clsGridProbe::pFeld(grid())(8, 8, ebBoot), 0);
}

TEST_F(Brettklicks, AOneCellBoatArmsAndDisarmsTheBinInOneClick)
{
    NeuesSpiel(1);
    const std::vector<Boot> plan = Aufstellung();
    // Every boat but the last, a one-cell one.
    for (std::size_t b = 0; b + 1 < plan.size(); ++b)
        for (const Zelle &z : plan[b])
            Klick(z);
    ASSERT_EQ(plan.back().size(), 1u);
    const Byte boot = frmHauptProbe::bytBoot(haupt());
    BeantworteNaechsteFrage(true);
    Klick(plan.back().front());
    EXPECT_EQ(frmHauptProbe::bytBoot(haupt()), boot + 1);
    EXPECT_FALSE(ui().imgMuell->Visible());
}

TEST_F(Brettklicks, AnsweringNoGivesNewEmptyFieldsAndANewComputerFleet)
{
    NeuesSpiel(1);
    const std::vector<Boot> vorher = ComputerBoote();
    QString frage;
    BeantworteNaechsteFrage(false, &frage);
    for (const Boot &boot : Aufstellung())
        for (const Zelle &z : boot)
            Klick(z);
    EXPECT_EQ(frage, QStringLiteral("Alle Boote wurden gesetzt.\r\n\r\nBist Du mit der Aufstellung zufrieden?"));
    EXPECT_EQ(haupt().Modus(), mdSetzen);
    EXPECT_EQ(frmHauptProbe::bytBoot(haupt()), 1);
    EXPECT_EQ(BootZellen(), 0);
    EXPECT_NE(ComputerBoote(), vorher);
    EXPECT_TRUE(ui().imgMuell->Visible());
}

TEST_F(Brettklicks, AcceptingStartsTheBattleWithTheBalloonWhenHelpIsOn)
{
    NeuesSpiel(1);
    haupt().ToolTip = false;
    ui().timTTip->setEnabled(false);
    Aufstellen(Aufstellung(), true);
    EXPECT_EQ(haupt().Modus(), mdGefecht);
    EXPECT_FALSE(ui().imgMuell->Visible());
    EXPECT_TRUE(haupt().ToolTip);
    EXPECT_TRUE(ui().timTTip->Enabled());
}

TEST_F(Brettklicks, WithHelpOffAcceptingShowsNoBalloon)
{
    bytHelp = 0;
    NeuesSpiel(1);
    haupt().ToolTip = false;
    ui().timTTip->setEnabled(false);
    Aufstellen(Aufstellung(), true);
    EXPECT_EQ(haupt().Modus(), mdGefecht);
    EXPECT_FALSE(haupt().ToolTip);
    EXPECT_FALSE(ui().timTTip->Enabled());
}

TEST_F(Brettklicks, ACellShotBeforeIsNeitherCountedNorAnswered)
{
    NeuesSpiel(1);
    Aufstellen(Aufstellung(), true);
    ASSERT_EQ(haupt().Modus(), mdGefecht);
    Klick({1, 1});
    EXPECT_EQ(frmHauptProbe::intSchuss(haupt(), 0), 1);
    EXPECT_EQ(frmHauptProbe::intSchuss(haupt(), 1), 1);
    const int beschossen = Beschossen();
    Klick({1, 1});
    EXPECT_EQ(frmHauptProbe::intSchuss(haupt(), 0), 1);
    EXPECT_EQ(frmHauptProbe::intSchuss(haupt(), 1), 1);
    EXPECT_EQ(Beschossen(), beschossen);
}
