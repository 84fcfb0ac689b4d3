// The main window's toolbar commands, the F1 key and the help balloon:
// tool 100 of TTip, a tracking balloon over the window's own area that
// follows the pointer until a click, the toolbar or the balloon timer ends it.
#include "frmHaupt.h"
#include "ui_frmHaupt.h"

#include "frmMeldung.h"
#include "frmNeu.h"
#include "frmOptions.h"
#include "frmScore.h"
#include "frmSieg.h"
#include "modDeklarationen.h"

#include "com/bstr.h"
#include "com/variant.h"
#include "comctl/toolbar.h"
#include "htmlhelp/htmlhelp.h"
#include "runtime/doevents.h"
#include "runtime/strings.h"
#include "runtime/timer.h"
#include "user32/user32.h"

#include <QFile>

using modDeklarationen::bytHelp;
using modDeklarationen::strHelpFile;

// ---- the toolbar's commands ----------------------------------------------

void frmHaupt::tbToolbar_ButtonClick(ToolbarButton *Button)
{
    BalloonOff();
    if (!Button)
        return;
    const QString key = Button->Key();
    if (key == QLatin1String("keyNew"))
        NewGame();
    else if (key == QLatin1String("keyOptionen"))
        ShowOptions();
    else if (key == QLatin1String("keyTop10"))
        ShowTop10();
    else if (key == QLatin1String("keyEnde"))
        AskQuit();
    else if (key == QLatin1String("keyHilfe"))
        ShowHelp();
}

void frmHaupt::NewGame()
{
    // A confirmed dialog sets the field, the name and the placing state
    // itself; a cancelled one leaves the game as it was.
    frmNeu::Instance().Show(vbModal);
    DoEvents();

    // The placing hint comes after a cancel too: the game on the board is
    // still the one to play.
    if (bytHelp == 1)
        BalloonShow(QStringLiteral("Setze Deine Boote ins linke Feld!") + vbCrLf
                    + QStringLiteral("(Einfach ins Feld klicken...)"));

    frmSieg::Instance().Load();
}

void frmHaupt::ShowOptions()
{
    frmOptions::Instance().Show(vbModal);
}

void frmHaupt::ShowTop10()
{
    frmScore::Instance().Show(vbModal);
}

void frmHaupt::AskQuit()
{
    frmMeldung &meldung = frmMeldung::Instance();
    // The box keeps its last answer when it is closed without one: a "Ja"
    // from an earlier question must not end the game.
    meldung.setErgebnis(false);
    meldung.setText(vbCrLf + QStringLiteral("Willst Du das Spiel wirklich beenden?"));
    meldung.Show(vbModal);
    if (meldung.Ergebnis())
        Unload();
}

void frmHaupt::ShowHelp()
{
    // The viewer reports a missing or damaged help file itself, and the
    // game simply goes on; so does the F1 key below.
    HtmlHelpA(hWnd(), QFile::encodeName(strHelpFile).constData(), HH_DISPLAY_TOC, 0);
}

void frmHaupt::Form_KeyUp(std::int16_t &KeyCode, std::int16_t Shift)
{
    (void)Shift;
    if (KeyCode == vbKeyF1)
        HtmlHelpA(hWnd(), QFile::encodeName(strHelpFile).constData(), HH_DISPLAY_INDEX, 0);
}

// ---- the help balloon ------------------------------------------------------

void frmHaupt::BalloonShow(const QString &Text)
{
    if (TTip) {
        const com::Bstr text(Text);
        TTip->put_Text(BalloonTool, hWnd(), text.get());
    }
    BalloonTrack(true);
    ToolTip = true;
    ui().timTTip->setEnabled(true);
}

void frmHaupt::BalloonTrack(bool enable)
{
    if (!TTip)
        return;
    if (enable)
        TTip->put_Enabled(VARIANT_TRUE);
    VARIANT_BOOL done = VARIANT_FALSE;
    TTip->SetTrackActivate(VARIANT_TRUE, hWnd(), BalloonTool, &done);
}

void frmHaupt::BalloonToPointer()
{
    // The balloon points at the pointer, in screen pixels.
    POINT pointer{0, 0};
    if (TTip && GetCursorPos(&pointer)) {
        VARIANT_BOOL done = VARIANT_FALSE;
        TTip->SetTrackPosition(pointer.x, pointer.y, &done);
    }
}

void frmHaupt::BalloonOff()
{
    if (!ToolTip)
        return;
    if (TTip)
        TTip->put_Enabled(VARIANT_FALSE);
    ToolTip = false;
}

void frmHaupt::Form_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y)
{
    (void)Button; (void)Shift; (void)X; (void)Y;
    if (!ToolTip)
        return;
    // Back from the toolbar, the balloon shows again.
    BalloonTrack(true);
    BalloonToPointer();
}

void frmHaupt::imgBoot_MouseMove(std::int16_t, std::int16_t, std::int16_t, float, float)
{
    if (ToolTip)
        BalloonToPointer();
}

void frmHaupt::lblBeschriftung_MouseMove(std::int16_t, std::int16_t, std::int16_t, float, float)
{
    if (ToolTip)
        BalloonToPointer();
}

void frmHaupt::lblcBoote_MouseMove(std::int16_t, std::int16_t, std::int16_t, float, float)
{
    if (ToolTip)
        BalloonToPointer();
}

void frmHaupt::lblName_MouseMove(std::int16_t, std::int16_t, std::int16_t, float, float)
{
    if (ToolTip)
        BalloonToPointer();
}

void frmHaupt::lblpBoote_MouseMove(std::int16_t, std::int16_t, std::int16_t, float, float)
{
    if (ToolTip)
        BalloonToPointer();
}

void frmHaupt::picHinten_MouseMove(std::int16_t, std::int16_t, float, float)
{
    if (ToolTip)
        BalloonToPointer();
}

void frmHaupt::picpFeld_MouseMove(std::int16_t, std::int16_t, float, float)
{
    if (ToolTip)
        BalloonToPointer();
}

void frmHaupt::tbToolbar_MouseMove(std::int16_t, std::int16_t, float, float)
{
    // Hidden only while the pointer is over the toolbar: ToolTip stays
    // True, so the next move over the window's own area brings it back.
    if (!ToolTip)
        return;
    if (TTip)
        TTip->put_Enabled(VARIANT_FALSE);
    DoEvents();
}

void frmHaupt::Form_MouseDown(std::int16_t, std::int16_t, float, float)
{
    BalloonOff();
}

void frmHaupt::imgBoot_MouseDown(std::int16_t, std::int16_t, std::int16_t, float, float)
{
    BalloonOff();
}

void frmHaupt::imgMüll_MouseDown(std::int16_t, std::int16_t, float, float)
{
    BalloonOff();
}

void frmHaupt::lblBeschriftung_MouseDown(std::int16_t, std::int16_t, std::int16_t, float, float)
{
    BalloonOff();
}

void frmHaupt::lblcBoote_MouseDown(std::int16_t, std::int16_t, std::int16_t, float, float)
{
    BalloonOff();
}

void frmHaupt::lblName_MouseDown(std::int16_t, std::int16_t, std::int16_t, float, float)
{
    BalloonOff();
}

void frmHaupt::lblpBoote_MouseDown(std::int16_t, std::int16_t, std::int16_t, float, float)
{
    BalloonOff();
}

void frmHaupt::piccFeld_MouseDown(std::int16_t, std::int16_t, float, float)
{
    BalloonOff();
}

void frmHaupt::timTTip_Timer()
{
    // The timer runs on; a tick with no balloon shown changes nothing.
    ToolTip = false;
    if (TTip)
        TTip->put_Enabled(VARIANT_FALSE);
}

void frmHaupt::TTip_NeedText(LONG ID, QString &TTText)
{
    if (ID == BalloonTool)
        TTText = QStringLiteral("Drücke  'Neues Spiel'") + vbCrLf + QStringLiteral("und der Spaß kann losgehen!");
    else
        TTText = QStringLiteral("Upps was ist das denn ?");
}
