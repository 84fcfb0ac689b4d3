#include "modMain.h"
#include "modDeklarationen.h"

#include "base/ansi.h"
#include "runtime/error.h"
#include "runtime/files.h"
#include "runtime/msgbox.h"
#include "runtime/plainfile.h"
#include "runtime/program.h"

#include <QFileInfo>

#include <cstdio>

namespace modMain {

// The number of the open top-ten file, taken afresh at each opening.
std::int16_t intFileNr = 0;

namespace {

using modDeklarationen::ScorePlaetze;
using modDeklarationen::strScore;

constexpr int Groessen = 3;
constexpr int RecordLaenge = 30;
constexpr int NamenBytes = RecordLaenge - 2;
constexpr int LeererPlatz = 1000; // what an empty place counts in a comparison
const QString Unbekannt = QStringLiteral("unbekannt");
const QString Leer = QStringLiteral("?");

// The name record of place p of size class s; the shots record follows it.
int NamensRecord(int p, int s)
{
    return 20 * (s - 1) + 2 * (p - 1) + 1;
}

// A shots entry the table can use: "?" or a stored shot count.
bool GueltigeSchuesse(const QString &text)
{
    return text == Leer || Schusszahl(text).has_value();
}

// The leading decimal number of a shots text, as a 16-bit comparison takes
// it; "?" counts as 1000, so an empty place takes any result up to that.
int Wert(const QString &text)
{
    if (text == Leer)
        return LeererPlatz;
    int i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    const bool negativ = i < text.size() && text[i] == QLatin1Char('-');
    if (negativ || (i < text.size() && text[i] == QLatin1Char('+')))
        ++i;
    int value = 0;
    for (; i < text.size() && text[i].isDigit() && value <= 32768; ++i)
        value = value * 10 + text[i].digitValue();
    return negativ ? -std::min(value, 32768) : std::min(value, 32767);
}

// The longest beginning of a name that fits a record in the ANSI code page.
QString PassenderName(const QString &name)
{
    const QByteArray bytes = ansi::fromUnicode(name);
    return bytes.size() <= NamenBytes ? name : ansi::toUnicode(bytes.left(NamenBytes));
}

void LeereTabelle()
{
    for (int s = 1; s <= Groessen; ++s)
        for (int p = 1; p <= ScorePlaetze; ++p) {
            strScore(p, s, 1) = Unbekannt;
            strScore(p, s, 2) = Leer;
        }
}

// A failed write: the reason on stderr, the message, and the program's end.
[[noreturn]] void Abbruch(const QString &meldung, const QString &grund)
{
    std::fprintf(stderr, "murvel: %s\n", qPrintable(grund));
    MsgBox(meldung + QStringLiteral("\r\nDas Programm wird beendet!"), vbExclamation, QStringLiteral("Murvel"));
    End();
}

// Places 1 to 10 of every size class, records 1 to 60, as one image.
QByteArray AbbildDerTabelle()
{
    QByteArray image;
    for (int s = 1; s <= Groessen; ++s)
        for (int p = 1; p <= ScorePlaetze; ++p) {
            image += RecordBytes(strScore(p, s, 1), RecordLaenge);
            image += RecordBytes(strScore(p, s, 2), RecordLaenge);
        }
    return image;
}

// Writes the table: the file is replaced whole, so a crash or a failure
// leaves either the old file or the new one, never a mix. What the old file
// held beyond record 60 is kept, so the file never gets shorter.
void SchreibeScore(const QString &meldung)
{
    QString grund;
    try {
        const QByteArray image = AbbildDerTabelle();
        if (plainfile::replace(modDeklarationen::strScoreFile, image, &grund, image.size()) == plainfile::Replaced::Yes)
            return;
    } catch (const RuntimeError &e) {
        grund = QStringLiteral("cannot write %1: %2").arg(modDeklarationen::strScoreFile, e.Description());
    }
    Abbruch(meldung, grund);
}

// Another copy of the game may file a result at the same time: a change of
// the file holds its lock from reading to writing.
void Sperre(plainfile::Lock &lock, const QString &meldung)
{
    QString grund;
    if (!lock.acquire(10000, &grund))
        Abbruch(meldung, grund);
}

const QString SpeicherMeldung = QStringLiteral("Es trat ein Fehler beim Speichern der Highscore-Daten auf!");
const QString ErstellMeldung = QStringLiteral("Es trat ein Fehler beim Erstellen der Datei auf!");

// A missing file is created empty, as opening it for writing would; where
// that is not allowed the table stays cleared all the same.
void LegeLeereDateiAn()
{
    try {
        Open(modDeklarationen::strScoreFile, OpenMode::Random, intFileNr, RecordLaenge);
    } catch (const RuntimeError &) {
    }
    Close(intFileNr);
}

} // namespace

void LoadScore()
{
    // A missing or short file reads like a cleared table, an unusable entry
    // like an empty place. The file is only read, so a top ten the player
    // may not write still shows; one that cannot be read at all (a folder,
    // a named pipe) reads as cleared, with a line on stderr.
    LeereTabelle();
    intFileNr = FreeFile();
    try {
        Open(modDeklarationen::strScoreFile, OpenMode::RandomRead, intFileNr, RecordLaenge);
    } catch (const RuntimeError &e) {
        if (e.Number() == errFileNotFound)
            LegeLeereDateiAn();
        else
            std::fprintf(stderr, "murvel: cannot read %s (%s); the top ten reads as cleared\n",
                         qPrintable(modDeklarationen::strScoreFile), qPrintable(e.Description()));
        return;
    }
    const qint64 size = QFileInfo(modDeklarationen::strScoreFile).size();
    for (int s = 1; s <= Groessen; ++s)
        for (int p = 1; p <= ScorePlaetze; ++p) {
            const int n = NamensRecord(p, s);
            if (static_cast<qint64>(n + 1) * RecordLaenge > size)
                continue;
            QString name, shots;
            try {
                Get(intFileNr, n, name);
            } catch (const RuntimeError &) {
                name = Unbekannt;
            }
            try {
                Get(intFileNr, n + 1, shots);
            } catch (const RuntimeError &) {
                shots.clear();
            }
            strScore(p, s, 1) = name;
            strScore(p, s, 2) = GueltigeSchuesse(shots) ? shots : Leer;
        }
    Close(intFileNr);
}

std::optional<std::int16_t> Schusszahl(const QString &text)
{
    if (text.isEmpty() || text.size() > 5)
        return std::nullopt;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    const int shots = text.toInt();
    if (shots < 1 || shots > 32767)
        return std::nullopt;
    return static_cast<std::int16_t>(shots);
}

std::uint8_t InsertScore(const QString &Name, std::int16_t Shots)
{
    if (!AktuelleGroesse)
        throw RuntimeError(errObjectNotSet, QStringLiteral("Object variable or With block variable not set"));
    const int s = AktuelleGroesse();
    // The result is filed into the file as it is now, not into the table
    // read at start: what another copy filed meanwhile stays.
    plainfile::Lock lock(modDeklarationen::strScoreFile);
    Sperre(lock, SpeicherMeldung);
    LoadScore();
    int platz = 0;
    for (int p = 1; p <= ScorePlaetze && platz == 0; ++p)
        if (Shots <= Wert(strScore(p, s, 2)))
            platz = p;
    if (platz == 0)
        return 0;
    for (int row = ScorePlaetze; row >= platz; --row) {
        strScore(row + 1, s, 1) = strScore(row, s, 1);
        strScore(row + 1, s, 2) = strScore(row, s, 2);
    }
    strScore(platz, s, 1) = PassenderName(Name);
    strScore(platz, s, 2) = QString::number(Shots);
    SchreibeScore(SpeicherMeldung);
    return static_cast<std::uint8_t>(platz);
}

void ResetScore()
{
    plainfile::Lock lock(modDeklarationen::strScoreFile);
    Sperre(lock, ErstellMeldung);
    LeereTabelle();
    SchreibeScore(ErstellMeldung);
}

void SaveScore()
{
    plainfile::Lock lock(modDeklarationen::strScoreFile);
    Sperre(lock, SpeicherMeldung);
    SchreibeScore(SpeicherMeldung);
}

} // namespace modMain
