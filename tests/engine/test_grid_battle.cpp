#include "engine_fixture.h"

#include "Zellbilder.h"
#include "fleet_builder.h"
#include "runtime/random.h"

#include <QDir>

#include <set>

using namespace modDeklarationen;
using Battle = EngineTest;

TEST_F(Battle, PlayersShotMissesHitsSinksAndRefusesACellTwice)
{
    neuesSpiel(1, 31);
    const QImage vorher = picP->Image();
    // A water cell.
    Byte wx = 0, wy = 0;
    for (Byte x = 1; x <= 10 && !wx; ++x)
        for (Byte y = 1; y <= 8 && !wx; ++y)
            if (cFeld()(x, y, ebBoot) == 0)
                wx = x, wy = y;
    EXPECT_EQ(grid->SpielerSchuss(wx, wy), scWasser);
    EXPECT_EQ(cFeld()(wx, wy, ebBeschuss), zuWasser);
    EXPECT_EQ(zelle(*picP, wx, wy), alsZelle(picBmp103));

    // Boat 2 (three cells): hit, hit, sunk.
    tBoot &boot = cBoote()(2);
    Byte x1 = boot.X(1), y1 = boot.Y(1);
    EXPECT_EQ(grid->SpielerSchuss(x1, y1), scTreffer);
    EXPECT_EQ(boot.Z(1), zuGetroffen);
    EXPECT_EQ(zelle(*picP, x1, y1), alsZelle(picBmp104));
    Byte x3 = boot.X(3), y3 = boot.Y(3);
    EXPECT_EQ(grid->SpielerSchuss(x3, y3), scTreffer);

    // Shots at cells already shot change nothing.
    const Feld3<Byte> feld = cFeld();
    const QImage bild = picP->Image();
    EXPECT_EQ(grid->SpielerSchuss(wx, wy), scSchonBeschossen);
    EXPECT_EQ(grid->SpielerSchuss(x1, y1), scSchonBeschossen);
    EXPECT_EQ(picP->Image(), bild);
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 8; ++y)
            ASSERT_EQ(cFeld()(x, y, ebBeschuss), feld(x, y, ebBeschuss));

    Byte x2 = boot.X(2), y2 = boot.Y(2);
    EXPECT_EQ(grid->SpielerSchuss(x2, y2), scVersenkt);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(boot.Z(i), zuVersenkt);
        EXPECT_EQ(cFeld()(boot.X(i), boot.Y(i), ebBeschuss), zuVersenkt);
        EXPECT_EQ(zelle(*picP, boot.X(i), boot.Y(i)), alsZelle(picBmp105));
    }
    EXPECT_EQ(grid->SpielerSchuss(x2, y2), scSchonBeschossen);

    // A one-cell boat sinks at once and never shows the hit picture.
    Byte ex = cBoote()(8).X(1), ey = cBoote()(8).Y(1);
    EXPECT_EQ(grid->SpielerSchuss(ex, ey), scVersenkt);
    EXPECT_EQ(zelle(*picP, ex, ey), alsZelle(picBmp105));
    // Nothing is marked around the computer's sunk boats.
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
            const int nx = ex + dx, ny = ey + dy;
            if ((dx || dy) && nx >= 1 && nx <= 10 && ny >= 1 && ny <= 8) {
                EXPECT_EQ(cFeld()(nx, ny, ebBeschuss), feld(nx, ny, ebBeschuss));
            }
        }
    EXPECT_EQ(grid->Treffer, 0) << "the player's shots leave the hunt alone";
}

namespace {

// What one computer shot did, read from the field before and after it.
struct Schuss {
    int x = 0, y = 0;
};

} // namespace

class ComputerBattle : public EngineTest {
protected:
    // Shoots once and checks that exactly one unshot cell was the target and
    // that the field and the right box changed as the result says.
    Schuss schiesse()
    {
        const Feld3<Byte> vorher = pFeld();
        const Byte gejagt = grid->Treffer;
        const Byte ergebnis = grid->ComputerSchuss();
        Schuss ziel;
        int neu = 0;
        for (int x = 1; x <= W(); ++x)
            for (int y = 1; y <= H(); ++y) {
                const Byte alt = vorher(x, y, ebBeschuss), jetzt = pFeld()(x, y, ebBeschuss);
                const bool getroffen = jetzt == zuGetroffen || jetzt == zuVersenkt;
                const bool istZiel = alt == zuUnberuehrt &&
                                     (ergebnis == scWasser ? jetzt == zuWasser : getroffen);
                if (istZiel) {
                    ++neu;
                    ziel = {x, y};
                }
            }
        EXPECT_EQ(neu, 1) << "exactly one cell that was never shot is the target";
        if (gejagt != 0) {
            // Hunting: the target is a side neighbour of a hit cell of the hunted boat.
            bool nachbar = false;
            const tBoot &boot = pBoote()(gejagt);
            for (int i = 1; i <= boot.X.UBound(); ++i)
                if (vorher(boot.X(i), boot.Y(i), ebBeschuss) == zuGetroffen &&
                    std::abs(boot.X(i) - ziel.x) + std::abs(boot.Y(i) - ziel.y) == 1)
                    nachbar = true;
            EXPECT_TRUE(nachbar) << ziel.x << "," << ziel.y;
        }
        const Byte b = pFeld()(ziel.x, ziel.y, ebBoot);
        switch (ergebnis) {
        case scWasser:
            EXPECT_EQ(b, 0);
            EXPECT_EQ(grid->Treffer, gejagt);
            EXPECT_EQ(zelle(*picC, ziel.x, ziel.y), alsZelle(modDeklarationen::picBmp103));
            break;
        case scTreffer:
            EXPECT_NE(b, 0);
            EXPECT_EQ(grid->Treffer, b);
            EXPECT_EQ(zelle(*picC, ziel.x, ziel.y), alsZelle(modDeklarationen::picBmp104));
            break;
        case scVersenkt: {
            EXPECT_EQ(grid->Treffer, 0);
            const tBoot &boot = pBoote()(b);
            for (int i = 1; i <= boot.X.UBound(); ++i) {
                EXPECT_EQ(boot.Z(i), zuVersenkt);
                EXPECT_EQ(zelle(*picC, boot.X(i), boot.Y(i)), alsZelle(modDeklarationen::picBmp105));
                // Every neighbour inside the field is known water now (or the boat itself).
                for (int dx = -1; dx <= 1; ++dx)
                    for (int dy = -1; dy <= 1; ++dy) {
                        const int nx = boot.X(i) + dx, ny = boot.Y(i) + dy;
                        if (nx >= 1 && nx <= W() && ny >= 1 && ny <= H() && pFeld()(nx, ny, ebBoot) != b) {
                            EXPECT_EQ(pFeld()(nx, ny, ebBeschuss), zuWasser);
                        }
                    }
            }
            break;
        }
        default:
            ADD_FAILURE() << "result " << int(ergebnis);
        }
        return ziel;
    }

    bool flotteVersenkt()
    {
        for (int b = 1; b <= grid->AnzahlBoote(); ++b)
            if (pBoote()(b).Z(1) != zuVersenkt)
                return false;
        return true;
    }

    void grab(const QString &name)
    {
        const QString dir = qEnvironmentVariable("MURVEL_GRAB_DIR");
        if (dir.isEmpty())
            return;
        picP->grab().save(QDir(dir).filePath(name + "-links.png"));
        picC->grab().save(QDir(dir).filePath(name + "-rechts.png"));
    }
};

TEST_F(ComputerBattle, WholeBattlesSinkEveryPlayersFleet)
{
    picC->show();
    picP->show();
    for (Byte s = 1; s <= 3; ++s) {
        for (unsigned seed = 1; seed <= 12; ++seed) {
            neuesSpiel(s, seed * 101u);
            ASSERT_TRUE(BaueSpielerFlotte(*grid));
            grid->UebertrageBoote();
            int schuesse = 0;
            while (!flotteVersenkt()) {
                schiesse();
                ASSERT_LE(++schuesse, W() * H()) << "never more shots than cells";
                if (HasFailure())
                    return;
                if (seed == 1 && schuesse == 25) {
                    // A few of the player's shots too, for a look at both fields.
                    for (Byte x = 1; x <= 5; ++x) {
                        Byte y = static_cast<Byte>(x + 1);
                        grid->SpielerSchuss(x, y);
                    }
                    grab(QStringLiteral("gefecht-%1").arg(s));
                }
            }
            EXPECT_EQ(grid->Treffer, 0);
            for (int b = 1; b <= grid->AnzahlBoote(); ++b)
                for (int i = 1; i <= pBoote()(b).X.UBound(); ++i) {
                    ASSERT_EQ(pBoote()(b).Z(i), zuVersenkt);
                    ASSERT_EQ(pFeld()(pBoote()(b).X(i), pBoote()(b).Y(i), ebBeschuss), zuVersenkt);
                }
            Byte modus = 2;
            const tRestBoote rest = grid->RestBoote(modus);
            for (const QString &e : rest[seMensch])
                EXPECT_EQ(e, QStringLiteral("0"));
        }
    }
}

TEST_F(ComputerBattle, WithNothingLeftToShootAtTheComputerDoesNotShoot)
{
    for (Byte s = 1; s <= 3; ++s) {
        neuesSpiel(s, 700u + s);
        ASSERT_TRUE(BaueSpielerFlotte(*grid));
        grid->UebertrageBoote();
        int schuesse = 0;
        while (!flotteVersenkt()) {
            grid->ComputerSchuss();
            ASSERT_LE(++schuesse, W() * H());
        }
        // Asked on after its last sinking shot, the computer shoots the
        // cells that are left, all water, and then no more.
        Byte ergebnis = scWasser;
        for (int frei = W() * H(); frei >= 0 && ergebnis == scWasser; --frei)
            ergebnis = grid->ComputerSchuss();
        ASSERT_EQ(ergebnis, scSchonBeschossen) << "size " << int(s);
        const Feld3<Byte> vorher = pFeld();
        const QImage bild = picC->Image();
        EXPECT_EQ(grid->ComputerSchuss(), scSchonBeschossen);
        for (int x = 1; x <= W(); ++x)
            for (int y = 1; y <= H(); ++y) {
                ASSERT_NE(pFeld()(x, y, ebBeschuss), zuUnberuehrt);
                ASSERT_EQ(pFeld()(x, y, ebBeschuss), vorher(x, y, ebBeschuss));
            }
        EXPECT_EQ(picC->Image(), bild) << "nothing drawn";
        EXPECT_EQ(grid->Treffer, 0);
    }
}

TEST_F(ComputerBattle, FirstShotFallsIntoOneOfTheLastTwoBlocksFairly)
{
    int rechts = 0;
    std::set<std::pair<int, int>> gesehen;
    for (unsigned seed = 1; seed <= 400; ++seed) {
        neuesSpiel(1, seed);
        ASSERT_TRUE(BaueSpielerFlotte(*grid));
        const Schuss ziel = schiesse();
        // On 10 x 8 the last two blocks form the bottom half: columns 1-5 and 6-10.
        ASSERT_GE(ziel.y, 5) << seed;
        rechts += ziel.x >= 6;
        gesehen.emplace(ziel.x, ziel.y);
    }
    EXPECT_NEAR(rechts, 200, 40);
    EXPECT_GT(gesehen.size(), 34u) << "any of the 40 cells";
}

TEST_F(ComputerBattle, HuntListsEveryUnshotSideNeighbourOfTheHitCellsWithRepeats)
{
    neuesSpiel(1, 41);
    // The player's boat 1 bent over (3,3) (4,3) (4,4) (4,5), three cells hit.
    Byte b = 1, teil = 0;
    for (auto [x, y] : std::initializer_list<std::pair<Byte, Byte>>{{3, 3}, {4, 3}, {4, 4}, {4, 5}}) {
        Byte bx = x, by = y;
        ++teil;
        ASSERT_TRUE(grid->CreatePoint(b, bx, by));
        grid->SetzePunkt(b, teil, bx, by);
    }
    for (int i = 1; i <= 3; ++i) {
        pBoote()(1).Z(i) = zuGetroffen;
        pFeld()(pBoote()(1).X(i), pBoote()(1).Y(i), ebBeschuss) = zuGetroffen;
    }
    pFeld()(3, 2, ebBeschuss) = zuWasser;
    grid->Treffer = 1;
    clsGridProbe::JageZiele(*grid);
    const Feld2<Byte> &ziele = clsGridProbe::Ziele(*grid);
    std::multiset<std::pair<int, int>> liste;
    for (int i = 1; i <= ziele.UBound(2); ++i)
        liste.emplace(ziele(1, i), ziele(2, i));
    const std::multiset<std::pair<int, int>> soll = {
        {2, 3},                 // around (3, 3); (3, 2) is shot
        {3, 4},                 // ... and below it
        {4, 2}, {5, 3},         // around (4, 3)
        {5, 4}, {3, 4}, {4, 5}, // around (4, 4): (3, 4) a second time; (4, 5) unhit but unshot
    };
    EXPECT_EQ(liste, soll);
}

TEST_F(ComputerBattle, SearchFallsBackToAllUnshotCells)
{
    neuesSpiel(1, 51);
    ASSERT_TRUE(BaueSpielerFlotte(*grid));
    // Everything shot but two isolated cells: no search pass finds a cell.
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 8; ++y)
            pFeld()(x, y, ebBeschuss) = zuWasser;
    pFeld()(3, 3, ebBeschuss) = 0;
    pFeld()(8, 6, ebBeschuss) = 0;
    clsGridProbe::SucheZiele(*grid);
    const Feld2<Byte> &ziele = clsGridProbe::Ziele(*grid);
    ASSERT_EQ(ziele.UBound(2), 2);
    EXPECT_EQ(std::make_pair(int(ziele(1, 1)), int(ziele(2, 1))), std::make_pair(3, 3));
    EXPECT_EQ(std::make_pair(int(ziele(1, 2)), int(ziele(2, 2))), std::make_pair(8, 6));

    // Two touching cells: each has exactly one unshot neighbour, found by the last pass.
    pFeld()(8, 6, ebBeschuss) = zuWasser;
    pFeld()(3, 4, ebBeschuss) = 0;
    clsGridProbe::SucheZiele(*grid);
    ASSERT_EQ(ziele.UBound(2), 2);
    EXPECT_EQ(int(ziele(2, 1)) + int(ziele(2, 2)), 7);

    // Once every boat longer than one cell is sunk, every unshot cell is a candidate.
    neuesSpiel(1, 52);
    ASSERT_TRUE(BaueSpielerFlotte(*grid));
    for (int b = 1; b <= 5; ++b)
        pBoote()(b).Z(1) = zuVersenkt;
    clsGridProbe::SucheZiele(*grid);
    EXPECT_EQ(ziele.UBound(2), 80);
}

// On an untouched field the draws are: the block (1..2), 2 x 20 pairs for the
// shuffle, then the pick; replaying them predicts the target exactly.
TEST_F(ComputerBattle, SearchShotMakesTheDrawsInTheirOrderAndNumber)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        neuesSpiel(2, seed);
        ASSERT_TRUE(BaueSpielerFlotte(*grid));
        Randomize(seed * 31u);
        const Schuss ziel = schiesse();
        const float danach = Rnd();

        Randomize(seed * 31u);
        // On 15 x 12 every block counts 20, nothing moves in the sort: the
        // last two columns are blocks 9 (bottom right) and 8.
        const int block = RndDraw(2) == 1 ? 9 : 8;
        const int x0 = (block - 1) % 3 * 5 + 1, y0 = (block - 1) / 3 * 4 + 1;
        std::vector<std::pair<int, int>> ziele;
        for (int y = y0; y < y0 + 4; ++y)
            for (int x = x0; x < x0 + 5; ++x)
                ziele.emplace_back(x, y);
        for (int t = 0; t < 40; ++t) {
            const int p = RndDraw(20), q = RndDraw(20);
            std::swap(ziele[p - 1], ziele[q - 1]);
        }
        const auto soll = ziele[RndDraw(20) - 1];
        EXPECT_EQ(std::make_pair(ziel.x, ziel.y), soll) << seed;
        EXPECT_EQ(Rnd(), danach) << "4 x 20 + 2 draws, no more";
    }
}
