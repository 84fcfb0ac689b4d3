#include "support/test_env.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <grp.h>
#include <unistd.h>

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

void withoutRootRights()
{
    if (geteuid() != 0)
        return;
    constexpr uid_t nobody = 65534;
    if (setgroups(0, nullptr) != 0 || setgid(nobody) != 0 || setuid(nobody) != 0 || geteuid() != nobody) {
        std::fprintf(stderr, "cannot give up root rights\n");
        std::exit(3);
    }
}

void openToOthers(const QString &folder)
{
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                      | QFileDevice::ReadOther | QFileDevice::ExeOther | QFileDevice::ReadGroup
                                      | QFileDevice::ExeGroup);
}

} // namespace testenv
