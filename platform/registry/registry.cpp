#include "registry/registry.h"
#include "runtime/plainfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QMutex>
#include <QStringDecoder>

#include <sys/stat.h>

#include <cstdio>
#include <functional>

namespace registry {

namespace {

const QByteArray kHeader = "MURVEL-REGISTRY 1";
const QString kRootName = QStringLiteral("HKEY_CURRENT_USER");
const QStringList kClassesPrefix = {QStringLiteral("Software"), QStringLiteral("Classes")};

// Names compare without case; the map keys are the folded names.
QString fold(const QString &name) { return name.toCaseFolded(); }

struct Node {
    QString name;
    QMap<QString, Node> children;
    QMap<QString, std::pair<QString, QString>> values; // folded -> (name, text)
};

Node *findNode(Node &root, const QStringList &parts)
{
    Node *node = &root;
    for (const QString &part : parts) {
        auto it = node->children.find(fold(part));
        if (it == node->children.end())
            return nullptr;
        node = &it.value();
    }
    return node;
}

const Node *findNode(const Node &root, const QStringList &parts)
{
    return findNode(const_cast<Node &>(root), parts);
}

Node &makeNode(Node &root, const QStringList &parts)
{
    Node *node = &root;
    for (const QString &part : parts) {
        Node &child = node->children[fold(part)];
        if (child.name.isEmpty())
            child.name = part;
        node = &child;
    }
    return *node;
}

// ---- the file format -------------------------------------------------------
// MURVEL-REGISTRY 1
//
// [HKEY_CURRENT_USER\Software\Classes\CLSID\{...}\InprocServer32]
// @="/path/to/library.so"
// "ThreadingModel"="Apartment"

// Strict UTF-8 that keeps a leading U+FEFF: it belongs to the text.
std::optional<QString> decodeUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QByteArray quote(const QString &text)
{
    QByteArray out = "\"";
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += c; break;
        }
    }
    return out + '"';
}

// Reads a quoted string starting at line[pos]; on success pos is past it.
bool unquote(const QByteArray &line, qsizetype &pos, QString *text)
{
    if (pos >= line.size() || line[pos] != '"')
        return false;
    QByteArray bytes;
    for (++pos; pos < line.size(); ++pos) {
        const char c = line[pos];
        if (c == '"') {
            ++pos;
            // Invalid UTF-8 is damage, not text to guess at.
            const std::optional<QString> decoded = decodeUtf8(bytes);
            if (decoded)
                *text = *decoded;
            return decoded.has_value();
        }
        if (c == '\\') {
            if (++pos >= line.size())
                return false;
            switch (line[pos]) {
            case '\\': bytes += '\\'; break;
            case '"': bytes += '"'; break;
            case 'r': bytes += '\r'; break;
            case 'n': bytes += '\n'; break;
            default: return false;
            }
        } else {
            bytes += c;
        }
    }
    return false;
}

// Text the file can hold and give back as it was: UTF-16 without a lone
// surrogate, which UTF-8 cannot carry.
bool storable(const QString &text)
{
    return text.isValidUtf16();
}

bool validKeyName(const QString &name)
{
    return !name.isEmpty() && !name.contains(u'\\') && !name.contains(u'\n') && !name.contains(u'\r') && storable(name);
}

// Parses a whole file, keeping every key and value that reads well: a line
// that does not is skipped (a key's line with everything under it), and
// *badLine says where the first one stands (0: none).
void parse(const QByteArray &data, Node *root, int *badLine)
{
    const QList<QByteArray> lines = data.split('\n');
    *badLine = 0;
    const auto damage = [badLine](int number) {
        if (*badLine == 0)
            *badLine = number;
    };
    int first = 0;
    if (!lines.isEmpty() && lines[0].trimmed() == kHeader)
        first = 1;
    else
        damage(1);
    Node *current = nullptr;
    bool inBadSection = false; // the values of a key that cannot be read go with it
    for (int i = first; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        if (line.startsWith('[')) {
            current = nullptr;
            inBadSection = true;
            if (!line.endsWith(']')) {
                damage(i + 1);
                continue;
            }
            const std::optional<QString> path = decodeUtf8(line.mid(1, line.size() - 2));
            QStringList parts = path ? path->split(u'\\') : QStringList();
            bool valid = path && parts.takeFirst() == kRootName;
            for (const QString &part : parts)
                valid = valid && validKeyName(part);
            if (!valid) {
                damage(i + 1);
                continue;
            }
            current = &makeNode(*root, parts);
            inBadSection = false;
            continue;
        }
        QString name;
        qsizetype pos = 0;
        if (line.startsWith('@'))
            pos = 1;
        else if (!unquote(line, pos, &name) || name.isEmpty())
            pos = -1;
        QString text;
        if (pos < 0 || pos >= line.size() || line[pos] != '=' || !unquote(line, ++pos, &text) || pos != line.size()) {
            damage(i + 1);
            continue;
        }
        if (current)
            current->values[fold(name)] = {name, text};
        else if (!inBadSection)
            damage(i + 1); // a value outside any key
    }
}

// The root's own values stand under [HKEY_CURRENT_USER]; a root without any
// writes no section, as before it could hold values.
void serialise(const Node &node, const QString &path, QByteArray *out)
{
    if (!path.isEmpty() || !node.values.isEmpty()) {
        const QString section = path.isEmpty() ? kRootName : path;
        *out += '[' + section.toUtf8() + "]\n";
        for (const auto &[name, text] : node.values) {
            *out += name.isEmpty() ? QByteArray("@") : quote(name);
            *out += '=' + quote(text) + '\n';
        }
        *out += '\n';
    }
    const QString prefix = path.isEmpty() ? kRootName : path;
    for (const Node &child : node.children)
        serialise(child, prefix + u'\\' + child.name, out);
}

// ---- the store -------------------------------------------------------------

// What identifies one version of the file: an atomic replace makes a new inode.
struct FileStamp {
    bool exists = false;
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    long long mtimeNs = 0;
    bool operator==(const FileStamp &) const = default;
};

FileStamp stampOf(const QString &path)
{
    struct stat st;
    FileStamp stamp;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return stamp;
    stamp.exists = true;
    stamp.dev = st.st_dev;
    stamp.ino = st.st_ino;
    stamp.size = st.st_size;
    stamp.mtimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    return stamp;
}

void warn(const QString &text) { std::fprintf(stderr, "registry: %s\n", qPrintable(text)); }

struct Loaded {
    Node root;
    bool damaged = false;
    int badLine = 0;
    QString unreadable; // why a file that is there could not be read (no permission, a folder, too large)
};

// No real registry comes near this; a larger file is not read, and so
// never replaced.
constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

Loaded load(const QString &path)
{
    Loaded result;
    const plainfile::ReadResult file = plainfile::read(path, kMaxFileSize, plainfile::BeyondLimit::Refuse);
    if (file.status != plainfile::ReadResult::Read) {
        result.unreadable = file.why;
        return result;
    }
    parse(file.bytes, &result.root, &result.badLine);
    result.damaged = result.badLine != 0;
    return result;
}

class Store {
public:
    // Reads under the store's mutex: call f with the current tree.
    template <class F>
    auto read(F f)
    {
        QMutexLocker locker(&m_mutex);
        refresh();
        return f(static_cast<const Node &>(m_cache.root));
    }

    // Why the file that is there cannot be read; empty when it can.
    QString unreadable()
    {
        QMutexLocker locker(&m_mutex);
        refresh();
        return m_cache.unreadable;
    }

    // One transaction: change returns whether it changed anything.
    bool modify(const std::function<bool(Node &)> &change)
    {
        QMutexLocker locker(&m_mutex);
        const QString path = storePath();
        if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
            warn(QStringLiteral("cannot create the folder of %1").arg(path));
            return false;
        }
        plainfile::Lock lock(path);
        QString why;
        if (!lock.acquire(10000, &why)) {
            warn(why + QStringLiteral("; nothing was written"));
            return false;
        }
        Loaded fresh = load(path);
        if (!fresh.unreadable.isEmpty()) {
            // What it holds is unknown: replacing it could lose everything.
            warn(QStringLiteral("cannot read %1: %2; nothing was written").arg(path, fresh.unreadable));
            return false;
        }
        if (!change(fresh.root))
            return true;
        if (fresh.damaged && !keepDamaged(path, fresh.badLine))
            return false;
        QByteArray data = kHeader + "\n\n";
        serialise(fresh.root, QString(), &data);
        if (plainfile::replace(path, data, &why) != plainfile::Replaced::Yes) {
            warn(why + QStringLiteral("; nothing was written"));
            return false;
        }
        m_path = path;
        m_stamp = stampOf(path);
        m_cache = Loaded{std::move(fresh.root), false, 0, QString()};
        return true;
    }

private:
    void refresh()
    {
        const QString path = storePath();
        const FileStamp stamp = stampOf(path);
        if (path == m_path && stamp == m_stamp)
            return;
        m_path = path;
        m_stamp = stamp;
        m_cache = load(path);
        if (!m_cache.unreadable.isEmpty())
            warn(QStringLiteral("cannot read %1: %2; it reads as empty").arg(path, m_cache.unreadable));
        if (m_cache.damaged)
            warn(QStringLiteral("%1 is damaged (line %2): what cannot be read is skipped").arg(path).arg(m_cache.badLine));
    }

    // A damaged file still holds what someone may want back: keep a copy.
    static bool keepDamaged(const QString &path, int badLine)
    {
        const QString stem = path + QStringLiteral(".damaged-")
                             + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
        QString backup = stem;
        for (int n = 2; QFile::exists(backup); ++n)
            backup = stem + u'-' + QString::number(n);
        if (!QFile::copy(path, backup)) {
            warn(QStringLiteral("%1 is damaged and cannot be kept as %2; it is left as it is").arg(path, backup));
            return false;
        }
        warn(QStringLiteral("%1 was damaged (line %2); it is kept as %3 and replaced by what could be read of it")
                 .arg(path)
                 .arg(badLine)
                 .arg(backup));
        return true;
    }

    QMutex m_mutex;
    QString m_path;
    FileStamp m_stamp;
    Loaded m_cache;
};

Store &store()
{
    static Store instance;
    return instance;
}

} // namespace

QString unreadableReason()
{
    return store().unreadable();
}

QString storePath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/murvel/registry.reg");
}

Key::Key(Root root, const QString &path)
{
    if (root == Root::ClassesRoot)
        m_parts = kClassesPrefix;
    *this = subKey(path);
}

Key Key::subKey(const QString &relativePath) const
{
    Key key = *this;
    if (relativePath.isEmpty())
        return key;
    for (const QString &part : relativePath.split(u'\\')) {
        if (!validKeyName(part))
            key.m_valid = false;
        key.m_parts.append(part);
    }
    return key;
}

QString Key::fullPath() const { return (QStringList{kRootName} + m_parts).join(u'\\'); }

bool Key::exists() const
{
    return m_valid && store().read([&](const Node &root) { return findNode(root, m_parts) != nullptr; });
}

bool Key::create() const
{
    if (!m_valid)
        return false;
    return store().modify([&](Node &root) {
        if (findNode(root, m_parts))
            return false;
        makeNode(root, m_parts);
        return true;
    }) && exists();
}

bool Key::remove() const
{
    if (!m_valid || m_parts.isEmpty())
        return false;
    bool found = false;
    const bool written = store().modify([&](Node &root) {
        Node *parent = findNode(root, m_parts.mid(0, m_parts.size() - 1));
        found = parent && parent->children.remove(fold(m_parts.last())) > 0;
        return found;
    });
    return written && found;
}

std::optional<QString> Key::value(const QString &name) const
{
    if (!m_valid)
        return std::nullopt;
    return store().read([&](const Node &root) -> std::optional<QString> {
        const Node *node = findNode(root, m_parts);
        if (!node)
            return std::nullopt;
        auto it = node->values.find(fold(name));
        if (it == node->values.end())
            return std::nullopt;
        return it->second;
    });
}

bool Key::setValue(const QString &name, const QString &text) const
{
    if (!m_valid || !storable(name) || !storable(text))
        return false;
    return store().modify([&](Node &root) {
        Node &node = makeNode(root, m_parts);
        const auto it = node.values.constFind(fold(name));
        if (it != node.values.constEnd() && it->first == name && it->second == text)
            return false;
        node.values[fold(name)] = {name, text};
        return true;
    });
}

bool Key::removeValue(const QString &name) const
{
    if (!m_valid)
        return false;
    bool found = false;
    const bool written = store().modify([&](Node &root) {
        Node *node = findNode(root, m_parts);
        found = node && node->values.remove(fold(name)) > 0;
        return found;
    });
    return written && found;
}

QStringList Key::subKeyNames() const
{
    if (!m_valid)
        return {};
    return store().read([&](const Node &root) {
        QStringList names;
        if (const Node *node = findNode(root, m_parts))
            for (const Node &child : node->children)
                names.append(child.name);
        return names;
    });
}

QStringList Key::valueNames() const
{
    if (!m_valid)
        return {};
    return store().read([&](const Node &root) {
        QStringList names;
        if (const Node *node = findNode(root, m_parts))
            for (const auto &entry : node->values)
                names.append(entry.first);
        return names;
    });
}

} // namespace registry
