#include "engine_fixture.h"

#include "runtime/random.h"

#include <map>
#include <set>

using Placement = EngineTest;

namespace {

struct Zug {
    Byte x, y;
};

} // namespace

class PlayerPlacement : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        neuesSpiel(1, 11);
    }
    bool darf(Byte b, Byte x, Byte y) { return grid->CreatePoint(b, x, y); }
    // Places the cells without asking, as the click handler does after CreatePoint.
    void setze(Byte b, std::initializer_list<Zug> zellen)
    {
        Byte teil = 0;
        for (Zug z : zellen) {
            ++teil;
            grid->SetzePunkt(b, teil, z.x, z.y);
        }
    }
};

TEST_F(PlayerPlacement, FirstCellAnywhereFreeIncludingCornersAndEdges)
{
    for (Byte b : {1, 6}) {
        EXPECT_TRUE(darf(b, 1, 1));
        EXPECT_TRUE(darf(b, 10, 8));
        EXPECT_TRUE(darf(b, 10, 1));
        EXPECT_TRUE(darf(b, 5, 8));
    }
    setze(6, {{1, 1}});
    // No other boat may touch it, even at a corner; the cell itself is taken.
    EXPECT_FALSE(darf(7, 1, 1));
    EXPECT_FALSE(darf(7, 2, 2));
    EXPECT_FALSE(darf(7, 1, 2));
    EXPECT_TRUE(darf(7, 3, 1));
    EXPECT_TRUE(darf(7, 3, 3));
}

TEST_F(PlayerPlacement, FurtherCellsTouchTheBoatSideBySide)
{
    setze(1, {{4, 4}});
    EXPECT_FALSE(darf(1, 5, 5)) << "corner contact only";
    EXPECT_FALSE(darf(1, 6, 4)) << "no contact";
    EXPECT_FALSE(darf(1, 4, 4)) << "the cell of the boat itself";
    for (Zug z : std::initializer_list<Zug>{{4, 3}, {5, 4}, {4, 5}, {3, 4}})
        EXPECT_TRUE(darf(1, z.x, z.y)) << int(z.x) << "," << int(z.y);
}

TEST_F(PlayerPlacement, BoatsBendAndBranchButNeverFillASquare)
{
    // L shape: (4,4) (5,4) (5,5), then the square's last cell in any order.
    setze(1, {{4, 4}, {5, 4}, {5, 5}});
    EXPECT_FALSE(darf(1, 4, 5));
    EXPECT_TRUE(darf(1, 6, 5)) << "Z shape";
    EXPECT_TRUE(darf(1, 5, 6)) << "straight on";
    EXPECT_TRUE(darf(1, 5, 3)) << "T shape";
    grid->LoescheBoot(*std::make_unique<Byte>(1));

    for (auto folge : {std::vector<Zug>{{4, 5}, {4, 4}, {5, 4}}, std::vector<Zug>{{5, 5}, {4, 5}, {4, 4}},
                       std::vector<Zug>{{5, 4}, {5, 5}, {4, 5}}}) {
        Byte b = 1;
        Byte teil = 0;
        for (Zug z : folge) {
            ++teil;
            ASSERT_TRUE(darf(b, z.x, z.y));
            grid->SetzePunkt(b, teil, z.x, z.y);
        }
        int fehlt = 0;
        for (Byte x = 4; x <= 5; ++x)
            for (Byte y = 4; y <= 5; ++y)
                if (pFeld()(x, y, ebBoot) == 0) {
                    EXPECT_FALSE(darf(b, x, y));
                    ++fehlt;
                }
        EXPECT_EQ(fehlt, 1);
        grid->LoescheBoot(b);
    }
}

TEST_F(PlayerPlacement, SetzePunktReportsTheMissingCellsAndMarksTheField)
{
    Byte b = 2; // three cells
    Byte teil = 1, x = 8, y = 2;
    EXPECT_TRUE(grid->SetzePunkt(b, teil, x, y));
    teil = 2, y = 3;
    EXPECT_TRUE(grid->SetzePunkt(b, teil, x, y));
    teil = 3, y = 4;
    EXPECT_FALSE(grid->SetzePunkt(b, teil, x, y));
    EXPECT_EQ(b, 2);
    EXPECT_EQ(teil, 3);
    EXPECT_EQ(pFeld()(8, 4, ebBoot), 2);
    EXPECT_EQ(pBoote()(2).X(3), 8);
    EXPECT_EQ(pBoote()(2).Y(3), 4);
    EXPECT_EQ(pBoote()(2).Z(3), 0);

    Byte einzel = 6;
    teil = 1, x = 1, y = 8;
    EXPECT_FALSE(grid->SetzePunkt(einzel, teil, x, y)) << "a one-cell boat is complete at once";
}

// ---- The computer's fleet ----------------------------------------------------

TEST_F(Placement, DirectionTestSeesTheBlockAheadAndTheEdge)
{
    grid->setGroesse(1);
    clsGridProbe::NeueFelder(*grid);
    // Row 2 cannot grow up, column W - 1 cannot grow right.
    for (Byte d0 = 1; d0 <= 4; ++d0) {
        EXPECT_NE(clsGridProbe::PruefeRichtung(*grid, d0, 5, 2), riOben);
        EXPECT_NE(clsGridProbe::PruefeRichtung(*grid, d0, 9, 4), riRechts);
    }
    // A corner cell has no direction at all.
    for (Byte d0 = 1; d0 <= 4; ++d0)
        EXPECT_EQ(clsGridProbe::PruefeRichtung(*grid, d0, 1, 1), riKeine);
    // From (2, 2) only right and down pass; block down with an occupied cell.
    cFeld()(2, 4, ebBoot) = 9;
    for (Byte d0 = 1; d0 <= 4; ++d0)
        EXPECT_EQ(clsGridProbe::PruefeRichtung(*grid, d0, 2, 2), riRechts) << int(d0);
    // The first passing direction counts from d0, wrapping from 4 to 1.
    EXPECT_EQ(clsGridProbe::PruefeRichtung(*grid, 3, 5, 4), riUnten);
    EXPECT_EQ(clsGridProbe::PruefeRichtung(*grid, 4, 5, 4), riLinks);
    // The cell the chain came from blocks the way back.
    cFeld()(5, 4, ebBoot) = 1;
    cFeld()(6, 4, ebBoot) = 1;
    for (Byte d0 = 1; d0 <= 4; ++d0)
        EXPECT_NE(clsGridProbe::PruefeRichtung(*grid, d0, 6, 4), riLinks);
}

TEST_F(Placement, StartCellsKeepClearOfEveryBoatButMayTouchTheEdge)
{
    grid->setGroesse(1);
    clsGridProbe::NeueFelder(*grid);
    // Everything occupied but (1, 1) and (10, 8); (10, 8) has a neighbour.
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 8; ++y)
            cFeld()(x, y, ebBoot) = 9;
    cFeld()(1, 1, ebBoot) = 0;
    cFeld()(2, 1, ebBoot) = 0;
    cFeld()(1, 2, ebBoot) = 0;
    cFeld()(2, 2, ebBoot) = 0;
    cFeld()(10, 8, ebBoot) = 0;
    Randomize(21u);
    Byte c = 0, r = 0;
    EXPECT_TRUE(clsGridProbe::ZufallsStart(*grid, c, r));
    EXPECT_EQ(c, 1);
    EXPECT_EQ(r, 1);
    cFeld()(1, 1, ebBoot) = 9;
    cFeld()(1, 2, ebBoot) = 9;
    cFeld()(2, 1, ebBoot) = 9;
    // Only (2, 2) and (10, 8) are empty, both next to a boat: 100 candidates, then no.
    EXPECT_FALSE(clsGridProbe::ZufallsStart(*grid, c, r));
    EXPECT_TRUE((c == 2 && r == 2) || (c == 10 && r == 8)) << "the last candidate is handed back";
}

// A failed try leaves no mark; a successful one marks exactly its own cells;
// every try ends, whatever dead ends it meets on a crowded field.
TEST_F(Placement, DeadEndsLeaveNoStrayMarks)
{
    grid->setGroesse(3);
    int erfolge = 0, fehlschlaege = 0;
    for (unsigned seed = 1; seed <= 600; ++seed) {
        clsGridProbe::NeueFelder(*grid);
        Randomize(seed);
        // Scattered one-cell obstacles make winding corridors.
        for (int k = 0; k < 40; ++k)
            cFeld()(RndDraw(20), RndDraw(16), ebBoot) = 14;
        const Feld3<Byte> vorher = cFeld();
        const Byte n = 1; // six cells
        const bool ok = clsGridProbe::PlaziereCBoot(*grid, n);
        const tBoot &boot = cBoote()(n);
        std::set<std::pair<int, int>> eigene;
        if (ok)
            for (int i = 1; i <= 6; ++i)
                eigene.emplace(boot.X(i), boot.Y(i));
        ASSERT_EQ(eigene.size(), ok ? 6u : 0u) << seed;
        for (int x = 1; x <= 20; ++x)
            for (int y = 1; y <= 16; ++y) {
                const bool eigen = eigene.count({x, y}) > 0;
                ASSERT_EQ(cFeld()(x, y, ebBoot), eigen ? 1 : vorher(x, y, ebBoot)) << seed << ": " << x << "," << y;
            }
        (ok ? erfolge : fehlschlaege)++;
    }
    EXPECT_GT(erfolge, 50);
    EXPECT_GT(fehlschlaege, 50) << "the field should force dead ends often";
}

class ComputerFleet : public EngineTest, public ::testing::WithParamInterface<int> {};

TEST_P(ComputerFleet, EveryFleetKeepsTheSpacingAndChainRules)
{
    const Byte s = static_cast<Byte>(GetParam());
    const int zellenSoll = s == 1 ? 17 : s == 2 ? 29 : 40;
    grid->setGroesse(s);
    for (unsigned seed = 1; seed <= 300; ++seed) {
        Randomize(seed * 7919u);
        ASSERT_TRUE(grid->ErstelleCFeld()) << seed;
        std::map<int, int> zaehler;
        int zellen = 0;
        for (int x = 1; x <= W(); ++x)
            for (int y = 1; y <= H(); ++y) {
                ASSERT_EQ(cFeld()(x, y, ebBeschuss), 0);
                ASSERT_EQ(cFeld()(x, y, ebReserve), 0);
                ASSERT_EQ(pFeld()(x, y, ebBoot) + pFeld()(x, y, ebBeschuss), 0);
                const int b = cFeld()(x, y, ebBoot);
                if (b == 0)
                    continue;
                ++zellen;
                ++zaehler[b];
                // No other boat among the eight neighbours.
                for (int dx = -1; dx <= 1; ++dx)
                    for (int dy = -1; dy <= 1; ++dy) {
                        const int nx = x + dx, ny = y + dy;
                        if (nx >= 1 && nx <= W() && ny >= 1 && ny <= H()) {
                            const int nb = cFeld()(nx, ny, ebBoot);
                            ASSERT_TRUE(nb == 0 || nb == b) << seed;
                        }
                    }
            }
        ASSERT_EQ(zellen, zellenSoll) << seed;
        for (int b = 1; b <= grid->AnzahlBoote(); ++b) {
            const tBoot &boot = cBoote()(b);
            const int L = boot.X.UBound();
            ASSERT_EQ(zaehler[b], L) << seed << " boat " << b;
            for (int i = 1; i <= L; ++i) {
                ASSERT_EQ(cFeld()(boot.X(i), boot.Y(i), ebBoot), b);
                ASSERT_EQ(boot.Z(i), 0);
                if (i > 1) {
                    ASSERT_EQ(std::abs(boot.X(i) - boot.X(i - 1)) + std::abs(boot.Y(i) - boot.Y(i - 1)), 1)
                        << "a chain of side neighbours";
                    ASSERT_TRUE(boot.X(i) >= 2 && boot.X(i) <= W() - 1 && boot.Y(i) >= 2 && boot.Y(i) <= H() - 1);
                }
                for (int j = i + 2; j <= L; ++j)
                    ASSERT_NE(std::abs(boot.X(i) - boot.X(j)) + std::abs(boot.Y(i) - boot.Y(j)), 1)
                        << "cells apart in the list never touch side by side";
            }
        }
        for (int b = 1; b <= grid->AnzahlBoote(); ++b)
            for (int i = 1; i <= pBoote()(b).X.UBound(); ++i)
                ASSERT_EQ(pBoote()(b).X(i) + pBoote()(b).Y(i) + pBoote()(b).Z(i), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(SizeClasses, ComputerFleet, ::testing::Values(1, 2, 3));
