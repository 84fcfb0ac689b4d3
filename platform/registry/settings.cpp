#include "registry/settings.h"

#include "registry/registry.h"
#include "runtime/error.h"

namespace {

registry::Key sectionKey(const QString &app, const QString &section)
{
    return registry::Key::currentUser(QStringLiteral("Software\\VB and VBA Program Settings"))
        .subKey(app)
        .subKey(section);
}

} // namespace

QString GetSetting(const QString &AppName, const QString &Section, const QString &Key, const QString &Default)
{
    if (AppName.isEmpty() || Section.isEmpty() || Key.isEmpty())
        return Default;
    return sectionKey(AppName, Section).value(Key).value_or(Default);
}

void SaveSetting(const QString &AppName, const QString &Section, const QString &Key, const QString &Setting)
{
    if (AppName.isEmpty() || Section.isEmpty() || Key.isEmpty() || AppName.contains(u'\\')
        || Section.contains(u'\\'))
        throw RuntimeError(errInvalidCall, QStringLiteral("Invalid procedure call or argument"));
    if (!sectionKey(AppName, Section).setValue(Key, Setting))
        throw RuntimeError(errPathFileAccess, QStringLiteral("Path/File access error"));
}
