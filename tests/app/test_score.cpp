// The top ten in memory and in "Score.hsc", byte by byte.
#include "base/ansi.h"
#include "modDeklarationen.h"
#include "modMain.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <fcntl.h>
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/user.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using modDeklarationen::strScore;
using modDeklarationen::strScoreFile;
using namespace modMain;

constexpr int RecordSize = 30;

// Record n (from 1) as its file holds it: 2-byte length, text, padding.
QByteArray recordBytes(const QString &text)
{
    const QByteArray bytes = ansi::fromUnicode(text);
    QByteArray record(RecordSize, '\0');
    record[0] = static_cast<char>(bytes.size());
    record.replace(2, bytes.size(), bytes);
    return record;
}

QByteArray fileBytes()
{
    QFile file(strScoreFile);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QByteArray &bytes)
{
    QFile file(strScoreFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// The file's image of a whole table: records n, n + 1 per place.
QByteArray imageOfTable()
{
    QByteArray image;
    for (int s = 1; s <= 3; ++s)
        for (int p = 1; p <= 10; ++p)
            image += recordBytes(strScore(p, s, 1)) + recordBytes(strScore(p, s, 2));
    return image;
}

class TopTen : public testing::Test {
protected:
    void SetUp() override
    {
        folder.removeRecursively();
        ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
        strScoreFile = folder.filePath(QStringLiteral("Score.hsc"));
        AktuelleGroesse = [this] { return groesse; };
    }
    void TearDown() override
    {
        AktuelleGroesse = nullptr;
        folder.removeRecursively();
    }

    // Size class s holds the results first, first + step, ... at places 1 to 10.
    void fill(int s, int first, int step)
    {
        for (int p = 1; p <= 10; ++p) {
            strScore(p, s, 1) = QStringLiteral("Spieler %1").arg(p);
            strScore(p, s, 2) = QString::number(first + step * (p - 1));
        }
    }

    // A death test's child, which saves, and its parent, which looks at the
    // file afterwards, find it in the folder they share: beside the shared
    // configuration folder, not in it, so that a child without root rights
    // may be let in.
    QDir folder{testenv::configHome() + QStringLiteral("-topten")};
    std::uint8_t groesse = 2;
};

TEST_F(TopTen, ClearingWritesSixtyRecordsOfUnbekanntAndQuestionMark)
{
    ResetScore();
    const QByteArray bytes = fileBytes();
    ASSERT_EQ(bytes.size(), 1800);
    for (int n = 1; n <= 60; ++n) {
        SCOPED_TRACE(n);
        const QByteArray record = bytes.mid((n - 1) * RecordSize, RecordSize);
        EXPECT_EQ(record, recordBytes(n % 2 ? QStringLiteral("unbekannt") : QStringLiteral("?")));
    }
    EXPECT_EQ(strScore(10, 3, 1), QStringLiteral("unbekannt"));
    EXPECT_EQ(strScore(10, 3, 2), QStringLiteral("?"));
}

TEST_F(TopTen, AResultEntersAtItsPlaceAndPushesTheRestDown)
{
    ResetScore();
    fill(2, 20, 2); // 20, 22, 24, ..., 38
    SaveScore(); // a result is filed into what the file holds
    EXPECT_EQ(InsertScore(QStringLiteral("Anna"), 19), 1);
    EXPECT_EQ(strScore(1, 2, 1), QStringLiteral("Anna"));
    EXPECT_EQ(strScore(2, 2, 2), QStringLiteral("20"));
    EXPECT_EQ(strScore(10, 2, 2), QStringLiteral("36"));
    EXPECT_EQ(strScore(11, 2, 2), QStringLiteral("38")); // only the spare row holds it now
    // A tie goes above the stored result: the newer one ranks first.
    EXPECT_EQ(InsertScore(QStringLiteral("Bert"), 22), 3);
    EXPECT_EQ(strScore(3, 2, 1), QStringLiteral("Bert"));
    EXPECT_EQ(strScore(4, 2, 2), QStringLiteral("22"));
    EXPECT_EQ(strScore(4, 2, 1), QStringLiteral("Spieler 2"));
    EXPECT_EQ(fileBytes(), imageOfTable());
}

TEST_F(TopTen, AResultWorseThanAllTenLeavesTableAndFileUntouched)
{
    fill(2, 20, 2);
    SaveScore();
    QFile(strScoreFile).setPermissions(QFile::ReadOwner); // any write would show
    const QByteArray before = fileBytes();
    EXPECT_EQ(InsertScore(QStringLiteral("Carl"), 39), 0);
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(strScore(10, 2, 2), QStringLiteral("38"));
}

TEST_F(TopTen, AnEmptyPlaceTakesAnyResultUpToAThousandShots)
{
    ResetScore();
    groesse = 3;
    EXPECT_EQ(InsertScore(QStringLiteral("Dora"), 1000), 1);
    EXPECT_EQ(InsertScore(QStringLiteral("Emil"), 1001), 0);
    EXPECT_EQ(InsertScore(QStringLiteral("Fritz"), 500), 1);
    EXPECT_EQ(strScore(2, 3, 1), QStringLiteral("Dora"));
    EXPECT_EQ(strScore(3, 3, 2), QStringLiteral("?"));
}

TEST_F(TopTen, TheThreeSizeClassesNeverMix)
{
    ResetScore();
    fill(1, 30, 1);
    fill(3, 60, 1);
    SaveScore();
    const QByteArray before = fileBytes();
    groesse = 2;
    EXPECT_EQ(InsertScore(QStringLiteral("Gisela"), 45), 1);
    const QByteArray after = fileBytes();
    EXPECT_EQ(after.left(20 * RecordSize), before.left(20 * RecordSize));
    EXPECT_EQ(after.mid(40 * RecordSize), before.mid(40 * RecordSize));
    EXPECT_EQ(after.mid(20 * RecordSize, 2 * RecordSize), recordBytes(QStringLiteral("Gisela")) + recordBytes(QStringLiteral("45")));
    EXPECT_EQ(strScore(1, 1, 2), QStringLiteral("30"));
    EXPECT_EQ(strScore(1, 3, 2), QStringLiteral("60"));
}

TEST_F(TopTen, LoadingAWrittenFileGivesTheSameTable)
{
    ResetScore();
    fill(1, 25, 3);
    strScore(4, 2, 1) = QStringLiteral("Jürgen Größe");
    strScore(4, 2, 2) = QStringLiteral("77");
    strScore(11, 1, 1) = QStringLiteral("spare row");
    SaveScore();
    EXPECT_EQ(fileBytes().mid(26 * RecordSize + 2, 12), QByteArray("J\xFCrgen Gr\xF6\xDF" "e", 12));
    const QByteArray image = imageOfTable();
    for (int s = 1; s <= 3; ++s)
        for (int p = 1; p <= 10; ++p)
            strScore(p, s, 1) = strScore(p, s, 2) = QString();
    LoadScore();
    EXPECT_EQ(imageOfTable(), image);
    EXPECT_EQ(strScore(11, 1, 1), QStringLiteral("spare row")); // row 11 is never loaded
}

TEST_F(TopTen, ANameLongerThanARecordIsCutToItsFirst28Bytes)
{
    ResetScore();
    const QString name = QStringLiteral("Maximiliane Müller-Lüdenscheidt von Bärenfels");
    EXPECT_EQ(InsertScore(name, 50), 1);
    EXPECT_EQ(strScore(1, 2, 1), name.left(28));
    EXPECT_EQ(fileBytes().mid(20 * RecordSize, RecordSize), recordBytes(name.left(28)));
    EXPECT_EQ(static_cast<unsigned char>(fileBytes()[20 * RecordSize]), 28);
}

TEST_F(TopTen, AMissingFileReadsAsAClearedTableAndIsCreatedEmpty)
{
    fill(2, 20, 2);
    LoadScore();
    EXPECT_EQ(strScore(1, 2, 1), QStringLiteral("unbekannt"));
    EXPECT_EQ(strScore(10, 2, 2), QStringLiteral("?"));
    EXPECT_TRUE(QFile::exists(strScoreFile));
    EXPECT_EQ(fileBytes().size(), 0);
    EXPECT_EQ(InsertScore(QStringLiteral("Hans"), 80), 1); // an empty place takes the result
}

TEST_F(TopTen, AShortOrDamagedFileReadsAsEmptyPlacesAndIsNotRewritten)
{
    fill(1, 20, 1);
    fill(2, 40, 1);
    SaveScore();
    QByteArray bytes = fileBytes().left(25 * RecordSize); // class 1 and places 1, 2 of class 2
    bytes[2 * RecordSize] = static_cast<char>(200); // name of place 2, class 1: a length beyond the record
    bytes.replace(3 * RecordSize, RecordSize, recordBytes(QStringLiteral("abc")));
    bytes.replace(5 * RecordSize, RecordSize, recordBytes(QStringLiteral("0")));
    bytes.replace(7 * RecordSize, RecordSize, recordBytes(QStringLiteral("40000")));
    bytes.replace(9 * RecordSize, RecordSize, recordBytes(QString()));
    bytes.replace(11 * RecordSize, RecordSize, recordBytes(QStringLiteral("-3")));
    bytes.replace(13 * RecordSize, RecordSize, recordBytes(QString::fromLatin1("2\0", 2))); // a number and more
    bytes.replace(15 * RecordSize, RecordSize, recordBytes(QStringLiteral("+7")));
    bytes.replace(17 * RecordSize, RecordSize, recordBytes(QStringLiteral("0031")));
    writeFile(bytes);
    fill(3, 60, 1);
    LoadScore();
    EXPECT_EQ(strScore(1, 1, 2), QStringLiteral("20"));
    EXPECT_EQ(strScore(2, 1, 1), QStringLiteral("unbekannt"));
    EXPECT_EQ(strScore(2, 1, 2), QStringLiteral("?"));
    for (int p = 3; p <= 8; ++p) {
        EXPECT_EQ(strScore(p, 1, 1), QStringLiteral("Spieler %1").arg(p)) << p;
        EXPECT_EQ(strScore(p, 1, 2), QStringLiteral("?")) << p;
    }
    EXPECT_EQ(strScore(9, 1, 2), QStringLiteral("0031")) << "leading zeros are still a count";
    EXPECT_EQ(strScore(10, 1, 2), QStringLiteral("29"));
    EXPECT_EQ(strScore(2, 2, 2), QStringLiteral("41"));
    EXPECT_EQ(strScore(3, 2, 1), QStringLiteral("unbekannt")); // beyond the end
    EXPECT_EQ(strScore(10, 3, 2), QStringLiteral("?"));
    EXPECT_EQ(fileBytes(), bytes);
}

// In a child process: answers the message box as a person would and tells
// the parent, on stderr, what it showed.
void answerTheMessageBox()
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        const QString text = box->text().replace(QLatin1Char('\n'), QLatin1Char('|'));
        std::fprintf(stderr, "[%s] [%s] [%d]\n", qPrintable(box->windowTitle()), qPrintable(text), box->icon() == QMessageBox::Warning);
        box->accept();
    });
    timer->start(20);
}

class TopTenDeathTest : public TopTen {};

TEST_F(TopTenDeathTest, AFailedSaveShowsItsMessageAndEndsTheProgram)
{
    QDir().mkpath(strScoreFile); // a folder where the file should be
    EXPECT_EXIT((answerTheMessageBox(), SaveScore()), testing::ExitedWithCode(0),
                "\\[Murvel\\] \\[Es trat ein Fehler beim Speichern der Highscore-Daten auf!\\|Das Programm wird beendet!\\] \\[1\\]");
    EXPECT_EXIT((answerTheMessageBox(), ResetScore()), testing::ExitedWithCode(0),
                "\\[Murvel\\] \\[Es trat ein Fehler beim Erstellen der Datei auf!\\|Das Programm wird beendet!\\] \\[1\\]");
}

// Permissions bind root too here: the checks run as an ordinary user.
class TopTenReadOnlyTest : public TopTenDeathTest {
protected:
    void SetUp() override
    {
        TopTenDeathTest::SetUp();
        fill(1, 20, 1);
        fill(2, 40, 1);
        fill(3, 60, 1);
        SaveScore();
        stored = fileBytes();
        QFile(strScoreFile).setPermissions(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        testenv::openToOthers(folder.path());
        LeereTabelleImSpeicher();
    }

    static void LeereTabelleImSpeicher()
    {
        for (int s = 1; s <= 3; ++s)
            for (int p = 1; p <= 10; ++p)
                strScore(p, s, 1) = strScore(p, s, 2) = QString();
    }

    QByteArray stored;
};

// In the child process: what LoadScore made of a file, on stderr.
void loadAndReport()
{
    LoadScore();
    std::fprintf(stderr, "[%s %s] [%s %s] [%s]\n", qPrintable(strScore(1, 1, 1)), qPrintable(strScore(1, 1, 2)),
                 qPrintable(strScore(10, 3, 1)), qPrintable(strScore(10, 3, 2)), qPrintable(strScore(5, 2, 2)));
    std::exit(0);
}

TEST_F(TopTenReadOnlyTest, AFileThePlayerMayNotWriteStillShowsItsResults)
{
    EXPECT_EXIT((testenv::withoutRootRights(), loadAndReport()), testing::ExitedWithCode(0),
                "\\[Spieler 1 20\\] \\[Spieler 10 69\\] \\[44\\]");
    EXPECT_EQ(fileBytes(), stored);
}

TEST_F(TopTenReadOnlyTest, ASaveIntoItShowsTheMessageAndEndsTheProgram)
{
    EXPECT_EXIT((testenv::withoutRootRights(), answerTheMessageBox(), LoadScore(), InsertScore(QStringLiteral("Neu"), 3)),
                testing::ExitedWithCode(0),
                "\\[Murvel\\] \\[Es trat ein Fehler beim Speichern der Highscore-Daten auf!\\|Das Programm wird beendet!\\] \\[1\\]");
    EXPECT_EXIT((testenv::withoutRootRights(), answerTheMessageBox(), ResetScore()), testing::ExitedWithCode(0),
                "\\[Murvel\\] \\[Es trat ein Fehler beim Erstellen der Datei auf!\\|Das Programm wird beendet!\\] \\[1\\]");
    EXPECT_EQ(fileBytes(), stored);
}

TEST_F(TopTenDeathTest, ATextThatDoesNotFitEndsTheSaveAndLeavesTheOldFileWhole)
{
    ResetScore();
    const QByteArray cleared = fileBytes();
    fill(1, 20, 1);
    strScore(5, 2, 1) = QString(29, QLatin1Char('x')); // record 29
    EXPECT_EXIT((answerTheMessageBox(), SaveScore()), testing::ExitedWithCode(0), "Highscore-Daten");
    EXPECT_EQ(fileBytes(), cleared);
}

// ---- crashes and a second copy of the game --------------------------------

// Whether a system call about to run may change a file.
bool changesAFile(const user_regs_struct &regs)
{
    switch (regs.orig_rax) {
    case SYS_write: case SYS_pwrite64: case SYS_writev: case SYS_pwritev: case SYS_pwritev2:
    case SYS_rename: case SYS_renameat: case SYS_renameat2: case SYS_truncate: case SYS_ftruncate:
    case SYS_unlink: case SYS_unlinkat: case SYS_fsync: case SYS_fdatasync: case SYS_fchmod:
        return true;
    case SYS_open:
        return regs.rsi & (O_CREAT | O_TRUNC);
    case SYS_openat:
        return regs.rdx & (O_CREAT | O_TRUNC);
    default:
        return false;
    }
}

// Runs work in a child process and kills it just before its killAt-th call
// that may change a file. True when it was killed, false when it ran to its
// end first.
bool killedAtWrite(const std::function<void()> &work, int killAt)
{
    const pid_t child = fork();
    if (child == 0) {
        ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        raise(SIGSTOP);
        work();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    int seen = 0;
    bool entering = false;
    int signal = 0;
    for (;;) {
        ptrace(PTRACE_SYSCALL, child, nullptr, signal);
        signal = 0;
        if (waitpid(child, &status, 0) != child || WIFEXITED(status) || WIFSIGNALED(status))
            return false;
        if (!WIFSTOPPED(status))
            continue;
        if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
            signal = WSTOPSIG(status) == SIGSTOP ? 0 : WSTOPSIG(status);
            continue;
        }
        entering = !entering;
        user_regs_struct regs{};
        if (!entering || ptrace(PTRACE_GETREGS, child, nullptr, &regs) != 0 || !changesAFile(regs))
            continue;
        if (++seen == killAt) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return true;
        }
    }
}

TEST_F(TopTen, ASaveKilledAtAnyOfItsWritesLeavesTheOldFileOrTheNewOneWhole)
{
    fill(1, 20, 1);
    fill(2, 40, 1);
    fill(3, 60, 1);
    SaveScore();
    const QByteArray tail = "bytes beyond record 60";
    const QByteArray old = fileBytes() + tail;
    fill(1, 25, 2);
    strScore(1, 2, 1) = QStringLiteral("Neuer Erster");
    strScore(7, 3, 2) = QStringLiteral("?");
    const QByteArray neu = imageOfTable() + tail; // the file never gets shorter

    int kills = 0;
    for (int killAt = 1;; ++killAt) {
        SCOPED_TRACE(killAt);
        writeFile(old);
        ASSERT_TRUE(QFile(strScoreFile).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        const bool killed = killedAtWrite([] { SaveScore(); }, killAt);
        const QByteArray after = fileBytes();
        EXPECT_TRUE(after == old || after == neu) << "a mix of old and new after " << killAt - 1 << " writes";
        if (!killed) {
            EXPECT_EQ(after, neu);
            break;
        }
        ++kills;
        ASSERT_LT(killAt, 1000);
    }
    EXPECT_GE(kills, 1);
    // The last save ran to its end: same permissions, and whatever a killed
    // save left beside the file is gone.
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(strScoreFile).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(folder.entryList(QDir::Files | QDir::Hidden), QStringList({QStringLiteral("Score.hsc"), QStringLiteral("Score.hsc.lock")}));
}

TEST_F(TopTen, TwoCopiesFilingResultsAtOnceKeepEveryResult)
{
    ResetScore();
    LoadScore(); // both copies read the cleared table at their start
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    QList<pid_t> copies;
    for (int copy = 1; copy <= 2; ++copy) {
        const pid_t pid = fork();
        if (pid == 0) {
            char go = 0;
            if (read(ready[0], &go, 1) != 1)
                _exit(2);
            for (int i = 0; i < 5; ++i)
                InsertScore(QStringLiteral("Kopie %1 Spiel %2").arg(copy).arg(i), static_cast<std::int16_t>(10 * copy + i));
            _exit(0);
        }
        copies.append(pid);
    }
    ASSERT_EQ(write(ready[1], "gg", 2), 2);
    for (const pid_t pid : copies) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    close(ready[0]);
    close(ready[1]);

    LoadScore();
    for (int copy = 1; copy <= 2; ++copy)
        for (int i = 0; i < 5; ++i) {
            const int place = 5 * (copy - 1) + i + 1;
            EXPECT_EQ(strScore(place, 2, 1), QStringLiteral("Kopie %1 Spiel %2").arg(copy).arg(i)) << place;
            EXPECT_EQ(strScore(place, 2, 2), QString::number(10 * copy + i)) << place;
        }
    // The table in memory is the file's after a result is filed, and the
    // place is the place in it.
    strScore(1, 2, 1) = QStringLiteral("stale");
    EXPECT_EQ(InsertScore(QStringLiteral("Zuletzt"), 12), 3);
    EXPECT_EQ(strScore(1, 2, 1), QStringLiteral("Kopie 1 Spiel 0"));
    EXPECT_EQ(imageOfTable(), fileBytes());
}

// In a child process: what LoadScore made of a file that is no plain file.
void loadAndReportWithin30s()
{
    alarm(30); // a hang ends the child with a signal
    loadAndReport();
}

TEST_F(TopTenDeathTest, ANamedPipeOrADeviceReadsAsAClearedTableWithoutWaiting)
{
    ASSERT_EQ(mkfifo(QFile::encodeName(strScoreFile).constData(), 0600), 0);
    EXPECT_EXIT(loadAndReportWithin30s(), testing::ExitedWithCode(0),
                "cannot read .*Score.hsc .*not a plain file.*cleared\n.*\\[unbekannt \\?\\] \\[unbekannt \\?\\] \\[\\?\\]");
    QFile::remove(strScoreFile);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), strScoreFile));
    EXPECT_EXIT(loadAndReportWithin30s(), testing::ExitedWithCode(0), "\\[unbekannt \\?\\] \\[unbekannt \\?\\] \\[\\?\\]");
    // Nor is it replaced: a save into it fails with the Part's message.
    EXPECT_EXIT((alarm(30), answerTheMessageBox(), ResetScore()), testing::ExitedWithCode(0),
                "not a plain file\n.*\\[Murvel\\] \\[Es trat ein Fehler beim Erstellen der Datei auf!");
    EXPECT_EQ(QFileInfo(strScoreFile).symLinkTarget(), QStringLiteral("/dev/zero"));
}

} // namespace
