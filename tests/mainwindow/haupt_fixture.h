#pragma once
// What the main window's tests share: the program-wide state made ready as
// the start routine makes it (Pellwick registered in the test's own
// registry, sounds, pictures, a top-ten file of the test's own), the main
// window loaded and shown in state 0, and the hands that play: clicks on
// cells of the left field, answers to the placement question, and a closer
// for the victory dialog that notes what it showed.
#include "frmHaupt.h"
#include "grid_probe.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPoint>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <vector>

// The tests look inside the main window through this friend.
struct frmHauptProbe {
    static Ui::frmHaupt &ui(frmHaupt &f) { return f.ui(); }
    static Byte bytBoot(const frmHaupt &f) { return f.bytBoot; }
    static Byte bytTeil(const frmHaupt &f) { return f.bytTeil; }
    static std::int16_t intSchuss(const frmHaupt &f, int side) { return f.intSchuss[side]; }
    static Label &lblpBoote(frmHaupt &f, int i) { return f.m_lblpBoote(i); }
    static Label &lblcBoote(frmHaupt &f, int i) { return f.m_lblcBoote(i); }
    static Label &lblBeschriftung(frmHaupt &f, int i) { return f.m_lblBeschriftung(i); }
    static Image &imgBoot(frmHaupt &f, int i) { return f.m_imgBoot(i); }
    // The left field's handler with a position between pixels.
    static void picpFeld_MouseDown(frmHaupt &f, std::int16_t button, float x, float y) { f.picpFeld_MouseDown(button, 0, x, y); }
    static void imgMuell_Click(frmHaupt &f) { f.imgMüll_Click(); }
};

namespace haupttest {

// A cell of a field, column and row from 1.
struct Zelle {
    int c;
    int r;
    bool operator==(const Zelle &) const = default;
};
using Boot = std::vector<Zelle>;

frmHaupt &haupt();
Ui::frmHaupt &ui();
clsGrid &grid();

// Polls until `bereit` holds, then runs `tun` once, from inside whatever
// modal loop is running then.
void Sobald(std::function<bool()> bereit, std::function<void()> tun);

// A new game as the new-game dialog starts one.
void NeuesSpiel(Byte groesse, const QString &name = QStringLiteral("Tester"));

// The pixel in the middle of a cell, in the left field's widget.
QPoint Mitte(const Zelle &z);
// A left (or other) button press and release on a cell of the left field.
void Klick(const Zelle &z, Qt::MouseButton button = Qt::LeftButton);

// A player's fleet of straight boats in every other row, one cell apart,
// boat by boat in the engine's order (longest first).
std::vector<Boot> Aufstellung();
// Places the boats by clicks; the last one brings the placement question,
// which `ja` answers through the message box's buttons.
void Aufstellen(const std::vector<Boot> &boote, bool ja);

// Answers the next question of frmMeldung with its "&Ja" or its other
// button while it is shown modally; the text it asked, once answered.
void BeantworteNaechsteFrage(bool ja, QString *text = nullptr);

// What the victory dialog showed when it was closed.
struct Siegesbild {
    bool gezeigt = false;
    Byte winner = 255;
    Byte place = 255;
    QString resultText;
    QString bomben;        // frmHaupt.Bomben
    QString bombenZeile;   // the dialog's shot count line
    QImage titel;          // the winner's title picture
    QImage bild;           // the whole dialog
    Byte blinkRow = 255;   // the top-ten dialog's blinking row, when opened
};
// Closes the next victory dialog with its "&Nein", or with "&Ja" and then
// the top-ten dialog it opens, and fills `was` with what they showed.
void SchliesseNaechstenSieg(Siegesbild *was, bool topTen = false);
// The title picture the victory dialog shows for a winner.
QImage Siegertitel(Byte winner);

// The computer's boats' cells, read from the engine.
std::vector<Boot> ComputerBoote();

// Cells of a field of the engine (pFeld or cFeld) that were shot at.
int BeschosseneZellen(Feld3<Byte> &feld);

// Record n (from 1) of the top-ten file as text.
QString Eintrag(int n);

// Grabs a widget into <build>/tests/<name>.png.
QImage Grab(QWidget *widget, const QString &name);

class HauptTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    QTemporaryDir folder;
};

} // namespace haupttest
