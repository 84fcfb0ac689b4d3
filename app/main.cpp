// The game's entry point: the application object, the start routine, and
// the event loop until the main window is unloaded.
#include "frmHaupt.h"
#include "modMain.h"

#include "com/runtime.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

// Qt's own messages while it connects to the display are held back: when
// there is no display, one line of ours says what the player needs to know.
QStringList heldBack;

void holdBackWhileConnecting(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg) {
        const QByteArray display = qgetenv("DISPLAY");
        std::fprintf(stderr, "murvel: Murvel braucht eine grafische Anzeige, doch keine ist erreichbar (DISPLAY %s).\n",
                     display.isEmpty() ? "ist nicht gesetzt" : ("= " + display).constData());
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    }
    heldBack.append(qFormatLogMessage(type, context, message));
}

} // namespace

int main(int argc, char **argv)
{
    const QtMessageHandler qtsOwn = qInstallMessageHandler(holdBackWhileConnecting);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtsOwn);
    for (const QString &message : std::exchange(heldBack, {}))
        std::fprintf(stderr, "%s\n", qPrintable(message));
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
