// The game's entry point: the application object, the start routine, and
// the event loop until the main window is unloaded.
#include "frmHaupt.h"
#include "modMain.h"

#include "com/runtime.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(MURVEL_VERSION));
    // The splash closes before the main window shows; only the main
    // window's unload ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&frmHaupt::Instance(), &Form::Unloaded, &app, &QCoreApplication::quit, Qt::QueuedConnection);

    CoInitialize(nullptr);
    modMain::Main();
    const int status = QApplication::exec();
    CoUninitialize();
    return status;
}
