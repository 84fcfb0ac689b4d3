#include "frmScore.h"
#include "ui_frmScore.h"

#include "frmHaupt.h"
#include "frmMeldung.h"
#include "modDeklarationen.h"
#include "modMain.h"

#include "runtime/doevents.h"
#include "runtime/resources.h"
#include "runtime/strings.h"

#include <QPalette>
#include <QPixmap>

#include <cmath>

namespace {

using modDeklarationen::strScore;

constexpr int Zeilen = modDeklarationen::ScorePlaetze;
constexpr int Zeilenabstand = 22;
constexpr int ClearButtonBreite = 21;
constexpr COLORREF Schwarz = 0x00000000;
constexpr COLORREF Rot = 0x000000FF;
const QString Leer = QStringLiteral("?");
const QString Unbekannt = QStringLiteral("unbekannt");

// The main window's engine: the field in play and the boat cells of each
// size. The load step's centring has loaded the main window, and with it
// its engine.
clsGrid &Spielfeld()
{
    return *frmHaupt::Instance().Grid;
}

} // namespace

frmScore::frmScore() = default;
frmScore::~frmScore() = default;

void frmScore::SetupWindow(QWidget *window)
{
    UiForm::SetupWindow(window);
    // The face is the dialog's own picture; transparent labels show it.
    QPalette face = window->palette();
    face.setBrush(QPalette::Window, QPixmap(QStringLiteral(":/pictures/score.jpg")));
    window->setPalette(face);
    window->setAutoFillBackground(true);

    lblBeschriftung.Collect(window, QStringLiteral("lblBeschriftung"));
    lblNr.Collect(window, QStringLiteral("lblNr"));
    lblName.Collect(window, QStringLiteral("lblName"));
    lblQuote.Collect(window, QStringLiteral("lblQuote"));
    optSize.Collect(window, QStringLiteral("optSize"));

    lblBeschriftung.on(&Label::Click, [this](std::int16_t Index) { lblBeschriftung_Click(Index); });
    lblNr.on(&Label::Click, [this](std::int16_t Index) { lblNr_Click(Index); });
    lblName.on(&Label::Click, this, &frmScore::lblName_Click);
    lblQuote.on(&Label::Click, this, &frmScore::lblQuote_Click);
    optSize.on(&OptionButton::Click, this, &frmScore::optSize_Click);
    connect(loadedUi()->cmdClear, &CommandButton::Click, this, [this] { cmdClear_Click(); });
    connect(loadedUi()->timBlinker, &Timer::Tick, this, [this] { timBlinker_Timer(); });
}

void frmScore::setBlinkRow(Byte row)
{
    mvarBlinkRow = row;
    // Loads the window first when needed; its load step keeps the value.
    Timer &blinker = *ui().timBlinker;
    blinker.setEnabled(mvarBlinkRow > 0);
    if (mvarBlinkRow == 0)
        ResetRowColors();
}

void frmScore::ShowTable(std::int16_t g)
{
    for (int i = 0; i < Zeilen; ++i) {
        const int p = i + 1;
        const QString &s = strScore(p, g, 2);
        const std::optional<std::int16_t> shots = modMain::Schusszahl(s);
        if (s == Leer) {
            lblName(i).setCaption(strScore(p, g, 1));
            lblQuote(i).setCaption(Leer);
        } else if (shots) {
            lblName(i).setCaption(strScore(p, g, 1));
            // 16-bit integer division: the quota is truncated, never rounded.
            const auto c = static_cast<std::int16_t>(Spielfeld().AnzahlBootsfelder(static_cast<Byte>(g)) * 100);
            const auto q = static_cast<std::int16_t>(c / *shots);
            lblQuote(i).setCaption(s + QStringLiteral(" (") + QString::number(q) + QStringLiteral("%)"));
        } else {
            // A damaged entry of the file: shown as the empty place it counts as.
            lblName(i).setCaption(Unbekannt);
            lblQuote(i).setCaption(Leer);
        }
    }
}

void frmScore::ResetRowColors()
{
    for (int i = 0; i < Zeilen; ++i) {
        lblNr(i).setForeColor(Schwarz);
        lblName(i).setForeColor(Schwarz);
        lblQuote(i).setForeColor(Schwarz);
    }
}

void frmScore::Form_Load()
{
    using modDeklarationen::strSnd110;
    strSnd110 = LoadResData(110, QStringLiteral("SOUND"));
    modMain::SpieleSound(strSnd110, true);

    CentreOver(frmHaupt::Instance());

    for (int i = 1; i < Zeilen; ++i) {
        lblNr.Load(i);
        lblName.Load(i);
        lblQuote.Load(i);
        for (ControlArray<Label> *spalte : {&lblNr, &lblName, &lblQuote}) {
            Label &zelle = (*spalte)(i);
            zelle.setTop((*spalte)(i - 1).Top() + Zeilenabstand);
            zelle.setLeft((*spalte)(i - 1).Left());
            zelle.setVisible(true);
        }
        lblNr(i).setCaption(QString::number(i + 1) + QLatin1Char('.'));
    }

    optSize.Load(1);
    optSize.Load(2);
    const float breite = static_cast<float>(ScaleWidth() - ClearButtonBreite) / 3.0f - 3.0f;
    const int width = static_cast<int>(std::nearbyint(breite));
    for (int i = 0; i <= 2; ++i) {
        OptionButton &option = optSize(i);
        option.setWidth(width);
        option.setLeft(static_cast<int>(std::nearbyint(static_cast<float>(i) * breite + 5.0f)));
        option.setCaption(QStringLiteral("Größe ") + QString::number(i + 1));
        option.setVisible(true);
    }

    bytSavedBlinkRow = BlinkRow();
    optSize(Spielfeld().Groesse() - 1).setValue(true);
    setBlinkRow(bytSavedBlinkRow);
}

void frmScore::Form_Unload(std::int16_t &Cancel)
{
    (void)Cancel;
    using modDeklarationen::strSnd110;
    strSnd110.clear();
    modMain::SpieleSound(strSnd110, true);
    setBlinkRow(0);
}

// Any click on the face or a label closes the window.
void frmScore::Form_Click() { Unload(); }
void frmScore::lblBeschriftung_Click(std::int16_t) { Unload(); }
void frmScore::lblName_Click(std::int16_t) { Unload(); }
void frmScore::lblNr_Click(std::int16_t) { Unload(); }
void frmScore::lblQuote_Click(std::int16_t) { Unload(); }

void frmScore::optSize_Click(std::int16_t Index)
{
    ShowTable(static_cast<std::int16_t>(Index + 1));
    setBlinkRow(0);
}

void frmScore::cmdClear_Click()
{
    frmMeldung &meldung = frmMeldung::Instance();
    // The box keeps its last answer when it is closed without one: a "Ja"
    // to an earlier question must not clear the lists.
    meldung.setErgebnis(false);
    meldung.Load();
    meldung.setText(vbCrLf + QStringLiteral("Soll die Top-Ten wirklich gelöscht werden?"));
    Hide();
    meldung.Show(vbModal);
    if (meldung.Ergebnis()) {
        modMain::ResetScore();
        DoEvents();
        modMain::LoadScore();
        for (int i = 0; i <= 2; ++i)
            if (optSize(i).Value())
                ShowTable(static_cast<std::int16_t>(i + 1));
    }
    // The caller's modal show returns only once this one has.
    Show(vbModal);
}

void frmScore::timBlinker_Timer()
{
    const Byte b = BlinkRow();
    if (b < 1 || b > Zeilen)
        return;
    const int i = b - 1;
    const COLORREF farbe = lblNr(i).ForeColor() == Schwarz ? Rot : Schwarz;
    lblNr(i).setForeColor(farbe);
    lblName(i).setForeColor(farbe);
    lblQuote(i).setForeColor(farbe);
}
