// A player who clicks again while a click is still being handled: such a
// click waits in the queue and is handled at the handler's next step that
// processes pending messages, inside it. Whole battles with a click waiting
// at each of those steps, to either winner; and a close of the window with
// clicks queued behind it.
#include "haupt_fixture.h"

#include "frmNeu.h"
#include "modDeklarationen.h"
#include "modMain.h"

#include "comctl/toolbar.h"
#include "runtime/image.h"
#include "runtime/label.h"
#include "runtime/random.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <set>

using namespace haupttest;
using namespace modDeklarationen;

namespace {

// The player's next targets, shared by his own clicks and the ones that
// wait in the queue, each cell once.
class Ziele {
public:
    explicit Ziele(std::vector<Zelle> zellen) : m_zellen(std::move(zellen)) {}
    bool leer() const { return m_naechste >= m_zellen.size(); }
    Zelle naechste() { return m_zellen[m_naechste++]; }

private:
    std::vector<Zelle> m_zellen;
    std::size_t m_naechste = 0;
};

// A click that is always waiting when the running board handler processes
// pending messages: a timer of no delay fires once at every such step (Qt
// never fires a timer again while its own slot runs, so the clicks it makes
// do not nest into each other) and clicks the player's next target.
class WartenderKlick {
public:
    explicit WartenderKlick(Ziele &ziele)
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this, &ziele] {
            if (haupt().Modus() != mdGefecht || ziele.leer())
                return;
            ++m_klicks;
            Klick(ziele.naechste());
        });
        m_timer.start();
    }
    int klicks() const { return m_klicks; }

private:
    QTimer m_timer;
    int m_klicks = 0;
};

// The player's targets: the cells of the computer's fleet and then its
// water (so that clicks wait after the winning shot too), or its water and
// then its boats but for their last cell (he cannot win).
std::vector<Zelle> Zellen(bool menschSiegt)
{
    std::set<std::pair<int, int>> flotte;
    std::vector<Zelle> boote, zellen;
    for (const Boot &b : ComputerBoote())
        for (const Zelle &z : b) {
            flotte.insert({z.c, z.r});
            boote.push_back(z);
        }
    if (menschSiegt)
        zellen = boote;
    Feld3<Byte> &feld = clsGridProbe::cFeld(grid());
    for (int c = 1; c <= feld.UBound(1); ++c)
        for (int r = 1; r <= feld.UBound(2); ++r)
            if (!flotte.count({c, r}))
                zellen.push_back({c, r});
    if (!menschSiegt)
        zellen.insert(zellen.end(), boote.begin(), boote.end() - 1);
    return zellen;
}

void Poste(QWidget *an, QEvent::Type art, QPoint wo)
{
    QCoreApplication::postEvent(an, new QMouseEvent(art, wo, an->mapToGlobal(wo), Qt::LeftButton,
                                                    art == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                                    Qt::NoModifier));
}

// A press and release on a control, queued behind what waits already.
void PosteKlick(QWidget *an, QPoint wo = QPoint(3, 3))
{
    Poste(an, QEvent::MouseButtonPress, wo);
    Poste(an, QEvent::MouseButtonRelease, wo);
}

class SchnelleKlicks : public HauptTest {
protected:
    void BeginneGefecht(Byte groesse, std::uint32_t seed)
    {
        Randomize(seed);
        modMain::ResetScore();
        NeuesSpiel(groesse, QStringLiteral("Tester"));
        Aufstellen(Aufstellung(), true);
        ASSERT_EQ(haupt().Modus(), mdGefecht);
    }

    // Plays the battle: the player shoots at the computer's boats first (he
    // wins) or spares one of its boats' cells (the computer wins), while a further
    // click waits at every step that handles pending messages. The victory
    // dialog, the top ten and both shot counters must agree on the
    // deciding shot, and no click may count after it.
    void SpieleMitWartendenKlicks(Byte groesse, std::uint32_t seed, bool menschSiegt)
    {
        BeginneGefecht(groesse, seed);
        Ziele ziele(Zellen(menschSiegt));
        Siegesbild sieg;
        SchliesseNaechstenSieg(&sieg);
        {
            WartenderKlick wartend(ziele);
            while (haupt().Modus() == mdGefecht && !ziele.leer())
                Klick(ziele.naechste());
            EXPECT_GT(wartend.klicks(), 0);
        }
        const std::string spiel = "size " + std::to_string(groesse) + ", seed " + std::to_string(seed);
        ASSERT_TRUE(sieg.gezeigt) << spiel;
        EXPECT_EQ(haupt().Modus(), mdSpielende) << spiel;
        const Byte sieger = menschSiegt ? seMensch : seComputer;
        EXPECT_EQ(sieg.winner, sieger) << spiel;

        const int mensch = frmHauptProbe::intSchuss(haupt(), seMensch);
        const int computer = frmHauptProbe::intSchuss(haupt(), seComputer);
        const int schuesse = menschSiegt ? mensch : computer;
        // The computer answers each shot of the player that came before the
        // end, except those whose answer a queued click's winning shot
        // forestalled.
        if (menschSiegt)
            EXPECT_LT(computer, mensch) << spiel;
        else
            EXPECT_GE(mensch, computer) << spiel;
        EXPECT_GE(computer, mensch - 2) << spiel << ": one queued click at a time";
        EXPECT_EQ(BeschosseneZellen(clsGridProbe::cFeld(grid())), mensch) << spiel << ": every shot of the player is counted";
        EXPECT_EQ(sieg.bomben.toStdString(), std::to_string(schuesse)) << spiel;
        EXPECT_EQ(sieg.bombenZeile.toStdString(), "Mit nur " + std::to_string(schuesse) + " Wasserbomben!") << spiel;
        const int erster = 20 * (groesse - 1) + 1;
        EXPECT_EQ(Eintrag(erster).toStdString(), menschSiegt ? "Tester" : "Computer") << spiel;
        EXPECT_EQ(Eintrag(erster + 1).toStdString(), std::to_string(schuesse)) << spiel;
        EXPECT_EQ(Eintrag(erster + 2).toStdString(), "unbekannt") << spiel << ": one entry only";
    }
};

} // namespace

TEST_F(SchnelleKlicks, WhenThePlayerSinksTheLastBoatNoWaitingClickCountsAfterIt)
{
    for (std::uint32_t spiel = 1; spiel <= 9; ++spiel) {
        SpieleMitWartendenKlicks(static_cast<Byte>((spiel - 1) % 3 + 1), 1000 + spiel, true);
        if (HasFailure())
            return;
    }
}

TEST_F(SchnelleKlicks, WhenTheComputerSinksTheLastBoatNoWaitingClickShootsAgain)
{
    for (std::uint32_t spiel = 1; spiel <= 9; ++spiel) {
        SpieleMitWartendenKlicks(static_cast<Byte>((spiel - 1) % 3 + 1), 2000 + spiel, false);
        if (HasFailure())
            return;
    }
}

// The window closed (by the window system, as Alt+F4 does) while a shot is
// handled, with presses on every kind of control queued behind the close:
// the window is gone, and none of them runs against it.
TEST_F(SchnelleKlicks, AClosedWindowTakesNoClickThatWaitedBehindTheClose)
{
    for (const bool imGefecht : {false, true}) {
        SCOPED_TRACE(imGefecht ? "in battle" : "while placing");
        if (haupt().IsLoaded())
            haupt().Unload();
        haupt().Load();
        haupt().setModus(mdKeinSpiel);
        haupt().Show();
        NeuesSpiel(1, QStringLiteral("Tester"));
        const std::vector<Boot> flotte = Aufstellung();
        if (imGefecht) {
            Aufstellen(flotte, true);
            ASSERT_EQ(haupt().Modus(), mdGefecht);
        } else {
            for (std::size_t i = 0; i + 1 < flotte[0].size(); ++i)
                Klick(flotte[0][i]);
        }
        // The click whose handling processes the queue: the first boat's
        // last cell while placing, a shot in battle.
        const Zelle letzter = imGefecht ? ComputerBoote()[0][0] : flotte[0].back();

        Ui::frmHaupt &u = ui();
        QWidget *fenster = haupt().Window();
        ToolbarWindow *leiste = u.tbToolbar->innerWindow();
        QSignalSpy entladen(&haupt(), &Form::Unloaded);
        QCoreApplication::postEvent(fenster, new QCloseEvent);
        for (int i = 0; i < 3; ++i)
            PosteKlick(u.picpFeld, Mitte(flotte[1][i]));
        PosteKlick(u.imgMuell);
        PosteKlick(u.piccFeld);
        PosteKlick(leiste, leiste->buttonRect(1).center()); // "Neues Spiel"
        PosteKlick(fenster->findChild<Label *>(QStringLiteral("lblName_0")));
        PosteKlick(fenster->findChild<Label *>(QStringLiteral("lblpBoote_0")));
        PosteKlick(fenster, QPoint(5, 200));

        Klick(letzter);
        QCoreApplication::processEvents();

        EXPECT_EQ(entladen.count(), 1);
        EXPECT_FALSE(haupt().IsLoaded()) << "nothing loaded the window again";
        EXPECT_FALSE(frmNeu::Instance().IsLoaded()) << "the toolbar's click did not run";
    }
}
