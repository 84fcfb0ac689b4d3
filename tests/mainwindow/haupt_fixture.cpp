#include "haupt_fixture.h"

#include "frmMeldung.h"
#include "frmScore.h"
#include "frmSieg.h"
#include "modDeklarationen.h"
#include "modMain.h"
#include "zellbilder_laden.h"

#include "base/ansi.h"
#include "com/runtime.h"
#include "runtime/commandbutton.h"
#include "runtime/image.h"
#include "runtime/label.h"
#include "runtime/resources.h"
#include "support/test_env.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTest>
#include <QTimer>

#include <cstdlib>

namespace haupttest {

using namespace modDeklarationen;

namespace {

// Synchronous sounds take no time: SDL's disk driver writes them to nowhere
// at once. Set before the test main picks its silent real-time default.
const bool schnelleSounds = [] {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    return true;
}();

int Zellgroesse() { return grid().ZellGroesse(); }

} // namespace

void Sobald(std::function<bool()> bereit, std::function<void()> tun)
{
    auto *timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, bereit, tun] {
        if (!bereit())
            return;
        timer->stop();
        timer->deleteLater();
        tun();
    });
    timer->start();
}

frmHaupt &haupt() { return frmHaupt::Instance(); }
Ui::frmHaupt &ui() { return frmHauptProbe::ui(haupt()); }
clsGrid &grid() { return *haupt().Grid; }

void NeuesSpiel(Byte groesse, const QString &name)
{
    grid().setGroesse(groesse);
    grid().setSpielerName(name);
    haupt().setModus(mdSetzen);
}

QPoint Mitte(const Zelle &z)
{
    const int p = Zellgroesse() + 1;
    // The field's drawing area starts inside its one-pixel border.
    return QPoint(p * (z.c - 1) + 1 + Zellgroesse() / 2 + 1, p * (z.r - 1) + 1 + Zellgroesse() / 2 + 1);
}

void Klick(const Zelle &z, Qt::MouseButton button)
{
    QTest::mouseClick(ui().picpFeld, button, Qt::NoModifier, Mitte(z));
}

std::vector<Boot> Aufstellung()
{
    const int p = Zellgroesse() + 1;
    const int spalten = (ui().picpFeld->ScaleWidth() - 1) / p;
    const int zeilen = (ui().picpFeld->ScaleHeight() - 1) / p;
    Feld1<tBoot> &boote = clsGridProbe::pBoote(grid());
    std::vector<Boot> plan;
    int c = 1, r = 1;
    for (int b = 1; b <= boote.UBound(); ++b) {
        const int laenge = boote(b).X.UBound();
        if (c + laenge - 1 > spalten) {
            c = 1;
            r += 2;
        }
        EXPECT_LE(r, zeilen) << "the fleet does not fit the field";
        Boot boot;
        for (int i = 0; i < laenge; ++i)
            boot.push_back({c + i, r});
        plan.push_back(boot);
        c += laenge + 1;
    }
    return plan;
}

void Aufstellen(const std::vector<Boot> &boote, bool ja)
{
    BeantworteNaechsteFrage(ja);
    for (const Boot &boot : boote)
        for (const Zelle &z : boot)
            Klick(z);
}

void BeantworteNaechsteFrage(bool ja, QString *text)
{
    Sobald([] { return frmMeldung::Instance().Visible(); },
           [ja, text] {
               frmMeldung &m = frmMeldung::Instance();
               if (text)
                   *text = m.Text();
               QWidget *fenster = m.Window();
               auto *knopf = fenster->findChild<CommandButton *>(ja ? QStringLiteral("cmdOK") : QStringLiteral("cmdAbbruch"));
               if (knopf)
                   QTest::mouseClick(knopf, Qt::LeftButton);
               else
                   m.setErgebnis(ja);
           });
}

void SchliesseNaechstenSieg(Siegesbild *was, bool topTen)
{
    Sobald([] { return frmSieg::Instance().Visible(); },
           [was, topTen] {
               frmSieg &s = frmSieg::Instance();
               was->gezeigt = true;
               was->winner = s.Winner();
               was->place = s.Place();
               was->resultText = s.ResultText();
               was->bomben = haupt().Bomben;
               QWidget *fenster = s.Window();
               if (auto *zeile = fenster->findChild<Label *>(QStringLiteral("lblBomben")))
                   was->bombenZeile = zeile->Caption();
               if (auto *titel = fenster->findChild<Image *>(QStringLiteral("imgTitle")))
                   was->titel = titel->Picture().convertToFormat(QImage::Format_ARGB32);
               was->bild = Grab(fenster, QStringLiteral("sieg_%1").arg(s.Winner()));
               if (topTen)
                   Sobald([] { return frmScore::Instance().Visible(); },
                          [was] {
                              was->blinkRow = frmScore::Instance().BlinkRow();
                              Grab(frmScore::Instance().Window(), QStringLiteral("score_nach_sieg"));
                              frmScore::Instance().Unload();
                          });
               auto *knopf = fenster->findChild<CommandButton *>(topTen ? QStringLiteral("cmdJa") : QStringLiteral("cmdNein"));
               if (knopf)
                   QTest::mouseClick(knopf, Qt::LeftButton);
               if (s.IsLoaded())
                   s.Unload();
           });
}

QImage Siegertitel(Byte winner)
{
    return QImage(winner == seMensch ? QStringLiteral(":/pictures/titel_mensch.gif") : QStringLiteral(":/pictures/titel_computer.gif"))
        .convertToFormat(QImage::Format_ARGB32);
}

std::vector<Boot> ComputerBoote()
{
    Feld1<tBoot> &boote = clsGridProbe::cBoote(grid());
    std::vector<Boot> alle;
    for (int b = 1; b <= boote.UBound(); ++b) {
        Boot boot;
        for (int i = 1; i <= boote(b).X.UBound(); ++i)
            boot.push_back({boote(b).X(i), boote(b).Y(i)});
        alle.push_back(boot);
    }
    return alle;
}

int BeschosseneZellen(Feld3<Byte> &feld)
{
    int n = 0;
    for (int c = 1; c <= feld.UBound(1); ++c)
        for (int r = 1; r <= feld.UBound(2); ++r)
            n += feld(c, r, ebBeschuss) != zuUnberuehrt ? 1 : 0;
    return n;
}

QString Eintrag(int n)
{
    QFile file(strScoreFile);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("<no file>");
    const QByteArray bytes = file.readAll();
    const int at = (n - 1) * 30;
    if (bytes.size() < at + 2)
        return QStringLiteral("<beyond the end>");
    const int length = static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8);
    return ansi::toUnicode(bytes.mid(at + 2, length));
}

QImage Grab(QWidget *widget, const QString &name)
{
    const QImage bild = widget->grab().toImage();
    bild.save(QDir(testenv::buildDir()).filePath(QStringLiteral("tests/%1.png").arg(name)));
    return bild;
}

void HauptTest::SetUp()
{
    ASSERT_TRUE(testenv::registerPellwick());
    LadeZellbilder();
    picMüll[0] = LoadResPicture(101, vbResIcon);
    picMüll[1] = LoadResPicture(102, vbResIcon);
    modMain::LadeSounds();
    bytSound = 1;
    bytHelp = 1;
    bytStdSize = 2;
    ASSERT_TRUE(folder.isValid());
    strScoreFile = folder.filePath(QStringLiteral("Score.hsc"));
    strComboFile = folder.filePath(QStringLiteral("Combo.txt"));
    strHelpFile = folder.filePath(QStringLiteral("Hilfe.chm"));
    modMain::ResetScore();

    haupt().Load();
    haupt().setModus(mdKeinSpiel);
    haupt().Show();
    QApplication::processEvents();
}

void HauptTest::TearDown()
{
    frmScore::Instance().Unload();
    frmSieg::Instance().Unload();
    frmMeldung::Instance().Unload();
    haupt().Unload();
    CoUninitialize();
}

} // namespace haupttest
