#include "support/test_env.h"

#include <QCoreApplication>
#include <QDir>

namespace testenv {

QString configHome()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME");
}

QString buildDir()
{
    // Test binaries live in <build>/tests.
    QDir dir(QCoreApplication::applicationDirPath());
    dir.cdUp();
    return dir.absolutePath();
}

} // namespace testenv
