#include "moduleInstance.h"

#include <QFileInfo>
#include <QString>

#include <dlfcn.h>

namespace Pellwick {

namespace {

const Dl_info &libraryInfo()
{
    static const Dl_info info = [] {
        Dl_info i{};
        dladdr(reinterpret_cast<void *>(&moduleInstance), &i);
        return i;
    }();
    return info;
}

} // namespace

HINSTANCE moduleInstance() { return libraryInfo().dli_fbase; }

QString modulePath()
{
    const char *file = libraryInfo().dli_fname;
    return file ? QFileInfo(QString::fromLocal8Bit(file)).absoluteFilePath() : QString();
}

} // namespace Pellwick
