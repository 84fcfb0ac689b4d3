#pragma once
// The per-user registry: a tree of keys, each holding named text values
// (the unnamed one is the key's default value). HKEY_CLASSES_ROOT is
// HKEY_CURRENT_USER\Software\Classes. Key and value names keep their case
// but compare without it; a key name may not contain a backslash, which
// separates the levels of a path.
//
// The whole registry is one file, $XDG_CONFIG_HOME/murvel/registry.reg
// (default ~/.config). Every change is one transaction on that file: under a
// lock file it is read afresh, changed and replaced atomically, so two
// processes writing at once lose nothing. In a damaged file every key and
// value that reads well is kept and only the damaged lines are skipped; the
// first change after that keeps the file beside as
// registry.reg.damaged-<time> and says so on stderr before the new file is
// written. A file that is there but cannot be read at all (no permission,
// not a plain file, larger than any real registry) reads as empty, and is
// never replaced: every change fails until it can be read again. Text that
// UTF-8 cannot carry (a lone surrogate) is refused, so what was written
// reads back as it was.
#include <QString>
#include <QStringList>

#include <optional>

namespace registry {

enum class Root {
    CurrentUser,
    ClassesRoot,
};

// Names a key; creating a Key reads or writes nothing.
class Key {
public:
    Key(Root root, const QString &path = QString());
    static Key currentUser(const QString &path = QString()) { return Key(Root::CurrentUser, path); }
    static Key classesRoot(const QString &path = QString()) { return Key(Root::ClassesRoot, path); }

    Key subKey(const QString &relativePath) const;
    // "HKEY_CURRENT_USER\Software\..." as it stands in the file.
    QString fullPath() const;

    bool exists() const;
    // Creates the key and every missing parent; true when it exists afterwards.
    bool create() const;
    // Removes the key with everything beneath it; false when it was not there
    // or the file could not be written.
    bool remove() const;

    // The value named name (empty = the default value), if it is set.
    std::optional<QString> value(const QString &name = QString()) const;
    // Sets a value, creating the key as needed.
    bool setValue(const QString &name, const QString &text) const;
    bool removeValue(const QString &name) const;

    QStringList subKeyNames() const;
    QStringList valueNames() const;

private:
    QStringList m_parts; // below HKEY_CURRENT_USER
    bool m_valid = true; // false for an unusable path (an empty level)
};

// Where the registry of this user lives.
QString storePath();

// Why the registry file cannot be read at all; empty when it can be read or
// is not there yet.
QString unreadableReason();

} // namespace registry
