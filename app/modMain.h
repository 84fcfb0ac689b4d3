#pragma once
// The game's module of shared routines: sound playback, the top ten and
// the start-up steps that fill the program-wide state.
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace modMain {

// Plays a WAVE image, asynchronously (returns at once) or synchronously
// (returns when it has ended). With the setting "Sound" off an asynchronous
// request does nothing and a synchronous one pauses 800 ms per 22158 bytes
// of the image. An empty image played asynchronously stops what plays. The
// caller may clear its image at any time after the call.
void SpieleSound(const QByteArray &Wav, bool Async);

// The pause that stands in for a synchronous sound of `bytes` bytes.
int SoundPauseMs(qsizetype bytes);

// A stored shot count: a whole number from 1 to 32767 in nothing but
// decimal digits; none for anything else (an empty place's "?" or a
// damaged entry).
std::optional<std::int16_t> Schusszahl(const QString &text);

// The top ten in its file strScoreFile ("Score.hsc": 60 records of 30 bytes,
// name and shots of each place, size class after size class). Every write
// replaces the file whole, under its lock, so neither a crash nor a second
// copy of the game can lose a result.
void LoadScore();
// Files a result in the top ten of the current size class, as the file
// holds it now (read afresh under the lock), and saves; the place reached
// (1 to 10) in the table that was written, or 0 when the result is worse
// than all ten.
std::uint8_t InsertScore(const QString &Name, std::int16_t Shots);
// Clears every place to "unbekannt" / "?" and writes the file.
void ResetScore();
// Writes places 1 to 10 of every size class to the file.
void SaveScore();

// Where InsertScore reads the current field size class: the main window's
// engine (its Groesse). The main window sets it when it creates the engine.
inline std::function<std::uint8_t()> AktuelleGroesse;

// The program's start: the splash, the program-wide state, the top ten,
// then the main window, shown in state 0. Returns once the main window is
// shown; the program lives on in its events.
void Main();

// Start-up: the paths of the program's three files in its folder.
void BaueDateipfade();
// Start-up: the sound images, all but 110 (which the top-ten dialog loads).
void LadeSounds();
// Start-up: the settings "Sound", "Help" and "StdSize", a missing or
// unusable value taken as its default.
void LeseEinstellungen();
// A file of the program's folder, `folder` joined with one separator.
QString DateiImOrdner(const QString &folder, const QString &name);

} // namespace modMain
