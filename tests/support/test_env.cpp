#include "support/test_env.h"

#include "com/runtime.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

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

bool registerPellwick()
{
    static const bool registered = [] {
        QProcess regsvr;
        regsvr.start(buildDir() + QStringLiteral("/regsvr"), {buildDir() + QStringLiteral("/libpellwick.so")});
        return regsvr.waitForFinished(30000) && regsvr.exitStatus() == QProcess::NormalExit && regsvr.exitCode() == 0;
    }();
    return registered && SUCCEEDED(CoInitialize(nullptr));
}

} // namespace testenv
