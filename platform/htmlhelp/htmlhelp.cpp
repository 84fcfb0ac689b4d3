#include "htmlhelp/htmlhelp.h"

#include "base/ansi.h"
#include "htmlhelp/chmfile.h"
#include "htmlhelp/helpwindow.h"
#include "user32/user32.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMessageBox>
#include <QPointer>

#include <utility>

namespace {

// An open help window, and the object it was, for telling it apart from
// its successor once it is being destroyed and no longer a HelpWindow.
struct OpenWindow {
    QPointer<HelpWindow> window;
    const QObject *object = nullptr;
};

// The open help windows, one per file, by the file's canonical path.
QHash<QString, OpenWindow> &openWindows()
{
    static QHash<QString, OpenWindow> windows;
    return windows;
}

// The file as named, in the file system's own encoding; failing that, for a
// name written the other platform's way, the same bytes read in the ANSI
// code page, and either with forward slashes for backslashes.
QString localPath(const char *file)
{
    const QString native = QFile::decodeName(file);
    QStringList candidates{native};
    const QString ansiName = ansi::toUnicode(file);
    if (ansiName != native)
        candidates.append(ansiName);
    for (QString candidate : candidates) {
        if (QFileInfo::exists(candidate))
            return candidate;
        candidate.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return native;
}

void tellCannotOpen(const QString &file, ChmFile::Problem problem)
{
    const QString text = problem == ChmFile::Problem::Damaged
        ? QStringLiteral("Die Hilfedatei „%1“ ist beschädigt und kann nicht angezeigt werden.")
        : QStringLiteral("Die Hilfedatei „%1“ kann nicht geöffnet werden.");
    // The caller goes on at once: the box waits for the user on its own.
    auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Hilfe"),
                                text.arg(QDir::toNativeSeparators(file)), QMessageBox::Ok);
    box->setObjectName(QStringLiteral("htmlhelpCannotOpen"));
    box->setAttribute(Qt::WA_DeleteOnClose, true);
    box->setAttribute(Qt::WA_QuitOnClose, false);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

void closeAllWhenTheProgramEnds()
{
    static bool connected = false;
    if (connected)
        return;
    connected = true;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] {
        // Empty the table first: each window's destroyed handler erases
        // its own entry, which must not happen under a running loop.
        const auto windows = std::exchange(openWindows(), {});
        for (const OpenWindow &open : windows)
            delete open.window.data();
    });
}

} // namespace

HWND HtmlHelpA(HWND window, const char *file, UINT command, DWORD_PTR data)
{
    Q_UNUSED(data);
    if (command != HH_DISPLAY_TOC && command != HH_DISPLAY_INDEX)
        return 0;
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return 0;
    const HelpWindow::Tab tab = command == HH_DISPLAY_INDEX ? HelpWindow::IndexTab : HelpWindow::ContentsTab;

    const QString path = localPath(file);
    const QFileInfo info(path);
    const QString key = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();

    // A window closed a moment ago is on its way out: it gets a successor.
    HelpWindow *open = openWindows().value(key).window;
    if (open && open->isVisible()) {
        open->showNormal();
        open->raise();
        open->activateWindow();
        open->showTab(tab);
        return HandleOf(open);
    }

    ChmFile::Problem problem = ChmFile::Problem::None;
    std::unique_ptr<ChmFile> chm = ChmFile::open(path, &problem);
    if (!chm) {
        tellCannotOpen(path, problem);
        return 0;
    }
    closeAllWhenTheProgramEnds();
    auto *help = new HelpWindow(std::move(chm));
    help->placeOver(WidgetOf(window));
    openWindows().insert(key, OpenWindow{help, help});
    // The window is half destroyed when this runs: compare addresses only.
    QObject::connect(help, &QObject::destroyed, [key](QObject *gone) {
        const auto it = openWindows().find(key);
        if (it != openWindows().end() && it->object == gone)
            openWindows().erase(it);
    });
    help->show();
    help->raise();
    help->activateWindow();
    help->showTab(tab);
    return HandleOf(help);
}
