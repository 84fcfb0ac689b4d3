// The registry file from outside: whatever it holds, a value set afterwards
// is in the file and reads back identical, every value the file held before
// is still there, and a damaged file is kept aside as it was.
#include "fuzz_check.h"

#include "registry/registry.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

using registry::Key;

// Every value beneath key: "path" -> (value name -> text), paths as the
// file names them.
using Values = QMap<QString, QMap<QString, QString>>;

void collect(const Key &key, const QString &path, Values &out, int depth = 0)
{
    FUZZ_CHECK(depth < 10000);
    for (const QString &name : key.valueNames()) {
        const std::optional<QString> text = key.value(name);
        FUZZ_CHECK(text.has_value());
        out[path][name] = *text;
    }
    for (const QString &child : key.subKeyNames())
        collect(key.subKey(child), path.isEmpty() ? child : path + u'\\' + child, out, depth + 1);
}

Values everything()
{
    Values all;
    collect(Key::currentUser(), QString(), all);
    return all;
}

QString utf16(const QByteArray &bytes)
{
    return QString(reinterpret_cast<const QChar *>(bytes.constData()), bytes.size() / 2);
}

bool usableKeyName(const QString &name)
{
    return !name.isEmpty() && !name.contains(u'\\') && !name.contains(u'\r') && !name.contains(u'\n') && name.isValidUtf16();
}

// Each run uses the other of two folders, so the store reads the file afresh
// instead of trusting a copy of the same age and size.
QString nextFolder()
{
    static QTemporaryDir folders[2];
    static int turn = 0;
    turn ^= 1;
    const QString folder = folders[turn].path();
    QDir(folder + QStringLiteral("/murvel")).removeRecursively();
    QDir().mkpath(folder + QStringLiteral("/murvel"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder));
    return folder + QStringLiteral("/murvel");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::Input in(data, size);
    const std::uint8_t where = in.byte() % 3;
    const QString keyName = utf16(in.take(2 * (in.byte() % 8)));
    const QString name = utf16(in.take(2 * (in.byte() % 8)));
    const QString text = utf16(in.take(2 * (in.byte() % 16)));
    const QByteArray file = in.rest();

    const QString folder = nextFolder();
    const QString path = folder + QStringLiteral("/registry.reg");
    {
        QFile f(path);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly) && f.write(file) == file.size());
    }
    FUZZ_CHECK(registry::storePath() == path);

    const Values before = everything();
    const QString keyPath = where == 0 ? QString() : where == 1 ? QStringLiteral("Software") : QStringLiteral("Software\\") + keyName;
    const Key key = Key::currentUser(keyPath);
    const bool storable = name.isValidUtf16() && text.isValidUtf16() && (where != 2 || usableKeyName(keyName));
    const bool written = key.setValue(name, text);
    FUZZ_CHECK(written == storable);
    {
        QFile f(path);
        FUZZ_CHECK(f.open(QIODevice::ReadOnly));
        if (!written)
            FUZZ_CHECK(f.readAll() == file); // nothing written, nothing changed
    }
    if (!written)
        return 0;
    const QStringList kept = QDir(folder).entryList({QStringLiteral("registry.reg.damaged-*")});
    FUZZ_CHECK(kept.size() <= 1);
    if (!kept.isEmpty()) {
        QFile f(folder + u'/' + kept.first());
        FUZZ_CHECK(f.open(QIODevice::ReadOnly) && f.readAll() == file);
    }

    // The file alone, read by a store that has never seen it.
    const QByteArray stored = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    const QString otherFolder = nextFolder();
    {
        QFile f(otherFolder + QStringLiteral("/registry.reg"));
        FUZZ_CHECK(f.open(QIODevice::WriteOnly) && f.write(stored) == stored.size());
    }
    FUZZ_CHECK(key.value(name) == text);
    const Values after = everything();
    for (auto k = before.cbegin(); k != before.cend(); ++k)
        for (auto v = k.value().cbegin(); v != k.value().cend(); ++v) {
            const bool replaced = k.key().compare(keyPath, Qt::CaseInsensitive) == 0
                                  && v.key().compare(name, Qt::CaseInsensitive) == 0;
            if (!replaced)
                FUZZ_CHECK(Key::currentUser(k.key()).value(v.key()) == v.value());
        }
    int count = 0;
    for (const auto &values : after)
        count += static_cast<int>(values.size());
    int countBefore = 0;
    for (const auto &values : before)
        countBefore += static_cast<int>(values.size());
    FUZZ_CHECK(count == countBefore || count == countBefore + 1);
    return 0;
}
