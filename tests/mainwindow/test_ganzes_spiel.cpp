// Whole games for each field size, played with clicks on the left field:
// a new game as the new-game dialog starts it, the placement accepted
// through the message box, the battle to the last boat, the victory dialog
// and the entry in "Score.hsc".
#include "haupt_fixture.h"

#include "modDeklarationen.h"
#include "modMain.h"

#include <QFile>

#include <set>

using namespace haupttest;
using namespace modDeklarationen;

namespace {

// The records of place 1 of a size class: its name and its shots.
QString Name1(Byte groesse) { return Eintrag(20 * (groesse - 1) + 1); }
QString Schuesse1(Byte groesse) { return Eintrag(20 * (groesse - 1) + 2); }

QImage ZellBild(const Zelle &z)
{
    const int cs = grid().ZellGroesse();
    return ui().picpFeld->Image().copy((cs + 1) * (z.c - 1) + 1, (cs + 1) * (z.r - 1) + 1, cs, cs);
}

class GanzesSpiel : public HauptTest, public ::testing::WithParamInterface<int> {
protected:
    Byte groesse() const { return static_cast<Byte>(GetParam()); }

    void BeginneGefecht()
    {
        NeuesSpiel(groesse(), QStringLiteral("Tester"));
        Grab(haupt().Window(), QStringLiteral("spiel%1_setzen").arg(groesse()));
        Aufstellen(Aufstellung(), true);
        ASSERT_EQ(haupt().Modus(), mdGefecht);
    }
};

// Shoots at every cell of the computer's fleet while the battle lasts.
void VersenkeDieFlotte()
{
    for (const Boot &boot : ComputerBoote())
        for (const Zelle &z : boot)
            if (haupt().Modus() == mdGefecht)
                Klick(z);
}

} // namespace

TEST_P(GanzesSpiel, ThePlayerSinksEveryBoatAndEntersTheTopTen)
{
    BeginneGefecht();
    int zellen = 0;
    for (const Boot &boot : ComputerBoote())
        zellen += static_cast<int>(boot.size());
    EXPECT_EQ(zellen, grid().AnzahlBootsfelder(groesse()));

    Siegesbild sieg;
    SchliesseNaechstenSieg(&sieg, true);
    int schuss = 0;
    for (const Boot &boot : ComputerBoote()) {
        for (const Zelle &z : boot) {
            ASSERT_EQ(haupt().Modus(), mdGefecht) << "the game ended early, after " << schuss << " shots";
            Klick(z);
            if (++schuss == zellen / 2)
                Grab(haupt().Window(), QStringLiteral("spiel%1_gefecht").arg(groesse()));
        }
    }

    ASSERT_TRUE(sieg.gezeigt);
    EXPECT_EQ(haupt().Modus(), mdSpielende);
    EXPECT_EQ(frmHauptProbe::intSchuss(haupt(), seMensch), zellen);
    EXPECT_EQ(frmHauptProbe::intSchuss(haupt(), seComputer), zellen - 1) << "no answer to the winning shot";
    EXPECT_EQ(sieg.winner, seMensch);
    EXPECT_EQ(sieg.place, 1);
    EXPECT_EQ(sieg.bomben, QString::number(zellen));
    EXPECT_EQ(sieg.bombenZeile, QStringLiteral("Mit nur %1 Wasserbomben!").arg(zellen));
    EXPECT_EQ(sieg.titel, Siegertitel(seMensch));
    EXPECT_EQ(sieg.resultText, QStringLiteral("Tester, Du hast den Sieg errungen.\r\nSomit hast Du es auf den 1. Platz geschafft."));
    EXPECT_EQ(sieg.blinkRow, 1) << "the top ten opened from the victory dialog blink the new row";
    EXPECT_EQ(Name1(groesse()), QStringLiteral("Tester"));
    EXPECT_EQ(Schuesse1(groesse()), QString::number(zellen));
    for (Byte andere = 1; andere <= 3; ++andere) {
        if (andere != groesse()) {
            EXPECT_EQ(Name1(andere), QStringLiteral("unbekannt"));
        }
    }
    EXPECT_FALSE(ui().picpFeld->isEnabled());
    Grab(haupt().Window(), QStringLiteral("spiel%1_mensch_siegt").arg(groesse()));

    // Game over: the left field takes no more shots.
    frmHauptProbe::picpFeld_MouseDown(haupt(), vbLeftButton, 5, 5);
    EXPECT_EQ(frmHauptProbe::intSchuss(haupt(), seMensch), zellen);
}

TEST_P(GanzesSpiel, TheComputerSinksEveryBoatWhileThePlayerMissesAndItsUnhitBoatsAppear)
{
    BeginneGefecht();
    const std::vector<Boot> flotte = ComputerBoote();
    std::set<std::pair<int, int>> boot;
    for (const Boot &b : flotte)
        for (const Zelle &z : b)
            boot.insert({z.c, z.r});
    // Water first, then boat cells, but never the last one.
    std::vector<Zelle> ziele;
    const int p = grid().ZellGroesse() + 1;
    const int spalten = (ui().picpFeld->ScaleWidth() - 1) / p;
    const int zeilen = (ui().picpFeld->ScaleHeight() - 1) / p;
    for (int c = 1; c <= spalten; ++c)
        for (int r = 1; r <= zeilen; ++r)
            if (!boot.count({c, r}))
                ziele.push_back({c, r});
    for (const Boot &b : flotte)
        for (const Zelle &z : b)
            ziele.push_back(z);
    const Zelle ungetroffen = ziele.back();
    ziele.pop_back();
    const QImage wasser = ZellBild(ungetroffen);

    Siegesbild sieg;
    SchliesseNaechstenSieg(&sieg);
    for (const Zelle &z : ziele) {
        if (haupt().Modus() != mdGefecht)
            break;
        Klick(z);
    }

    ASSERT_TRUE(sieg.gezeigt) << "the computer did not win";
    EXPECT_EQ(haupt().Modus(), mdSpielende);
    const int computer = frmHauptProbe::intSchuss(haupt(), seComputer);
    EXPECT_EQ(frmHauptProbe::intSchuss(haupt(), seMensch), computer) << "the player shot first each turn";
    EXPECT_EQ(sieg.winner, seComputer);
    EXPECT_EQ(sieg.place, 1);
    EXPECT_EQ(sieg.bomben, QString::number(computer));
    EXPECT_EQ(sieg.bombenZeile, QStringLiteral("Mit nur %1 Wasserbomben!").arg(computer));
    EXPECT_EQ(sieg.titel, Siegertitel(seComputer));
    EXPECT_EQ(sieg.resultText,
              QStringLiteral("Der Computer hat wiedermal gegen Dich gewonnen.\r\nSomit hat er es auf den 1. Platz geschafft."));
    EXPECT_EQ(Name1(groesse()), QStringLiteral("Computer"));
    EXPECT_EQ(Schuesse1(groesse()), QString::number(computer));
    EXPECT_NE(ZellBild(ungetroffen), wasser) << "the boat the player never hit is shown";
    Grab(haupt().Window(), QStringLiteral("spiel%1_computer_siegt").arg(groesse()));
}

TEST_P(GanzesSpiel, ADamagedTopTenFileIsReadAsEmptyPlacesAndTakesTheResult)
{
    {
        QFile file(strScoreFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray("\xff\xff garbage \x01\x02", 14)); // short and nonsense
    }
    modMain::LoadScore();
    BeginneGefecht();
    Siegesbild sieg;
    SchliesseNaechstenSieg(&sieg);
    VersenkeDieFlotte();
    ASSERT_TRUE(sieg.gezeigt);
    EXPECT_EQ(sieg.place, 1);
    EXPECT_EQ(Name1(groesse()), QStringLiteral("Tester"));
    EXPECT_EQ(QFile(strScoreFile).size(), 1800);
}

INSTANTIATE_TEST_SUITE_P(Groessen, GanzesSpiel, ::testing::Values(1, 2, 3),
                         [](const auto &instance) { return "Groesse" + std::to_string(instance.param); });

using GanzesSpielVolleListe = HauptTest;

TEST_F(GanzesSpielVolleListe, AWinWorseThanAllTenSaysSoAndLeavesTheFileAsItWas)
{
    for (int p = 1; p <= 10; ++p) {
        strScore(p, 1, 1) = QStringLiteral("Profi %1").arg(p);
        strScore(p, 1, 2) = QStringLiteral("1");
    }
    modMain::SaveScore();
    QFile file(strScoreFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray vorher = file.readAll();
    file.close();

    NeuesSpiel(1, QStringLiteral("Tester"));
    Aufstellen(Aufstellung(), true);
    ASSERT_EQ(haupt().Modus(), mdGefecht);
    Siegesbild sieg;
    SchliesseNaechstenSieg(&sieg);
    VersenkeDieFlotte();
    ASSERT_TRUE(sieg.gezeigt);
    EXPECT_EQ(sieg.place, 0);
    EXPECT_EQ(sieg.resultText,
              QStringLiteral("Tester, Du hast den Sieg errungen.\r\nZu den Besten gehörst Du leider trotzdem nicht!"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), vorher);
}
