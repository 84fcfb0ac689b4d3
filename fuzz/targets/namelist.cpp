// "Combo.txt" from outside: every line is one entry (CR LF, CR or LF end
// it; a final line end adds none), however many there are; the list saved
// is each entry and CR LF and loads back the same; a search finds the first
// entry that fits, or none when none does.
#include "fuzz_check.h"

#include "base/ansi.h"
#include "clsIntelliCombo.h"
#include "runtime/combobox.h"
#include "user32/user32.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

QList<QByteArray> linesOf(QByteArray bytes)
{
    bytes.replace("\r\n", "\n");
    bytes.replace('\r', '\n');
    if (bytes.isEmpty())
        return {};
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    return bytes.split('\n');
}

QStringList entries(const ComboBox &combo)
{
    QStringList list;
    for (int32_t i = 0; i < combo.ListCount(); ++i)
        list << combo.List(i);
    return list;
}

void checkSearch(ComboBox &combo, const QString &text, bool exact)
{
    const QByteArray ansiText = ansi::fromUnicode(text);
    const LRESULT found = SendMessageA(combo.hWnd(), exact ? CB_FINDSTRINGEXACT : CB_FINDSTRING, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(ansiText.constData()));
    const QString wanted = ansi::toUnicode(ansiText.constData()); // the message carries it up to a NUL
    auto fits = [&](int32_t i) {
        return exact ? combo.List(i).compare(wanted, Qt::CaseInsensitive) == 0
                     : combo.List(i).startsWith(wanted, Qt::CaseInsensitive);
    };
    FUZZ_CHECK(found == CB_ERR || (found >= 0 && found < combo.ListCount()));
    const int32_t until = found == CB_ERR ? combo.ListCount() : static_cast<int32_t>(found);
    for (int32_t i = 0; i < until; ++i)
        FUZZ_CHECK(!fits(i));
    if (found != CB_ERR)
        FUZZ_CHECK(fits(static_cast<int32_t>(found)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::needGuiApplication();
    static QTemporaryDir folder;
    static ComboBox combo;
    static clsIntelliCombo intelli;
    intelli.setCombo(&combo);
    const QString listFile = folder.filePath(QStringLiteral("Combo.txt"));
    const QString savedFile = folder.filePath(QStringLiteral("Saved.txt"));

    fuzz::Input in(data, size);
    const QString search = ansi::toUnicode(in.take(in.byte() % 8));
    const QByteArray bytes = in.rest();
    {
        QFile file(listFile);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(bytes) == bytes.size());
    }

    FUZZ_CHECK(intelli.Load(listFile));
    QStringList expected;
    for (const QByteArray &line : linesOf(bytes))
        expected << ansi::toUnicode(line);
    FUZZ_CHECK(combo.ListCount() == expected.size());
    FUZZ_CHECK(entries(combo) == expected);
    FUZZ_CHECK(combo.ListIndex() == -1);

    checkSearch(combo, search, false);
    checkSearch(combo, search, true);

    FUZZ_CHECK(intelli.Save(savedFile));
    QByteArray written;
    for (const QString &entry : expected)
        written += ansi::fromUnicode(entry) + "\r\n";
    QFile saved(savedFile);
    FUZZ_CHECK(saved.open(QIODevice::ReadOnly) && saved.readAll() == written);
    const QStringList before = entries(combo);
    FUZZ_CHECK(intelli.Load(savedFile));
    QStringList again;
    for (const QString &entry : before)
        again << ansi::toUnicode(ansi::fromUnicode(entry));
    FUZZ_CHECK(entries(combo) == again);
    return 0;
}
