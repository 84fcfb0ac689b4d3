#include "fuzz_check.h"

#include <QApplication>
#include <QCoreApplication>

namespace fuzz {

namespace {
int argc = 1;
char name[] = "fuzz";
char *argv[] = {name, nullptr};
} // namespace

void needGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
}

void needCoreApplication()
{
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

} // namespace fuzz
