// The runtime's files by number: random-access records, text lines, errors.
#include "runtime/error.h"
#include "runtime/files.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

int errorOf(const std::function<void()> &statement)
{
    try {
        statement();
    } catch (const RuntimeError &error) {
        return error.Number();
    }
    return 0;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class Files : public testing::Test {
protected:
    void TearDown() override { Close(); }
    QString path(const char *name) const { return folder.filePath(QString::fromLatin1(name)); }
    QTemporaryDir folder;
};

TEST_F(Files, RecordsHoldALengthAndTheTextInTheAnsiCodePage)
{
    const std::int16_t n = FreeFile();
    Open(path("r.dat"), OpenMode::Random, n, 12);
    EXPECT_NE(FreeFile(), n);
    Put(n, 2, QStringLiteral("Größe"));
    Put(n, 1, QString());
    QString text = QStringLiteral("old");
    Get(n, 2, text);
    EXPECT_EQ(text, QStringLiteral("Größe"));
    Get(n, 3, text); // beyond the end
    EXPECT_EQ(text, QString());
    Close(n);
    EXPECT_EQ(contents(path("r.dat")), QByteArray("\0\0\0\0\0\0\0\0\0\0\0\0\x05\0Gr\xF6\xDF" "e\0\0\0\0\0", 24));
    EXPECT_EQ(FreeFile(), n);
}

TEST_F(Files, WritingARecordNeverShortensTheFile)
{
    QFile file(path("long.dat"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(100, 'z'));
    file.close();
    Open(path("long.dat"), OpenMode::Random, 1, 10);
    Put(1, 1, QStringLiteral("ab"));
    Close(1);
    const QByteArray bytes = contents(path("long.dat"));
    EXPECT_EQ(bytes.size(), 100);
    EXPECT_EQ(bytes.left(11), QByteArray("\x02\0ab\0\0\0\0\0\0z", 11));
}

TEST_F(Files, RecordErrorsCarryTheRuntimesNumbers)
{
    Open(path("e.dat"), OpenMode::Random, 3, 6);
    EXPECT_EQ(errorOf([] { Put(3, 1, QStringLiteral("12345")); }), 59); // 2 + 5 > 6
    EXPECT_EQ(errorOf([] { Put(3, 0, QStringLiteral("a")); }), 63);
    EXPECT_EQ(errorOf([] { Put(4, 1, QStringLiteral("a")); }), 52);
    EXPECT_EQ(errorOf([&] { Open(path("x.dat"), OpenMode::Random, 3, 6); }), 55);
    EXPECT_EQ(errorOf([] { QString line; LineInput(3, line); }), 54);
    QFile raw(path("e.dat"));
    ASSERT_TRUE(raw.open(QIODevice::WriteOnly));
    raw.write(QByteArray("\x09\0abcd", 6)); // a length the record cannot hold
    raw.close();
    EXPECT_EQ(errorOf([] { QString text; Get(3, 1, text); }), 59);
    EXPECT_EQ(errorOf([&] { Open(path("missing/x.dat"), OpenMode::Random, 5, 6); }), 76);
    EXPECT_EQ(errorOf([&] { Open(folder.path(), OpenMode::Random, 5, 6); }), 75);
    EXPECT_EQ(errorOf([&] { Open(path("none.txt"), OpenMode::Input, 5); }), 53);
}

TEST_F(Files, ARecordFileOpenedToReadIsReadButNeverWritten)
{
    EXPECT_EQ(errorOf([&] { Open(path("r.dat"), OpenMode::RandomRead, 1, 6); }), 53);
    EXPECT_FALSE(QFile::exists(path("r.dat"))) << "reading creates nothing";
    Open(path("r.dat"), OpenMode::Random, 1, 6);
    Put(1, 2, QStringLiteral("xy"));
    Close(1);
    const QByteArray before = contents(path("r.dat"));

    Open(path("r.dat"), OpenMode::RandomRead, 1, 6);
    QString text;
    Get(1, 2, text);
    EXPECT_EQ(text, QStringLiteral("xy"));
    EXPECT_EQ(errorOf([] { Put(1, 1, QStringLiteral("a")); }), 75);
    EXPECT_EQ(errorOf([] { Put(1, 5, QStringLiteral("a")); }), 75);
    EXPECT_EQ(errorOf([] { QString line; LineInput(1, line); }), 54);
    Close(1);
    EXPECT_EQ(contents(path("r.dat")), before);
}

TEST_F(Files, TextFilesAreReadAndWrittenLineByLine)
{
    Open(path("t.txt"), OpenMode::Output, 1);
    Print(1, QStringLiteral("Jürgen"));
    Print(1, QString());
    Close(1);
    Open(path("t.txt"), OpenMode::Append, 1);
    Print(1, QStringLiteral("Karl"));
    Close(1);
    EXPECT_EQ(contents(path("t.txt")), QByteArray("J\xFCrgen\r\n\r\nKarl\r\n"));

    QFile mixed(path("m.txt"));
    ASSERT_TRUE(mixed.open(QIODevice::WriteOnly));
    mixed.write("eins\r\nzwei\ndrei\rvier");
    mixed.close();
    Open(path("m.txt"), OpenMode::Input, 2);
    QStringList lines;
    while (!Eof(2)) {
        QString line;
        LineInput(2, line);
        lines << line;
    }
    EXPECT_EQ(lines, QStringList({"eins", "zwei", "drei", "vier"}));
    EXPECT_EQ(errorOf([] { QString line; LineInput(2, line); }), 62);
}

} // namespace
