// The board clicks and the turn order: placing the player's boats cell by
// cell, the question after the last boat, the exchange of shots and the
// victories; the waste bin that discards an unfinished boat.
#include "frmHaupt.h"
#include "ui_frmHaupt.h"

#include "frmMeldung.h"
#include "frmSieg.h"
#include "modDeklarationen.h"
#include "modMain.h"

#include "runtime/doevents.h"
#include "runtime/strings.h"

#include <cmath>

using namespace modDeklarationen;
using modMain::SpieleSound;

namespace {

constexpr bool Async = true;
constexpr bool Sync = false;

} // namespace

void frmHaupt::picpFeld_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y)
{
    (void)Shift;
    Ui::frmHaupt *u = loadedUi();
    if (!u)
        return;

    // Any press in the field ends the balloon.
    BalloonOff();
    // Once a side has lost its last boat the fields take no more clicks,
    // also those queued while the deciding shot was handled.
    if (mvarModus == mdSpielende || m_entschieden || Button != vbLeftButton)
        return;

    // Not on the outermost pixels of the drawing area.
    if (X < 1 || X > static_cast<float>(u->picpFeld->ScaleWidth() - 2) || Y < 1
        || Y > static_cast<float>(u->picpFeld->ScaleHeight() - 2))
        return;

    // Not on a grid line; the position rounded half to even.
    const long p = Grid->ZellGroesse() + 1;
    const long x = std::lrint(X);
    const long y = std::lrint(Y);
    if (x % p == 0 || y % p == 0)
        return;
    Byte Spalte = static_cast<Byte>(x / p + 1);
    Byte Zeile = static_cast<Byte>(y / p + 1);

    if (mvarModus == mdSetzen)
        Setzen(Spalte, Zeile);
    else if (mvarModus == mdGefecht)
        Gefecht(Spalte, Zeile);
}

bool frmHaupt::VerarbeiteNachrichten(bool selbstEntschieden)
{
    const unsigned wechsel = m_modusWechsel;
    DoEvents();
    return loadedUi() && Grid && wechsel == m_modusWechsel && (selbstEntschieden || !m_entschieden);
}

void frmHaupt::Setzen(Byte Spalte, Byte Zeile)
{
    Ui::frmHaupt &u = *loadedUi();
    if (bytBoot > Grid->AnzahlBoote())
        return;
    if (!Grid->CreatePoint(bytBoot, Spalte, Zeile))
        return;

    ++bytTeil;
    u.imgMuell->setPicture(picMüll[1]);
    u.imgMuell->setEnabled(true);
    if (Grid->SetzePunkt(bytBoot, bytTeil, Spalte, Zeile))
        return; // the boat is not finished yet

    // The boat is complete. The count moves on to the next boat before
    // pending messages are handled, so that a click queued meanwhile builds
    // the next boat, not a cell too many of this one.
    Grid->ZeichneBoot(bytBoot);
    SpieleSound(strSnd102, Async);
    UpdateBoatCounts();
    u.imgMuell->setPicture(picMüll[0]);
    u.imgMuell->setEnabled(false);
    ++bytBoot;
    bytTeil = 0;
    const bool letztes = bytBoot > Grid->AnzahlBoote();
    if (!VerarbeiteNachrichten() || !letztes)
        return;

    // The last boat stands.
    SpieleSound(strSnd102, Sync);
    SpieleSound(strSnd103, Async);
    if (!VerarbeiteNachrichten())
        return;

    frmMeldung &meldung = frmMeldung::Instance();
    meldung.setText(QStringLiteral("Alle Boote wurden gesetzt.") + vbCrLf + vbCrLf
                    + QStringLiteral("Bist Du mit der Aufstellung zufrieden?"));
    meldung.Show(vbModal);
    if (!loadedUi() || !Grid)
        return;

    if (meldung.Ergebnis()) {
        u.imgMuell->setEnabled(false);
        u.imgMuell->setVisible(false);
        SpieleSound(strSnd104, Async);
        Grid->UebertrageBoote();
        setModus(mdGefecht);
        if (bytHelp == 1)
            BalloonShow(QStringLiteral("Versuche nun, die Boote des Gegners") + vbCrLf
                        + QStringLiteral("im linken Feld zu treffen!") + vbCrLf
                        + QStringLiteral("(Einfach ins Feld klicken...)"));
    } else {
        // A new empty field, and the computer hides a new fleet.
        Grid->setGroesse(Grid->Groesse());
        setModus(mdSetzen);
    }
}

void frmHaupt::Gefecht(Byte Spalte, Byte Zeile)
{
    // The player's shot; its sound plays to its end before the computer
    // answers. A shot counts as soon as it is made, and the game is decided
    // the moment it sinks the computer's last boat: a click handled inside
    // the pending-messages step below then finds the game as it stands.
    const Byte r = Grid->SpielerSchuss(Spalte, Zeile);
    if (r != scSchonBeschossen)
        ++intSchuss[seMensch];
    const bool gewonnen = r == scVersenkt && Besiegt(Grid->RestBoote(mvarModus)) == 1;
    if (gewonnen)
        m_entschieden = true;
    if (!VerarbeiteNachrichten(gewonnen))
        return;
    switch (r) {
    case scWasser:
        SpieleSound(strSnd105, Sync);
        break;
    case scSchonBeschossen:
        SpieleSound(strSnd106, Sync);
        return; // neither counted nor answered
    case scTreffer:
        SpieleSound(strSnd107, Sync);
        break;
    case scVersenkt: {
        const Byte v = UpdateBoatCounts();
        if (!VerarbeiteNachrichten(gewonnen))
            return;
        SpieleSound(strSnd108, Sync);
        if (v == 1) {
            Sieg_Mensch();
            return;
        }
        break;
    }
    default:
        return;
    }

    // The computer's answer, its sound not waited for.
    switch (Grid->ComputerSchuss()) {
    case scWasser:
        SpieleSound(strSnd105, Async);
        ++intSchuss[seComputer];
        break;
    case scTreffer:
        SpieleSound(strSnd107, Async);
        ++intSchuss[seComputer];
        break;
    case scVersenkt: {
        ++intSchuss[seComputer];
        const Byte v = UpdateBoatCounts();
        const bool verloren = v == 2;
        if (verloren)
            m_entschieden = true;
        if (!VerarbeiteNachrichten(verloren))
            return;
        SpieleSound(strSnd108, Async);
        if (verloren)
            Sieg_Computer();
        break;
    }
    default:
        break; // nothing was left to shoot at
    }
}

void frmHaupt::Sieg_Mensch()
{
    const Byte place = modMain::InsertScore(Grid->SpielerName(), intSchuss[seMensch]);
    Bomben = QString::number(intSchuss[seMensch]);
    frmSieg &sieg = frmSieg::Instance();
    sieg.setWinner(seMensch);
    sieg.setPlace(place);
    QString text = Grid->SpielerName() + QStringLiteral(", Du hast den Sieg errungen.") + vbCrLf;
    if (place == 0)
        text += QStringLiteral("Zu den Besten gehörst Du leider trotzdem nicht!");
    else
        text += QStringLiteral("Somit hast Du es auf den %1. Platz geschafft.").arg(place);
    SpieleSound(strSnd109, Async);
    if (VerarbeiteNachrichten(true))
        ZeigeSieg(text);
}

void frmHaupt::Sieg_Computer()
{
    Grid->ZeigeCBoote();
    const Byte place = modMain::InsertScore(QStringLiteral("Computer"), intSchuss[seComputer]);
    Bomben = QString::number(intSchuss[seComputer]);
    frmSieg &sieg = frmSieg::Instance();
    sieg.setWinner(seComputer);
    sieg.setPlace(place);
    QString text = QStringLiteral("Der Computer hat wiedermal gegen Dich gewonnen.") + vbCrLf;
    if (place == 0)
        text += QStringLiteral("Er gehört trotzdem nicht zu den Besten!");
    else
        text += QStringLiteral("Somit hat er es auf den %1. Platz geschafft.").arg(place);
    SpieleSound(strSnd111, Async);
    if (VerarbeiteNachrichten(true))
        ZeigeSieg(text);
}

void frmHaupt::ZeigeSieg(const QString &ResultText)
{
    frmSieg &sieg = frmSieg::Instance();
    sieg.setResultText(ResultText);
    sieg.Show(vbModal);
    // The game is over once the dialog has closed, however it closed; a
    // main window that went meanwhile has no state left to set.
    if (loadedUi() && Grid)
        setModus(mdSpielende);
}

void frmHaupt::imgMüll_Click()
{
    Ui::frmHaupt *u = loadedUi();
    if (!u)
        return;
    SpieleSound(strSnd101, Async);
    Grid->LoescheBoot(bytBoot);
    bytTeil = 0;
    u->imgMuell->setPicture(picMüll[0]);
    u->imgMuell->setEnabled(false);
}
