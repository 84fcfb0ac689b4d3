// The splash as the game draws it, for the end-to-end test to compare with
// what the screen showed: the window grabbed into the PNG file named by the
// argument, and its version label's caption on standard output.
#include "frmStart.h"

#include "runtime/label.h"

#include <QApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2)
        return 2;
    QCoreApplication::setApplicationVersion(QStringLiteral(MURVEL_VERSION));
    frmStart &splash = frmStart::Instance();
    QWidget *window = splash.Window();
    const auto *version = window->findChild<Label *>(QStringLiteral("lblVersion"));
    if (!version || !window->grab().save(QString::fromLocal8Bit(argv[1]), "PNG"))
        return 1;
    std::printf("%s\n", version->Caption().toUtf8().constData());
    splash.Unload();
    return 0;
}
