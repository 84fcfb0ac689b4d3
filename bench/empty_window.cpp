// An empty Qt main window: the floor that a Qt program's start-up time and
// memory cannot go below, measured by bench/startup.sh as the game is.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Leer"));
    window.resize(700, 500);
    window.show();
    return app.exec();
}
