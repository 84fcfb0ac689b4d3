// The start routine, and a start without the tooltip component.
#include "haupt_fixture.h"

#include "frmStart.h"
#include "modDeklarationen.h"
#include "modMain.h"

#include "com/runtime.h"
#include "registry/registry.h"
#include "registry/settings.h"
#include "runtime/program.h"
#include "support/test_env.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>

#include <cstdio>
#include <sys/stat.h>

using namespace haupttest;
using namespace modDeklarationen;

namespace {

int Regsvr(const QStringList &arguments)
{
    QProcess regsvr;
    regsvr.start(testenv::buildDir() + QStringLiteral("/regsvr"), arguments);
    return regsvr.waitForFinished(30000) && regsvr.exitStatus() == QProcess::NormalExit ? regsvr.exitCode() : -1;
}

// Notes what the program-wide state held when the splash first showed.
class SplashWatch : public QObject {
public:
    bool shown = false;
    bool soundsEmpty = false;
    bool picturesEmpty = false;
    bool mainLoadedAtSplashEnd = false;
    bool mainVisibleAtSplashEnd = true;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !shown && frmStart::Instance().IsLoaded()
            && watched == frmStart::Instance().Window()) {
            shown = true;
            soundsEmpty = strSnd101.isEmpty();
            picturesEmpty = picBmp101.isNull();
        }
        return false;
    }
};

// Answers the next message box with OK and writes its title and text to
// stderr, where a death test reads them.
void CloseNextMessageBox()
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            std::fprintf(stderr, "[%s] %s\n", qPrintable(box->windowTitle()), qPrintable(box->text().replace('\n', ' ')));
            std::fflush(stderr);
            box->accept();
        }
    });
    timer->start(10);
}

void LoadWithoutPellwick()
{
    CoInitialize(nullptr);
    CloseNextMessageBox();
    frmHaupt::Instance().Load();
    std::fprintf(stderr, "the main window loaded\n");
    std::exit(0);
}

} // namespace

TEST(Start, TheSplashShowsFirstThenTheMainWindowAppearsInStateZeroWithTheSettingsRead)
{
    ASSERT_EQ(Regsvr({testenv::buildDir() + QStringLiteral("/libpellwick.so")}), 0);
    // Hand-edited settings: none of them usable.
    SaveSetting(App::EXEName(), QStringLiteral("Options"), QStringLiteral("Sound"), QStringLiteral("an"));
    SaveSetting(App::EXEName(), QStringLiteral("Options"), QStringLiteral("Help"), QStringLiteral("-1"));
    SaveSetting(App::EXEName(), QStringLiteral("Options"), QStringLiteral("StdSize"), QStringLiteral("7"));
    CoInitialize(nullptr);

    SplashWatch watch;
    qApp->installEventFilter(&watch);
    QObject::connect(&frmStart::Instance(), &Form::Unloaded, &watch, [&watch] {
        watch.mainLoadedAtSplashEnd = frmHaupt::Instance().IsLoaded();
        watch.mainVisibleAtSplashEnd = frmHaupt::Instance().Visible();
    });
    modMain::Main();
    qApp->removeEventFilter(&watch);

    EXPECT_TRUE(watch.shown);
    EXPECT_TRUE(watch.soundsEmpty && watch.picturesEmpty) << "the splash shows before anything loads";
    EXPECT_TRUE(watch.mainLoadedAtSplashEnd);
    EXPECT_FALSE(watch.mainVisibleAtSplashEnd) << "the splash closes before the main window shows";
    EXPECT_FALSE(frmStart::Instance().IsLoaded());

    frmHaupt &h = frmHaupt::Instance();
    EXPECT_TRUE(h.Visible());
    EXPECT_EQ(h.Modus(), mdKeinSpiel);
    EXPECT_EQ(bytSound, 1);
    EXPECT_EQ(bytHelp, 1);
    EXPECT_EQ(bytStdSize, 2);
    EXPECT_EQ(h.Grid->Groesse(), 2);
    EXPECT_EQ(strScoreFile, App::Path() + QStringLiteral("/Score.hsc"));
    EXPECT_EQ(strHelpFile, App::Path() + QStringLiteral("/Hilfe.chm"));
    EXPECT_TRUE(strSnd110.isEmpty());
    EXPECT_FALSE(strSnd111.isEmpty());
    EXPECT_FALSE(picMüll[0].isNull());
    EXPECT_FALSE(picMüll[1].isNull());
    EXPECT_FALSE(picBmp105.isNull());
    Grab(h.Window(), QStringLiteral("start_hauptfenster"));
    h.Unload();
}

TEST(StartDeathTest, WithoutPellwickRegisteredTheProgramSaysHowToRegisterItAndEnds)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(LoadWithoutPellwick(), ::testing::ExitedWithCode(1),
                "\\[Murvel: Pellwick fehlt\\] .*Pellwick.*nicht registriert.*regsvr .*libpellwick.so");
}

TEST(StartDeathTest, WithPellwicksLibraryGoneTheProgramSaysSoAndEnds)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            // Registered from a copy that is then removed.
            QTemporaryDir folder;
            const QString copy = folder.filePath(QStringLiteral("libpellwick.so"));
            QFile::copy(testenv::buildDir() + QStringLiteral("/libpellwick.so"), copy);
            if (Regsvr({copy}) != 0)
                std::exit(3);
            QFile::remove(copy);
            LoadWithoutPellwick();
        },
        ::testing::ExitedWithCode(1), "\\[Murvel: Pellwick fehlt\\] .*Pellwick.*Bibliothek fehlt.*regsvr .*libpellwick.so");
}

// A registry that is there but cannot be read at all stops the start with
// its own message, naming the file and the reason, before the splash; a
// named pipe in its place does not hang the start.
TEST(StartDeathTest, AnUnreadableRegistryIsNamedWithItsReasonAndTheProgramEnds)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const QString file = registry::storePath();
    QFile::remove(file);
    ASSERT_TRUE(QDir().mkpath(file));
    EXPECT_EXIT((CloseNextMessageBox(), modMain::Main()), ::testing::ExitedWithCode(1),
                "\\[Murvel: Registrierung unlesbar\\] Die Registrierungsdatei „.*/murvel/registry.reg“ kann nicht "
                "gelesen werden \\(it is a folder\\)\\.  Das Programm wird beendet!");
    ASSERT_TRUE(QDir(file).removeRecursively());
    ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    EXPECT_EXIT((CloseNextMessageBox(), modMain::Main()), ::testing::ExitedWithCode(1),
                "kann nicht gelesen werden \\(it is not a plain file\\)");
    QFile::remove(file);
}

// Without a display the game says in one line what it needs, and ends with
// a failure status instead of Qt's abort.
TEST(Start, WithoutADisplayOneLineSaysSoAndTheStatusIsOne)
{
    for (const QString &display : {QString(), QStringLiteral(":7391")}) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
            environment.remove(QString::fromLatin1(name));
        if (!display.isEmpty())
            environment.insert(QStringLiteral("DISPLAY"), display);
        QProcess murvel;
        murvel.setProcessEnvironment(environment);
        murvel.start(testenv::buildDir() + QStringLiteral("/murvel"));
        ASSERT_TRUE(murvel.waitForFinished(60000)) << display.toStdString();
        EXPECT_EQ(murvel.exitStatus(), QProcess::NormalExit) << display.toStdString();
        EXPECT_EQ(murvel.exitCode(), 1) << display.toStdString();
        const QString output = QString::fromLocal8Bit(murvel.readAllStandardError());
        EXPECT_EQ(output.count(QLatin1Char('\n')), 1) << output.toStdString();
        EXPECT_TRUE(output.startsWith(QStringLiteral("murvel: Murvel braucht eine grafische Anzeige"))) << output.toStdString();
        EXPECT_TRUE(murvel.readAllStandardOutput().isEmpty());
    }
}
