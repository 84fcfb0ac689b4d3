// The game starts and plays whatever its surroundings: no audio device, a
// name list or a help file that is missing or damaged.
#include "haupt_fixture.h"

#include "frmNeu.h"
#include "modDeklarationen.h"

#include "comctl/toolbar.h"
#include "runtime/combobox.h"
#include "runtime/commandbutton.h"
#include "runtime/optionbutton.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTest>

#include <cstdlib>

using namespace haupttest;
using namespace modDeklarationen;

namespace {

void KlickeKnopf(int nummer)
{
    ToolbarWindow *inner = ui().tbToolbar->innerWindow();
    ASSERT_NE(inner, nullptr);
    QTest::mouseClick(inner, Qt::LeftButton, Qt::NoModifier, inner->buttonRect(nummer).center());
}

// Fills in the new-game dialog as a player does once it shows: a name, the
// smallest field, OK.
void FuelleNeuesSpielAus(const QString &name)
{
    Sobald([] { return frmNeu::Instance().Visible(); },
           [name] {
               QWidget *dialog = frmNeu::Instance().Window();
               dialog->findChild<ComboBox *>(QStringLiteral("cboName"))->setText(name);
               QTest::mouseClick(dialog->findChild<OptionButton *>(QStringLiteral("optSize_0")), Qt::LeftButton);
               QTest::mouseClick(dialog->findChild<CommandButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
           });
}

// Plays on to the battle and fires a few shots.
void SpieleEinWenig()
{
    Aufstellen(Aufstellung(), true);
    ASSERT_EQ(haupt().Modus(), mdGefecht);
    for (const Boot &boot : ComputerBoote()) {
        Klick(boot.front());
        break;
    }
    Klick({1, 1});
    EXPECT_GE(frmHauptProbe::intSchuss(haupt(), seMensch), 1);
    EXPECT_EQ(frmHauptProbe::intSchuss(haupt(), seComputer), frmHauptProbe::intSchuss(haupt(), seMensch));
}

// The notices the help viewer puts up on its own.
QList<QMessageBox *> HilfeHinweise()
{
    QList<QMessageBox *> boxes;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
            boxes << box;
    return boxes;
}

// Closes them once the first has come; how many.
int SchliesseHilfeHinweise()
{
    (void)QTest::qWaitFor([] { return !HilfeHinweise().isEmpty(); }, 20000);
    const QList<QMessageBox *> boxes = HilfeHinweise();
    for (QMessageBox *box : boxes) {
        Grab(box, QStringLiteral("hilfe_hinweis"));
        box->accept();
    }
    return boxes.size();
}

} // namespace

using SchlechteEingaben = HauptTest;

TEST_F(SchlechteEingaben, WithoutAnAudioDeviceTheGamePlays)
{
    // Before the first sound opens the device: a driver that is not there.
    setenv("SDL_AUDIODRIVER", "keiner", 1);
    NeuesSpiel(1);
    SpieleEinWenig();
}

class NamenslisteTest : public HauptTest, public ::testing::WithParamInterface<int> {};

TEST_P(NamenslisteTest, ANewGameStartsFromTheDialogWhateverTheNameListHolds)
{
    const QByteArray inhalte[] = {
        QByteArray(),                                                                  // missing
        QByteArray(""),                                                                // empty
        QByteArray("\x00\xff\xfe\r\r\n\n", 7) + QByteArray(100000, 'x') + "\r\nOtto", // damaged
    };
    if (GetParam() > 0) {
        QFile file(strComboFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(inhalte[GetParam()]);
    }
    FuelleNeuesSpielAus(QStringLiteral("Zoe"));
    KlickeKnopf(1);
    EXPECT_EQ(haupt().Modus(), mdSetzen);
    EXPECT_EQ(grid().Groesse(), 1);
    EXPECT_EQ(haupt().lblName(0).Caption(), QStringLiteral("Zoe"));
    SpieleEinWenig();
}

INSTANTIATE_TEST_SUITE_P(Namenslisten, NamenslisteTest, ::testing::Values(0, 1, 2),
                         [](const auto &instance) { return std::string(instance.param == 0 ? "Fehlt" : instance.param == 1 ? "Leer" : "Kaputt"); });

TEST_F(SchlechteEingaben, AMissingOrDamagedHelpFileLeavesTheGameAsItWas)
{
    NeuesSpiel(1);
    for (bool kaputt : {false, true}) {
        SCOPED_TRACE(kaputt ? "damaged" : "missing");
        if (kaputt) {
            QFile file(strHelpFile);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("ITSF not really a help file");
        }
        QTest::keyClick(haupt().Window(), Qt::Key_F1);
        EXPECT_EQ(SchliesseHilfeHinweise(), 1) << "F1";
        KlickeKnopf(5);
        EXPECT_EQ(SchliesseHilfeHinweise(), 1) << "the help button";
        EXPECT_TRUE(haupt().IsLoaded());
        EXPECT_EQ(haupt().Modus(), mdSetzen);
    }
    SpieleEinWenig();
}
