#pragma once
// The main window: the owner of one game. It holds both fields, the boat
// counts, the waste bin, the toolbar in its CoolBar and the help balloon,
// and owns the board engine and the tooltip object for its lifetime.
#include "clsGrid.h"
#include "Pellwick.h"

#include "com/comptr.h"
#include "com/connectionpoint.h"
#include "runtime/controlarray.h"
#include "runtime/form.h"
#include "runtime/image.h"
#include "runtime/label.h"
#include "runtime/picturebox.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <cstdint>
#include <memory>

// The toolbar in the layout keeps a guarded pointer to its image list,
// which needs the complete class.
#include "comctl/imagelist.h"
#include "ui_frmHaupt.h"
class ToolbarButton;

// Game states.
enum eModus : Byte { mdKeinSpiel = 0, mdSetzen = 1, mdGefecht = 2, mdSpielende = 3 };

// The outcome the boat counts of the battle show: 1 when the computer has
// no boat left (whatever the player's counts), else 2 when the player has
// none, else 0.
Byte Besiegt(const tRestBoote &t);

class frmHaupt : public UiForm<frmHaupt, Ui::frmHaupt> {
    Q_OBJECT
public:
    // The winner's shot count as text, for the victory dialog.
    QString Bomben;
    // The help balloon: tool 100 of TTip over the client area.
    static constexpr LONG BalloonTool = 100;
    // True while the help balloon is meant to be shown.
    bool ToolTip = false;
    // The tooltip object and the board engine; both live while the window
    // is loaded.
    com::ComPtr<Pellwick::_cToolTips> TTip;
    std::unique_ptr<clsGrid> Grid;

    Byte Modus() const { return mvarModus; }
    // Stores the state, then applies it.
    void setModus(Byte vNewValue);
    // Refreshes the twelve count labels; in battle 1 when the computer has
    // no boat left, else 2 when the player has none, else 0.
    Byte UpdateBoatCounts();

    // Controls other windows read: the name labels above the fields.
    Label &lblName(int index);

protected:
    void SetupWindow(QWidget *window) override;
    void Form_Load() override;
    void Form_Unload(std::int16_t &Cancel) override;
    void Form_KeyUp(std::int16_t &KeyCode, std::int16_t Shift) override;
    void Form_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y) override;
    void Form_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y) override;
    // The frame the window system gives the window, or a new client size.
    void Form_Resize() override;

private:
    friend class UiForm<frmHaupt, Ui::frmHaupt>;
    friend struct frmHauptProbe; // the tests look inside
    frmHaupt();
    ~frmHaupt() override;

    void Grid_ChangePicSize();
    // The window's height and place on the screen, and the face below the
    // bar fitted to the client area that is left inside the frame.
    void PlaceOnScreen();
    void FitFace();

    // Board clicks and turn order.
    void picpFeld_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
    // The waste bin imgMüll; the layout spells its name imgMuell.
    void imgMüll_Click();
    // Processes pending messages inside a board handler; true when the
    // handler may go on: the window is still there, no other handler
    // changed the game state meanwhile, and the game was not decided by
    // another click (selbstEntschieden: this handler's own shot decided it).
    bool VerarbeiteNachrichten(bool selbstEntschieden = false);
    // The two halves of an accepted click in the left field.
    void Setzen(Byte Spalte, Byte Zeile);
    void Gefecht(Byte Spalte, Byte Zeile);
    // Shows the filled victory dialog; the game is over when it closes.
    void ZeigeSieg(const QString &ResultText);
    void Sieg_Mensch();
    void Sieg_Computer();

    // Toolbar commands, keys and the help balloon.
    void tbToolbar_ButtonClick(ToolbarButton *Button);
    void tbToolbar_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void NewGame();
    void ShowOptions();
    void ShowTop10();
    void AskQuit();
    void ShowHelp();
    // Shows the balloon with a fixed text, following the pointer until a
    // click, the toolbar or the balloon timer ends it.
    void BalloonShow(const QString &Text);
    // Tracking on for the balloon; with `enable` the tooltip object is
    // enabled first.
    void BalloonTrack(bool enable);
    void BalloonToPointer();
    void imgBoot_MouseMove(std::int16_t Index, std::int16_t Button, std::int16_t Shift, float X, float Y);
    void lblBeschriftung_MouseMove(std::int16_t Index, std::int16_t Button, std::int16_t Shift, float X, float Y);
    void lblcBoote_MouseMove(std::int16_t Index, std::int16_t Button, std::int16_t Shift, float X, float Y);
    void lblName_MouseMove(std::int16_t Index, std::int16_t Button, std::int16_t Shift, float X, float Y);
    void lblpBoote_MouseMove(std::int16_t Index, std::int16_t Button, std::int16_t Shift, float X, float Y);
    void picHinten_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void picpFeld_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void imgBoot_MouseDown(std::int16_t Index, std::int16_t Button, std::int16_t Shift, float X, float Y);
    void imgMüll_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void lblBeschriftung_MouseDown(std::int16_t Index, std::int16_t Button, std::int16_t Shift, float X, float Y);
    void lblcBoote_MouseDown(std::int16_t Index, std::int16_t Button, std::int16_t Shift, float X, float Y);
    void lblName_MouseDown(std::int16_t Index, std::int16_t Button, std::int16_t Shift, float X, float Y);
    void lblpBoote_MouseDown(std::int16_t Index, std::int16_t Button, std::int16_t Shift, float X, float Y);
    void piccFeld_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
    // Ends the balloon when it is shown.
    void BalloonOff();
    void timTTip_Timer();
    void TTip_NeedText(LONG ID, QString &TTText);

    // Centres of the two fields, in pixels of the face below the bar.
    std::int16_t intMitteP[2] = {177, 165};
    std::int16_t intMitteC[2] = {521, 165};
    Byte bytBoot = 1;
    Byte bytTeil = 0;
    std::int16_t intSchuss[2] = {0, 0};
    Byte mvarModus = mdKeinSpiel;
    // Counts the changes of Modus, so that a handler sees a game state that
    // changed while it processed pending messages.
    unsigned m_modusWechsel = 0;
    // A side has lost its last boat: the fields take no more clicks until
    // a new game begins.
    bool m_entschieden = false;

    // Where the face was put.
    QRect m_face;
    // The outer width the window was last centred with; -1 while unplaced.
    int m_placedWidth = -1;
    // The connection that brings the tooltip object's events here.
    com::ComPtr<com::EventSink> m_ttipSink;
    DWORD m_ttipCookie = 0;
    // Control arrays of the layout.
    ControlArray<Label> m_lblName, m_lblBeschriftung, m_lblpBoote, m_lblcBoote;
    ControlArray<Image> m_imgBoot;
};
