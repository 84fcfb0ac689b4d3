// "Score.hsc" from outside: whatever the file holds, the table read from
// it is one the game can show and compare, a result files in at its place,
// the file written is the table record by record, never shorter than
// before, and it reads back as the table was.
#include "fuzz_check.h"

#include "base/ansi.h"
#include "modDeklarationen.h"
#include "modMain.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

using modDeklarationen::strScore;

constexpr int RecordSize = 30;
constexpr int FileSize = 60 * RecordSize;

// "?" or a count the dialog shows and a comparison takes as it is.
bool usableShots(const QString &text)
{
    if (text == QLatin1String("?"))
        return true;
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
    return digits.match(text).hasMatch() && text.toInt() >= 1 && text.toInt() <= 32767;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Places 1 to 10 of every class as the file holds them.
QStringList table()
{
    QStringList t;
    for (int s = 1; s <= 3; ++s)
        for (int p = 1; p <= 10; ++p)
            t << strScore(p, s, 1) << strScore(p, s, 2);
    return t;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::needGuiApplication(); // a failed save would show its message box
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Score.hsc"));
    modDeklarationen::strScoreFile = path;

    fuzz::Input in(data, size);
    const int s = 1 + in.byte() % 3;
    const int high = in.byte();
    const int low = in.byte();
    const auto shots = static_cast<std::int16_t>(1 + ((high << 8 | low) % 32767)); // what a game can count
    const QByteArray nameBytes = in.take(2 * (in.byte() % 24));
    const QString name(reinterpret_cast<const QChar *>(nameBytes.constData()), nameBytes.size() / 2);
    const QByteArray original = in.rest();
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(original) == original.size());
    }

    modMain::LoadScore();
    for (int c = 1; c <= 3; ++c)
        for (int p = 1; p <= 10; ++p) {
            FUZZ_CHECK(ansi::fromUnicode(strScore(p, c, 1)).size() <= 28);
            FUZZ_CHECK(usableShots(strScore(p, c, 2)));
        }
    FUZZ_CHECK(fileBytes(path) == original); // reading writes nothing

    const QStringList before = table();
    modMain::AktuelleGroesse = [s] { return static_cast<std::uint8_t>(s); };
    const std::uint8_t place = modMain::InsertScore(name, shots);
    modMain::AktuelleGroesse = nullptr;
    FUZZ_CHECK(place <= 10);
    if (place == 0) {
        FUZZ_CHECK(table() == before);
        FUZZ_CHECK(fileBytes(path) == original);
        return 0;
    }
    // Every shots entry of the class is a number here, or "?" for 1000.
    auto value = [](const QString &t) { return t == QLatin1String("?") ? 1000 : t.toInt(); };
    for (int p = 1; p < place; ++p)
        FUZZ_CHECK(value(strScore(p, s, 2)) < shots);
    FUZZ_CHECK(strScore(place, s, 2) == QString::number(shots));
    FUZZ_CHECK(ansi::fromUnicode(strScore(place, s, 1)) == ansi::fromUnicode(name).left(28));
    for (int p = place + 1; p <= 10; ++p)
        FUZZ_CHECK(strScore(p, s, 2) == before[20 * (s - 1) + 2 * (p - 2) + 1]);

    // The file: each place's two records, the length first, and whatever
    // lay behind the 60 records before.
    const QByteArray written = fileBytes(path);
    FUZZ_CHECK(written.size() == std::max<qsizetype>(original.size(), FileSize));
    FUZZ_CHECK(written.mid(FileSize) == original.mid(FileSize));
    const QStringList after = table();
    for (int n = 0; n < 60; ++n) {
        const QByteArray text = ansi::fromUnicode(after[n]);
        const QByteArray record = written.mid(n * RecordSize, RecordSize);
        FUZZ_CHECK(static_cast<unsigned char>(record[0]) == text.size() && record[1] == 0);
        FUZZ_CHECK(record.mid(2, text.size()) == text);
    }
    modMain::LoadScore();
    QStringList expected;
    for (const QString &t : after)
        expected << ansi::toUnicode(ansi::fromUnicode(t));
    FUZZ_CHECK(table() == expected);
    return 0;
}
