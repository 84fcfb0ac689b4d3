// A small window for proving the X driver: a splash without a title, and a
// window "Prüfstand" with a button and a line edit at fixed places. What it
// receives goes to the file named by its argument, one line each:
//   clicked            the button was pressed and released with the mouse
//   text=<text>        Return was pressed in the line edit
// Return ends the program: 0 when the button had been clicked before, 1 if not.
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QFile log(QString::fromLocal8Bit(argv[1]));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return 2;

    QWidget splash(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    splash.setFixedSize(240, 120);
    splash.setStyleSheet(QStringLiteral("background: #20508c"));
    splash.move(400, 300);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Prüfstand"));
    window.setFixedSize(300, 140);
    window.move(40, 40);
    QPushButton button(QStringLiteral("Drück mich"), &window);
    button.setGeometry(20, 20, 160, 30);
    QLineEdit field(&window);
    field.setGeometry(20, 70, 200, 30);

    bool clicked = false;
    QObject::connect(&button, &QPushButton::clicked, [&] {
        clicked = true;
        log.write("clicked\n");
        splash.close();
    });
    QObject::connect(&field, &QLineEdit::returnPressed, [&] {
        log.write("text=" + field.text().toUtf8() + "\n");
        app.exit(clicked ? 0 : 1);
    });

    splash.show();
    window.show();
    return app.exec();
}
