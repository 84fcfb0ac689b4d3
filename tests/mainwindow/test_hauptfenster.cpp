// The main window's layout, its load and unload, the game states and the
// boat counts.
#include "haupt_fixture.h"

#include "frmSieg.h"
#include "modDeklarationen.h"

#include "comctl/coolbar.h"
#include "comctl/toolbar.h"
#include "runtime/timer.h"
#include "TransTBWrapper.h"

#include <QApplication>
#include <QScreen>

using namespace haupttest;
using namespace modDeklarationen;

namespace {

QStringList Zaehler(bool mensch)
{
    QStringList texte;
    for (int i = 0; i <= 5; ++i)
        texte << (mensch ? frmHauptProbe::lblpBoote(haupt(), i) : frmHauptProbe::lblcBoote(haupt(), i)).Caption();
    return texte;
}

// Every boat of a fleet sunk, as the engine marks a sunk boat.
void VersenkeAlle(Feld1<tBoot> &boote)
{
    for (int b = 1; b <= boote.UBound(); ++b)
        for (int i = 1; i <= boote(b).Z.UBound(); ++i)
            boote(b).Z(i) = zuVersenkt;
}

} // namespace

using Hauptfenster = HauptTest;

TEST_F(Hauptfenster, TheLayoutFillsTheClientAreaBelowTheBarWithNothingCutOff)
{
    Ui::frmHaupt &u = ui();
    EXPECT_EQ(haupt().Caption(), QStringLiteral("Murvel"));
    EXPECT_EQ(haupt().ScaleWidth(), 700);
    EXPECT_EQ(haupt().Height(), 7470);

    // The bar: the toolbar in band "NavBand", the picture band fully shown.
    CoolBarBand *nav = u.Coolbar->Bands().Item(QStringLiteral("NavBand"));
    CoolBarBand *pic = u.Coolbar->Bands().Item(QStringLiteral("PicBand"));
    ASSERT_TRUE(nav && pic);
    EXPECT_EQ(nav->Index(), 1);
    EXPECT_EQ(nav->Child(), u.usrWrapper);
    EXPECT_EQ(u.usrWrapper->Toolbar(), u.tbToolbar);
    EXPECT_TRUE(u.usrWrapper->Transparent());
    const QRect picBand = u.Coolbar->bandRect(pic->Index());
    EXPECT_EQ(picBand.width(), 90);
    EXPECT_LE(picBand.right(), u.Coolbar->width() - 1);
    EXPECT_EQ(u.Coolbar->width(), 700);

    // The toolbar's five buttons.
    ToolbarButtons &knoepfe = u.tbToolbar->Buttons();
    ASSERT_EQ(knoepfe.Count(), 5);
    const QStringList keys{"keyNew", "keyOptionen", "keyTop10", "keyEnde", "keyHilfe"};
    const QStringList captions{"&Neues Spiel", "&Optionen", "&Top 10", "&Ausgang", "&Hilfe"};
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(knoepfe(i).Key(), keys[i - 1]);
        EXPECT_EQ(knoepfe(i).Caption(), captions[i - 1]);
        EXPECT_EQ(knoepfe(i).Image(), i);
    }
    EXPECT_EQ(knoepfe(2).ToolTipText(), QString::fromUtf8("Spieleinstellungen ändern"));
    // All five fit in their band.
    ToolbarWindow *inner = u.tbToolbar->innerWindow();
    ASSERT_NE(inner, nullptr);
    EXPECT_LE(inner->mapTo(u.Coolbar, inner->buttonRect(5).topRight()).x(), u.Coolbar->bandRect(1).right());

    // The face: below the bar and a strip of the window's own face (50
    // twips) that a pointer crosses on its way back from the toolbar, to the
    // client area's bottom and sides.
    EXPECT_EQ(u.picHinten->Left(), 0);
    EXPECT_EQ(u.picHinten->Top(), qRound((u.Coolbar->height() * 15 + 50) / 15.0));
    EXPECT_EQ(u.picHinten->Top() + u.picHinten->Height(), haupt().ScaleHeight());
    EXPECT_EQ(u.picHinten->Width(), 700);

    // Every control inside the face lies wholly inside its drawing area.
    const QRect flaeche(0, 0, u.picHinten->ScaleWidth(), u.picHinten->ScaleHeight());
    for (QWidget *w : u.picHinten->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const QRect r(w->x() - 1, w->y() - 1, w->width(), w->height());
        EXPECT_TRUE(flaeche.contains(r)) << w->objectName().toStdString();
    }
    Grab(haupt().Window(), QStringLiteral("haupt_modus0"));
}

TEST_F(Hauptfenster, TheWindowIsCentredOnTheScreen)
{
    EXPECT_EQ(haupt().Left(), HalfDifference(Screen::Width(), haupt().Width()));
    EXPECT_EQ(haupt().Top(), HalfDifference(Screen::Height(), haupt().Height()));
}

TEST_F(Hauptfenster, AtStartTheLeftNameIsUnbekanntAndTheRightOneComputer)
{
    EXPECT_EQ(haupt().lblName(0).Caption(), QStringLiteral("Unbekannt"));
    EXPECT_EQ(haupt().lblName(1).Caption(), QStringLiteral("Computer"));
    EXPECT_EQ(grid().Groesse(), 2);
}

TEST_F(Hauptfenster, StateZeroDisablesBothFieldsHidesTheBinAndShowsQuestionMarks)
{
    Ui::frmHaupt &u = ui();
    EXPECT_EQ(haupt().Modus(), mdKeinSpiel);
    EXPECT_FALSE(u.picpFeld->isEnabled());
    EXPECT_FALSE(u.piccFeld->isEnabled());
    EXPECT_FALSE(u.imgMuell->Visible());
    EXPECT_EQ(Zaehler(true), QStringList(6, QStringLiteral("?")));
    EXPECT_EQ(Zaehler(false), QStringList(6, QStringLiteral("?")));
    EXPECT_EQ(frmHauptProbe::lblBeschriftung(haupt(), 0).Caption(), QStringLiteral("6er"));
    EXPECT_EQ(frmHauptProbe::lblBeschriftung(haupt(), 6).Caption(), QStringLiteral("1er"));
    EXPECT_EQ(frmHauptProbe::lblBeschriftung(haupt(), 11).Caption(), QStringLiteral("6er"));
}

TEST_F(Hauptfenster, StateOneCreatesAFleetEnablesTheLeftFieldAndShowsTheIdleBinDisabled)
{
    grid().Treffer = 3;
    NeuesSpiel(1, QStringLiteral("Anna"));
    Ui::frmHaupt &u = ui();
    EXPECT_EQ(grid().Treffer, 0);
    EXPECT_TRUE(u.picpFeld->isEnabled());
    EXPECT_FALSE(u.piccFeld->isEnabled());
    EXPECT_TRUE(u.imgMuell->Visible());
    EXPECT_FALSE(u.imgMuell->Enabled());
    EXPECT_EQ(u.imgMuell->Picture(), picMüll[0]);
    EXPECT_EQ(frmHauptProbe::bytBoot(haupt()), 1);
    EXPECT_EQ(frmHauptProbe::bytTeil(haupt()), 0);
    EXPECT_EQ(haupt().lblName(0).Caption(), QStringLiteral("Anna"));
    // The player's boats still to place; the computer's count 0.
    EXPECT_EQ(Zaehler(false), QStringList(6, QStringLiteral("0")));
    int boote = 0;
    for (const QString &n : Zaehler(true))
        boote += n.toInt();
    EXPECT_EQ(boote, grid().AnzahlBoote());
    Grab(haupt().Window(), QStringLiteral("haupt_modus1"));
}

TEST_F(Hauptfenster, StateOneAgainMakesNewFieldsAndANewComputerFleet)
{
    NeuesSpiel(3);
    const std::vector<Boot> vorher = ComputerBoote();
    Klick({1, 1});
    EXPECT_EQ(frmHauptProbe::bytTeil(haupt()), 1);
    haupt().setModus(mdSetzen);
    EXPECT_NE(ComputerBoote(), vorher);
    EXPECT_EQ(frmHauptProbe::bytTeil(haupt()), 0);
    EXPECT_EQ(clsGridProbe::pFeld(grid())(1, 1, ebBoot), 0) << "the player's field is new";
}

TEST_F(Hauptfenster, StateTwoZeroesTheShotCountersAndStateThreeDisablesTheFields)
{
    NeuesSpiel(1);
    Aufstellen(Aufstellung(), true);
    ASSERT_EQ(haupt().Modus(), mdGefecht);
    EXPECT_EQ(frmHauptProbe::intSchuss(haupt(), 0), 0);
    EXPECT_EQ(frmHauptProbe::intSchuss(haupt(), 1), 0);
    EXPECT_EQ(Zaehler(false), Zaehler(true)) << "both fleets afloat, alike";
    Grab(haupt().Window(), QStringLiteral("haupt_modus2"));

    grid().Treffer = 2;
    const QStringList zaehler = Zaehler(true);
    haupt().setModus(mdSpielende);
    EXPECT_FALSE(ui().picpFeld->isEnabled());
    EXPECT_FALSE(ui().piccFeld->isEnabled());
    EXPECT_EQ(grid().Treffer, 0);
    EXPECT_EQ(Zaehler(true), zaehler) << "counts are left as they are";
}

TEST_F(Hauptfenster, AStateOfFourOrMoreIsStoredAndChangesNothingElse)
{
    NeuesSpiel(2);
    grid().Treffer = 1;
    const QStringList zaehler = Zaehler(true);
    haupt().setModus(4);
    EXPECT_EQ(haupt().Modus(), 4);
    EXPECT_TRUE(ui().picpFeld->isEnabled());
    EXPECT_TRUE(ui().imgMuell->Visible());
    EXPECT_EQ(grid().Treffer, 1);
    EXPECT_EQ(Zaehler(true), zaehler);
    haupt().setModus(255);
    EXPECT_EQ(haupt().Modus(), 255);
    EXPECT_EQ(haupt().UpdateBoatCounts(), 0);
}

TEST_F(Hauptfenster, InBattleTheCountsTellWhichSideIsBeaten)
{
    NeuesSpiel(1);
    Aufstellen(Aufstellung(), true);
    ASSERT_EQ(haupt().Modus(), mdGefecht);
    EXPECT_EQ(haupt().UpdateBoatCounts(), 0);
    VersenkeAlle(clsGridProbe::pBoote(grid()));
    EXPECT_EQ(haupt().UpdateBoatCounts(), 2);
    EXPECT_EQ(Zaehler(true), QStringList(6, QStringLiteral("0")));
    VersenkeAlle(clsGridProbe::cBoote(grid()));
    EXPECT_EQ(haupt().UpdateBoatCounts(), 1) << "both beaten: the computer's loss counts";
    haupt().setModus(mdSpielende);
    EXPECT_EQ(haupt().UpdateBoatCounts(), 0) << "only in battle";
}

TEST_F(Hauptfenster, ForEachSizeBothFieldsAreCentredAndTheBinSitsBelowTheLeftOne)
{
    for (Byte groesse = 1; groesse <= 3; ++groesse) {
        SCOPED_TRACE(groesse);
        NeuesSpiel(groesse, QStringLiteral("Bert"));
        Ui::frmHaupt &u = ui();
        for (PictureBox *feld : {u.picpFeld, u.piccFeld}) {
            const int w = feld->ScaleWidth();
            const int h = feld->ScaleHeight();
            const int mitte = feld == u.picpFeld ? 177 : 521;
            EXPECT_EQ(feld->Left(), mitte - w / 2);
            EXPECT_EQ(feld->Top(), 165 - h / 2);
        }
        const int widths[] = {253, 288, 323};
        EXPECT_EQ(u.picpFeld->Width(), widths[groesse - 1]);
        for (int i : {0, 1}) {
            PictureBox *feld = i == 0 ? u.picpFeld : u.piccFeld;
            Label &name = haupt().lblName(i);
            EXPECT_EQ(name.Left(), feld->Left());
            EXPECT_EQ(name.Width(), feld->Width());
            EXPECT_EQ(name.Top() + name.Height(), feld->Top());
        }
        EXPECT_EQ(u.imgMuell->Left() + u.imgMuell->Width(), u.picpFeld->Left() + u.picpFeld->Width());
        EXPECT_EQ(u.imgMuell->Top(), u.picpFeld->Top() + u.picpFeld->Height() + 2);
        // The bin and the names stay clear of the counts below.
        EXPECT_LT(u.imgMuell->Top() + u.imgMuell->Height(), frmHauptProbe::lblBeschriftung(haupt(), 0).Top());
        Grab(haupt().Window(), QStringLiteral("haupt_groesse%1").arg(groesse));
    }
}

TEST_F(Hauptfenster, OverTheLeftFieldThePointerIsTheCrossHair)
{
    const QCursor zeiger = ui().picpFeld->cursor();
    EXPECT_EQ(zeiger.hotSpot(), QPoint(15, 15));
    EXPECT_FALSE(zeiger.pixmap().isNull());
}

TEST_F(Hauptfenster, WithHelpOnTheStartBalloonIsShownAndItsTimerRuns)
{
    EXPECT_TRUE(haupt().ToolTip);
    EXPECT_TRUE(ui().timTTip->Enabled());
    EXPECT_EQ(ui().timTTip->Interval(), 3000);
}

TEST_F(Hauptfenster, WithHelpOtherThanOneNoBalloonIsShownAndTheTimerStaysOff)
{
    for (std::uint8_t help : {0, 2, 255}) {
        haupt().Unload();
        bytHelp = help;
        haupt().Load();
        EXPECT_FALSE(haupt().ToolTip) << int(help);
        EXPECT_FALSE(ui().timTTip->Enabled()) << int(help);
    }
}

TEST_F(Hauptfenster, UnloadingReleasesEngineAndBalloonClosesTheVictoryDialogAndStopsTheSound)
{
    frmSieg::Instance().Load();
    ASSERT_FALSE(strSnd101.isEmpty());
    haupt().Unload();
    EXPECT_FALSE(haupt().IsLoaded());
    EXPECT_EQ(haupt().Grid, nullptr);
    EXPECT_FALSE(haupt().TTip);
    EXPECT_FALSE(haupt().ToolTip);
    EXPECT_FALSE(frmSieg::Instance().IsLoaded());
    EXPECT_TRUE(strSnd101.isEmpty());
    // And it loads again as new.
    haupt().Load();
    EXPECT_TRUE(haupt().TTip);
    EXPECT_EQ(haupt().lblName(0).Caption(), QStringLiteral("Unbekannt"));
}
