#pragma once
// The game's program-wide state: the paths of its files, the sound images,
// the pictures, the top-ten table and the settings. Start-up fills it, and
// it lives for the program's whole run. The cell pictures picBmp101 to
// picBmp105 belong to the engine's side of this namespace.
#include "Felder.h"
#include "Zellbilder.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>

namespace modDeklarationen {

// Paths of "Score.hsc", "Combo.txt" and "Hilfe.chm" in the program's folder.
inline QString strScoreFile;
inline QString strComboFile;
inline QString strHelpFile;

// The WAVE images of the sound resources, byte for byte. strSnd110 (the
// top-ten tune) is held only while the top-ten dialog is open.
inline QByteArray strSnd101, strSnd102, strSnd103, strSnd104, strSnd105, strSnd106;
inline QByteArray strSnd107, strSnd108, strSnd109, strSnd110, strSnd111;

// (0) the idle waste bin, grey; (1) the armed waste bin, red.
inline QImage picMüll[2];

// The top ten, strScore(place, size class, 1 name | 2 shots): places 1 to
// 10 and the spare row 11 that the old place 10 moves into when a result
// enters; shots as decimal text, "?" for an empty place.
constexpr int ScorePlaetze = 10;
inline Feld3<QString> strScore = [] {
    Feld3<QString> table;
    table.ReDim(ScorePlaetze + 1, 3, 2);
    return table;
}();

// The settings "Sound" (0 = off), "Help" (1 = balloons shown) and
// "StdSize" (the size class of the field the main window starts with).
inline std::uint8_t bytSound = 1;
inline std::uint8_t bytHelp = 1;
inline std::uint8_t bytStdSize = 2;

} // namespace modDeklarationen
