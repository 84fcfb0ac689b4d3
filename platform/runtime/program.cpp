#include "runtime/program.h"
#include "runtime/files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

int versionPart(int index)
{
    const QStringList parts = QCoreApplication::applicationVersion().split(QLatin1Char('.'));
    return index < parts.size() ? parts[index].toInt() : 0;
}

} // namespace

namespace App {

QString Path()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QString EXEName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

int Major() { return versionPart(0); }
int Minor() { return versionPart(1); }
int Revision() { return versionPart(2); }

} // namespace App

void End()
{
    Close();
    std::fflush(nullptr);
    // Straight out: no destructors, no event loop, no window's unload.
    std::_Exit(0);
}
