// The name list file: one entry per line, CR LF, in UTF-8 or the ANSI code
// page; only a plain file, read within its limit.
#include "clsIntelliCombo.h"
#include "runtime/combobox.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <QElapsedTimer>

#include <csignal>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>

namespace {

class NameListTest : public ::testing::Test {
protected:
    void SetUp() override { intelli.setCombo(&combo); }

    QString path(const QString &name) const { return dir.filePath(name); }

    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray read(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QStringList entries() const
    {
        QStringList list;
        for (int32_t i = 0; i < combo.ListCount(); ++i)
            list << combo.List(i);
        return list;
    }

    QTemporaryDir dir;
    ComboBox combo;
    clsIntelliCombo intelli;
};

// A list longer than 16 bits can count: "Name00000" to "Name39999", CR LF each.
constexpr int32_t manyNames = 40000;
QByteArray manyNamesFile()
{
    QByteArray bytes;
    for (int32_t i = 0; i < manyNames; ++i)
        bytes += QByteArray("Name") + QByteArray::number(i).rightJustified(5, '0') + "\r\n";
    return bytes;
}

const QByteArray threeNames("Anna\r\nJ\xF6rg\r\n\xDClk\xFC"); // the last line has no line end

} // namespace

TEST_F(NameListTest, LoadTakesEveryLineTheLastOneWithoutLineEndToo)
{
    write("Combo.txt", threeNames);
    EXPECT_TRUE(intelli.Load(path("Combo.txt")));
    EXPECT_EQ(entries(), QStringList({"Anna", "Jörg", "Ülkü"}));
    EXPECT_EQ(combo.ListIndex(), -1) << "loading selects nothing";

    combo.setText("typed");
    EXPECT_TRUE(intelli.Load(path("Combo.txt"), true));
    EXPECT_EQ(entries(), QStringList({"Anna", "Jörg", "Ülkü", "Anna", "Jörg", "Ülkü"}));

    EXPECT_TRUE(intelli.Load(path("Combo.txt")));
    EXPECT_EQ(entries().size(), 3) << "without Append the list starts afresh";
    EXPECT_EQ(intelli.LastError(), 0);
}

TEST_F(NameListTest, EmptyLinesAreEntriesAndAFinalLineEndAddsNone)
{
    write("a.txt", "Eins\r\n\r\nDrei\r\n");
    EXPECT_TRUE(intelli.Load(path("a.txt")));
    EXPECT_EQ(entries(), QStringList({"Eins", "", "Drei"}));

    write("empty.txt", "");
    EXPECT_TRUE(intelli.Load(path("empty.txt")));
    EXPECT_EQ(combo.ListCount(), 0);

    // Files edited elsewhere may end their lines with LF or CR alone.
    write("unix.txt", "Eins\nZwei\rDrei\n");
    EXPECT_TRUE(intelli.Load(path("unix.txt")));
    EXPECT_EQ(entries(), QStringList({"Eins", "Zwei", "Drei"}));
}

TEST_F(NameListTest, AMissingFileFailsWithItsErrorNumberAndKeepsOrEmptiesTheListAsAsked)
{
    combo.AddItem("Alt");
    EXPECT_FALSE(intelli.Load(path("missing.txt"), true));
    EXPECT_EQ(intelli.LastError(), 53);
    EXPECT_EQ(entries(), QStringList({"Alt"}));

    EXPECT_FALSE(intelli.Load(path("missing.txt")));
    EXPECT_EQ(combo.ListCount(), 0);

    // A later success leaves the number of the last failure.
    write("ok.txt", "X\r\n");
    EXPECT_TRUE(intelli.Load(path("ok.txt")));
    EXPECT_EQ(intelli.LastError(), 53);

    // A folder is no file to read.
    EXPECT_FALSE(intelli.Load(dir.path()));
    EXPECT_NE(intelli.LastError(), 0);
}

TEST_F(NameListTest, SaveWritesEachEntryWithCrLfInTheAnsiCodePage)
{
    for (const char *name : {"Anna", "Jörg", "Ülkü"})
        combo.AddItem(QString::fromUtf8(name));
    EXPECT_TRUE(intelli.Save(path("out.txt")));
    EXPECT_EQ(read("out.txt"), QByteArray("Anna\r\nJ\xF6rg\r\n\xDClk\xFC\r\n"));

    EXPECT_TRUE(intelli.Save(path("out.txt"), true));
    EXPECT_EQ(read("out.txt").count("\r\n"), 6);

    combo.Clear();
    combo.AddItem("Neu");
    EXPECT_TRUE(intelli.Save(path("out.txt")));
    EXPECT_EQ(read("out.txt"), QByteArray("Neu\r\n")) << "without Append the content is replaced";

    combo.Clear();
    EXPECT_TRUE(intelli.Save(path("none.txt")));
    EXPECT_EQ(read("none.txt"), QByteArray());
}

TEST_F(NameListTest, SaveThenLoadGivesTheSameList)
{
    const QStringList names({"Anna", "", "Jörg Müller", "€uro", "ẞ kommt als ?"});
    for (const QString &n : names)
        combo.AddItem(n);
    ASSERT_TRUE(intelli.Save(path("rt.txt")));
    ASSERT_TRUE(intelli.Load(path("rt.txt")));
    QStringList expected = names;
    expected.last() = "? kommt als ?"; // the code page has no capital sharp s
    EXPECT_EQ(entries(), expected);
}

TEST_F(NameListTest, FailuresReturnFalseAndKeepTheirNumber)
{
    combo.AddItem("Anna");
    EXPECT_FALSE(intelli.Save(path("no/such/folder/x.txt")));
    EXPECT_EQ(intelli.LastError(), 75);

    write("keep.txt", "Alt\r\n");
    clsIntelliCombo unbound;
    EXPECT_EQ(unbound.Combo(), nullptr);
    EXPECT_FALSE(unbound.Save(path("x.txt")));
    EXPECT_EQ(unbound.LastError(), 91);
    EXPECT_FALSE(unbound.Load(path("keep.txt")));
    EXPECT_FALSE(QFile::exists(path("x.txt")));
}

TEST_F(NameListTest, ListsBeyond32767NamesLoadCompleteAndSaveWhole)
{
    const QByteArray bytes = manyNamesFile();
    write("many.txt", bytes);
    ASSERT_TRUE(intelli.Load(path("many.txt")));
    ASSERT_EQ(combo.ListCount(), manyNames);
    EXPECT_EQ(combo.List(manyNames - 1), "Name39999");

    // The first entry that begins with the typed text lies beyond 32767.
    combo.show();
    combo.setFocus();
    QTest::keyClicks(&combo, "name3999");
    EXPECT_EQ(combo.Text(), "Name39990");
    EXPECT_EQ(combo.ListIndex(), 39990);
    EXPECT_EQ(combo.SelStart(), 8);
    EXPECT_EQ(combo.SelLength(), 1);
    QTest::keyClicks(&combo, "9");
    EXPECT_EQ(combo.Text(), "Name39999");
    EXPECT_EQ(combo.ListIndex(), 39999);

    EXPECT_TRUE(intelli.Save(path("saved.txt")));
    EXPECT_EQ(read("saved.txt"), bytes);
    write("appended.txt", "Alt\r\n");
    EXPECT_TRUE(intelli.Save(path("appended.txt"), true));
    EXPECT_EQ(read("appended.txt"), "Alt\r\n" + bytes);
}

class NameListDeathTest : public NameListTest {
protected:
    // Saves in the child process and says there what became of it.
    void saveAndReport(bool append)
    {
        const bool saved = intelli.Save(path("keep.txt"), append);
        std::fprintf(stderr, "saved=%d error=%d kept=%d\n", saved, intelli.LastError(), read("keep.txt") == "Alt\r\n");
        std::exit(0);
    }
};

void limitFileSize(rlim_t bytes)
{
    std::signal(SIGXFSZ, SIG_IGN); // the write fails instead of ending the process
    const rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &limit);
}

// A save that cannot write the whole list reports it and leaves the old file
// as it was, whether it replaces or appends; the file size limit stands in
// for a full disk.
TEST_F(NameListDeathTest, ASaveThatCannotWriteTheWholeListFailsAndKeepsTheOldFile)
{
    write("many.txt", manyNamesFile());
    ASSERT_TRUE(intelli.Load(path("many.txt")));
    write("keep.txt", "Alt\r\n");
    for (const bool append : {false, true}) {
        EXPECT_EXIT((limitFileSize(64 * 1024), saveAndReport(append)), testing::ExitedWithCode(0),
                    "saved=0 error=57 kept=1")
            << (append ? "appending" : "replacing");
    }
}

// Permissions bind root too here: the check runs as an ordinary user.
TEST_F(NameListDeathTest, AReadOnlyFileIsNotReplaced)
{
    combo.AddItem("Anna");
    write("keep.txt", "Alt\r\n");
    QFile::setPermissions(path("keep.txt"), QFileDevice::ReadOwner | QFileDevice::ReadOther);
    testenv::openToOthers(dir.path());
    for (const bool append : {false, true}) {
        EXPECT_EXIT((testenv::withoutRootRights(), saveAndReport(append)), testing::ExitedWithCode(0),
                    "saved=0 error=75 kept=1")
            << (append ? "appending" : "replacing");
    }
}

TEST_F(NameListTest, AListInUtf8IsReadAsUtf8WithOrWithoutAByteOrderMarkAndSavedSo)
{
    const QStringList names({"Anna", "Jörg", "Łukasz", "日本"});
    const QByteArray utf8 = "Anna\r\nJ\xC3\xB6rg\r\n\xC5\x81ukasz\r\n\xE6\x97\xA5\xE6\x9C\xAC\r\n";
    const QByteArray bom = "\xEF\xBB\xBF";
    for (const QByteArray &file : {utf8, bom + utf8}) {
        const bool withBom = file.startsWith(bom);
        SCOPED_TRACE(withBom ? "with a byte-order mark" : "without");
        write("Combo.txt", file);
        ASSERT_TRUE(intelli.Load(path("Combo.txt")));
        EXPECT_EQ(entries(), names);
        combo.AddItem("Ülkü");
        ASSERT_TRUE(intelli.Save(path("Combo.txt")));
        EXPECT_EQ(read("Combo.txt"), file + "\xC3\x9Clk\xC3\xBC\r\n") << "saved in the encoding it was read in";
    }

    // Not valid UTF-8: the ANSI code page, as before, and saved in it again.
    write("Combo.txt", threeNames);
    ASSERT_TRUE(intelli.Load(path("Combo.txt")));
    EXPECT_EQ(entries(), QStringList({"Anna", "Jörg", "Ülkü"}));
    ASSERT_TRUE(intelli.Save(path("Combo.txt")));
    EXPECT_EQ(read("Combo.txt"), QByteArray(threeNames + "\r\n"));
}

// Loads in a child process within a bound, and says there what it got.
void loadAndReport(clsIntelliCombo &intelli, ComboBox &combo, const QString &file)
{
    alarm(30); // a hang ends the child with a signal
    const bool loaded = intelli.Load(file);
    std::fprintf(stderr, "loaded=%d error=%d count=%d\n", loaded, intelli.LastError(), combo.ListCount());
    std::exit(0);
}

using NameListReadDeathTest = NameListTest;

TEST_F(NameListReadDeathTest, APipeOrADeviceIsNoListAndNeverHangsTheDialog)
{
    ASSERT_EQ(mkfifo(QFile::encodeName(path("pipe.txt")).constData(), 0600), 0);
    EXPECT_EXIT(loadAndReport(intelli, combo, path("pipe.txt")), testing::ExitedWithCode(0),
                "cannot read .*pipe.txt: it is not a plain file\n.*loaded=0 error=75 count=0");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path("zero.txt")));
    EXPECT_EXIT(loadAndReport(intelli, combo, path("zero.txt")), testing::ExitedWithCode(0),
                "cannot read .*zero.txt: it is not a plain file\n.*loaded=0 error=75 count=0");
}

// A list larger than any real one costs bounded time and memory: its first
// 1 MiB is read, up to the last whole line, and at most 100,000 names.
TEST_F(NameListTest, OnlyTheFirstMegabyteAndHundredThousandNamesAreRead)
{
    {
        QFile file(path("huge.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const QByteArray line = QByteArray(98, 'x') + "\r\n"; // 100 bytes
        for (int i = 0; i < 200000; ++i) // 20 MB
            file.write(line);
    }
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(intelli.Load(path("huge.txt")));
    EXPECT_EQ(combo.ListCount(), 1024 * 1024 / 100) << "whole lines within the first MiB";
    EXPECT_EQ(combo.List(combo.ListCount() - 1), QString(98, QLatin1Char('x')));
    EXPECT_LT(clock.elapsed(), 20000);

    QByteArray many;
    for (int i = 0; i <= 100000; ++i)
        many += QByteArray::number(i % 10) + "\n"; // 200,002 bytes
    write("many.txt", many);
    ASSERT_TRUE(intelli.Load(path("many.txt")));
    EXPECT_EQ(combo.ListCount(), 100000);
}
