// HtmlHelpA and the help window, as the game's help button and F1 use them.
#include "base/ansi.h"
#include "damaged_help.h"
#include "htmlhelp/helpwindow.h"
#include "htmlhelp/htmlhelp.h"
#include "support/test_env.h"
#include "user32/user32.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextCursor>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

QByteArray helpFile()
{
    return QFile::encodeName(testenv::buildDir() + QStringLiteral("/Hilfe.chm"));
}

template <typename T>
QList<T *> topLevel(const QString &objectName = QString())
{
    QList<T *> found;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *t = qobject_cast<T *>(w); t && (objectName.isEmpty() || t->objectName() == objectName))
            found << t;
    return found;
}

HelpWindow *helpWindow()
{
    const QList<HelpWindow *> windows = topLevel<HelpWindow>();
    return windows.size() == 1 ? windows.first() : nullptr;
}

QStringList visibleKeywords(const HelpWindow &w)
{
    QStringList keywords;
    for (int i = 0; i < w.indexList()->count(); ++i)
        if (!w.indexList()->item(i)->isHidden())
            keywords << w.indexList()->item(i)->text();
    return keywords;
}

// Each test starts without help window or message box and leaves none.
class HelpViewer : public ::testing::Test
{
protected:
    void TearDown() override
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<HelpWindow *>(w) || w->objectName() == QLatin1String("htmlhelpCannotOpen"))
                w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_TRUE(topLevel<HelpWindow>().isEmpty());
    }
};

} // namespace

TEST_F(HelpViewer, ContentsOpenOnTheDefaultPageAndIndexSwitchesTheSameWindow)
{
    const HWND handle = HtmlHelpA(0, helpFile().constData(), HH_DISPLAY_TOC, 0);
    ASSERT_NE(handle, 0);
    HelpWindow *w = helpWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(WidgetOf(handle), w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Hilfe zu Murvel"));
    EXPECT_EQ(w->currentTab(), HelpWindow::ContentsTab);
    EXPECT_EQ(w->currentPage().path(), QStringLiteral("/start.html"));
    EXPECT_TRUE(w->browser()->toPlainText().contains(QStringLiteral("Seeschlachtspiel für eine Person")));
    ASSERT_NE(w->contentsTree()->currentItem(), nullptr);
    EXPECT_EQ(w->contentsTree()->currentItem()->text(0), QStringLiteral("Willkommen bei Murvel"));
    EXPECT_FALSE(w->testAttribute(Qt::WA_QuitOnClose)) << "the help would keep the game alive";

    // Asked again, for the index: the same window, the other tab, the same page.
    w->openPage(QStringLiteral("gefecht.html"));
    EXPECT_EQ(HtmlHelpA(0, helpFile().constData(), HH_DISPLAY_INDEX, 0), handle);
    EXPECT_EQ(helpWindow(), w);
    EXPECT_EQ(w->currentTab(), HelpWindow::IndexTab);
    EXPECT_EQ(w->currentPage().path(), QStringLiteral("/gefecht.html"));
    EXPECT_EQ(HtmlHelpA(0, helpFile().constData(), HH_DISPLAY_TOC, 0), handle);
    EXPECT_EQ(w->currentTab(), HelpWindow::ContentsTab);

    // Closed, the file gets a new window with a new handle.
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const HWND again = HtmlHelpA(0, helpFile().constData(), HH_DISPLAY_INDEX, 0);
    EXPECT_NE(again, 0);
    EXPECT_NE(again, handle);
    EXPECT_FALSE(IsWindow(handle));
    ASSERT_NE(helpWindow(), nullptr);
    EXPECT_EQ(helpWindow()->currentTab(), HelpWindow::IndexTab);
    EXPECT_EQ(helpWindow()->currentPage().path(), QStringLiteral("/start.html"));
}

TEST_F(HelpViewer, TypedKeywordFiltersTheIndexAndLeadsToItsPage)
{
    ASSERT_NE(HtmlHelpA(0, helpFile().constData(), HH_DISPLAY_INDEX, 0), 0);
    HelpWindow *w = helpWindow();
    ASSERT_NE(w, nullptr);
    const int all = static_cast<int>(visibleKeywords(*w).size());
    ASSERT_GE(all, 30);

    QTest::keyClicks(w->indexFilter(), QStringLiteral("PAPIER"));
    EXPECT_EQ(visibleKeywords(*w), QStringList{QStringLiteral("Papierkorb")});
    QTest::keyClick(w->indexFilter(), Qt::Key_Return);
    EXPECT_EQ(w->currentPage().path(), QStringLiteral("/boote_setzen.html"));
    EXPECT_EQ(w->currentPage().fragment(), QStringLiteral("papierkorb"));

    // Part of a word anywhere, any case; the keyword that begins with it is chosen.
    w->indexFilter()->clear();
    EXPECT_EQ(visibleKeywords(*w).size(), all);
    QTest::keyClicks(w->indexFilter(), QStringLiteral("gr"));
    w->indexFilter()->insert(QStringLiteral("öße")); // QTest types ASCII only
    const QStringList sizes = visibleKeywords(*w);
    EXPECT_TRUE(sizes.contains(QStringLiteral("Größe 1, 2, 3")));
    EXPECT_TRUE(sizes.contains(QStringLiteral("Standardspielfeldgröße")));
    ASSERT_NE(w->indexList()->currentItem(), nullptr);
    EXPECT_EQ(w->indexList()->currentItem()->text(), QStringLiteral("Größe 1, 2, 3"));
    // The arrow keys in the field walk through the keywords that are left.
    QTest::keyClick(w->indexFilter(), Qt::Key_Down);
    EXPECT_EQ(w->indexList()->currentItem()->text(), QStringLiteral("Standardspielfeldgröße"));
    QTest::keyClick(w->indexFilter(), Qt::Key_Return);
    EXPECT_EQ(w->currentPage().path(), QStringLiteral("/optionen.html"));

    // Nothing matches: nothing is selected and Enter goes nowhere.
    w->indexFilter()->setText(QStringLiteral("xyzzy"));
    EXPECT_TRUE(visibleKeywords(*w).isEmpty());
    QTest::keyClick(w->indexFilter(), Qt::Key_Return);
    EXPECT_EQ(w->currentPage().path(), QStringLiteral("/optionen.html"));
}

TEST_F(HelpViewer, LinksPicturesAnchorsAndHistoryWork)
{
    ASSERT_NE(HtmlHelpA(0, helpFile().constData(), HH_DISPLAY_TOC, 0), 0);
    HelpWindow *w = helpWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->backAction()->isEnabled());

    // A relative link, as a click on it follows it.
    w->browser()->setSource(QUrl(QStringLiteral("boote_setzen.html")));
    EXPECT_EQ(w->currentPage().path(), QStringLiteral("/boote_setzen.html"));
    EXPECT_EQ(w->contentsTree()->currentItem()->text(0), QStringLiteral("Die Boote setzen"));
    const QVariant picture = w->browser()->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("bilder/regeln.png")));
    EXPECT_EQ(QImage::fromData(picture.toByteArray()).size(), QSize(251, 201));
    const QVariant css = w->browser()->loadResource(QTextDocument::StyleSheetResource, QUrl(QStringLiteral("hilfe.css")));
    EXPECT_TRUE(css.toString().contains(QStringLiteral("h1")));
    EXPECT_TRUE(w->browser()->toHtml().contains(QStringLiteral("bilder/regeln.png")));

    // An anchor inside the page scrolls to it.
    w->browser()->resize(500, 200);
    w->browser()->setSource(QUrl(QStringLiteral("#papierkorb")));
    EXPECT_GT(w->browser()->verticalScrollBar()->value(), 0);

    EXPECT_TRUE(w->backAction()->isEnabled());
    w->backAction()->trigger();
    w->backAction()->trigger();
    EXPECT_EQ(w->currentPage().path(), QStringLiteral("/start.html"));
    EXPECT_FALSE(w->backAction()->isEnabled());
    ASSERT_TRUE(w->forwardAction()->isEnabled());
    w->forwardAction()->trigger();
    EXPECT_EQ(w->currentPage().path(), QStringLiteral("/boote_setzen.html"));

    // A page the file lacks says so instead of showing nothing.
    w->browser()->setSource(QUrl(QStringLiteral("gibtsnicht.html")));
    EXPECT_TRUE(w->browser()->toPlainText().contains(QStringLiteral("Die Seite „/gibtsnicht.html“ ist in der Hilfedatei nicht enthalten.")));

    // A click in the contents opens the entry's page.
    const QList<QTreeWidgetItem *> items =
        w->contentsTree()->findItems(QStringLiteral("Die Top 10"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(items.size(), 1);
    const QRect rect = w->contentsTree()->visualItemRect(items.first());
    QTest::mouseClick(w->contentsTree()->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(w->currentPage().path(), QStringLiteral("/bestenliste.html"));
}

TEST_F(HelpViewer, MissingOrDamagedFileReturnsZeroAndTellsTheUserWithoutWaiting)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("Hilfe.chm"));
    EXPECT_EQ(HtmlHelpA(0, QFile::encodeName(missing).constData(), HH_DISPLAY_TOC, 0), 0);
    QList<QMessageBox *> boxes = topLevel<QMessageBox>(QStringLiteral("htmlhelpCannotOpen"));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes.first()->isVisible());
    EXPECT_TRUE(boxes.first()->text().contains(QStringLiteral("kann nicht geöffnet werden")));
    EXPECT_TRUE(boxes.first()->text().contains(QStringLiteral("„") + missing + QStringLiteral("“")));
    EXPECT_TRUE(boxes.first()->grab().save(testenv::buildDir() + QStringLiteral("/tests/help_cannot_open.png")));
    EXPECT_FALSE(boxes.first()->isModal());
    EXPECT_TRUE(topLevel<HelpWindow>().isEmpty());
    boxes.first()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QFile damaged(missing);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray("ITSF").append(QByteArray(4000, '\x11')));
    damaged.close();
    EXPECT_EQ(HtmlHelpA(0, QFile::encodeName(missing).constData(), HH_DISPLAY_INDEX, 0), 0);
    boxes = topLevel<QMessageBox>(QStringLiteral("htmlhelpCannotOpen"));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes.first()->text(),
              QStringLiteral("Die Hilfedatei „%1“ ist beschädigt und kann nicht angezeigt werden.").arg(missing));
    EXPECT_TRUE(topLevel<HelpWindow>().isEmpty());

    EXPECT_EQ(HtmlHelpA(0, "", HH_DISPLAY_TOC, 0), 0);
    EXPECT_EQ(HtmlHelpA(0, nullptr, HH_DISPLAY_TOC, 0), 0);
}

// The game asks for its help with a file that makes chmlib divide by
// zero: it hears 0, the user reads that the file is damaged, and the
// next request, with a good file, gets its window.
TEST_F(HelpViewer, DamagedFileIsNamedAsSuchAndTheProgramGoesOn)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Hilfe.chm"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(damagedhelp::damaged(testenv::buildDir() + QStringLiteral("/Hilfe.chm"),
                                    damagedhelp::Damage::WindowSizeZero));
    file.close();

    EXPECT_EQ(HtmlHelpA(0, ansi::fromUnicode(path).constData(), HH_DISPLAY_TOC, 0), 0);
    const QList<QMessageBox *> boxes = topLevel<QMessageBox>(QStringLiteral("htmlhelpCannotOpen"));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes.first()->text(),
              QStringLiteral("Die Hilfedatei „%1“ ist beschädigt und kann nicht angezeigt werden.").arg(path));
    EXPECT_FALSE(boxes.first()->isModal());
    EXPECT_TRUE(boxes.first()->grab().save(testenv::buildDir() + QStringLiteral("/tests/help_damaged.png")));
    EXPECT_TRUE(topLevel<HelpWindow>().isEmpty());

    EXPECT_NE(HtmlHelpA(0, helpFile().constData(), HH_DISPLAY_TOC, 0), 0);
    ASSERT_NE(helpWindow(), nullptr);
    EXPECT_EQ(helpWindow()->currentPage().path(), QStringLiteral("/start.html"));
}

TEST_F(HelpViewer, OtherCommandsYieldZeroAndOpenNothing)
{
    for (UINT command : {0u, 3u, 0x12u, 0xFFFFFFFFu})
        EXPECT_EQ(HtmlHelpA(0, helpFile().constData(), command, 0), 0) << command;
    EXPECT_TRUE(topLevel<HelpWindow>().isEmpty());
    EXPECT_TRUE(topLevel<QMessageBox>(QStringLiteral("htmlhelpCannotOpen")).isEmpty());
}

TEST_F(HelpViewer, ClickOnALinkOpensItsPage)
{
    ASSERT_NE(HtmlHelpA(0, helpFile().constData(), HH_DISPLAY_TOC, 0), 0);
    HelpWindow *w = helpWindow();
    ASSERT_NE(w, nullptr);
    QTextCursor link = w->browser()->document()->find(QStringLiteral("Die drei Spielfeldgrößen"));
    ASSERT_FALSE(link.isNull());
    ASSERT_TRUE(link.charFormat().isAnchor());
    link.setPosition(link.selectionStart() + 3);
    const QPoint at = w->browser()->cursorRect(link).center();
    QTest::mouseClick(w->browser()->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(w->currentPage().path(), QStringLiteral("/spielfelder.html"));
    EXPECT_TRUE(w->browser()->toPlainText().contains(QStringLiteral("20 x 16")));
}

TEST_F(HelpViewer, AnsiPathWithUmlautsOpens)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("Spiele für Groß und Klein"));
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::copy(testenv::buildDir() + QStringLiteral("/Hilfe.chm"), folder + QStringLiteral("/Hilfe.chm")));
    const QByteArray path = ansi::fromUnicode(folder + QStringLiteral("/Hilfe.chm"));
    ASSERT_TRUE(path.contains('\xFC')); // the ANSI form, one byte per umlaut
    EXPECT_NE(HtmlHelpA(0, path.constData(), HH_DISPLAY_INDEX, 0), 0);
    ASSERT_NE(helpWindow(), nullptr);
    EXPECT_EQ(helpWindow()->filePath(), folder + QStringLiteral("/Hilfe.chm"));
}

TEST_F(HelpViewer, PathWithBackslashesFindsTheFile)
{
    QByteArray path = helpFile();
    const qsizetype slash = path.lastIndexOf('/');
    path[slash] = '\\';
    EXPECT_NE(HtmlHelpA(0, path.constData(), HH_DISPLAY_TOC, 0), 0);
    EXPECT_NE(helpWindow(), nullptr);
}

TEST_F(HelpViewer, WindowGrabShowsContentsAndPage)
{
    ASSERT_NE(HtmlHelpA(0, helpFile().constData(), HH_DISPLAY_TOC, 0), 0);
    HelpWindow *w = helpWindow();
    ASSERT_NE(w, nullptr);
    w->openPage(QStringLiteral("boote_setzen.html"));
    const QImage shot = w->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(), w->size());
    EXPECT_TRUE(shot.save(testenv::buildDir() + QStringLiteral("/tests/help_window.png")));
    // The picture of the placing rules is on screen: its blue cells show.
    int blue = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixel(x, y) == qRgb(0, 0, 255))
                ++blue;
    EXPECT_GT(blue, 3 * 24 * 24 - 10);

    w->showTab(HelpWindow::IndexTab);
    EXPECT_TRUE(w->grab().toImage().save(testenv::buildDir() + QStringLiteral("/tests/help_window_index.png")));
}

namespace {

// The pages of the contents, in their order.
QStringList contentsPages(const HelpWindow &w)
{
    QStringList pages;
    for (QTreeWidgetItemIterator it(w.contentsTree()); *it; ++it) {
        const QString local = (*it)->data(0, Qt::UserRole).toString();
        if (!local.isEmpty())
            pages << local;
    }
    return pages;
}

// The lines of the shown page that begin inside a word, as "...end|start...".
QStringList breaksInsideWords(const QTextDocument &document)
{
    QStringList broken;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        const QString text = block.text();
        QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
        for (int i = 1; i < layout->lineCount(); ++i) {
            const int start = layout->lineAt(i).textStart();
            breaks.setPosition(start);
            if (!text.at(start - 1).isSpace() && !breaks.isAtBoundary())
                broken << text.mid(std::max(0, start - 8), 8) + u'|' + text.mid(start, 8);
        }
    }
    return broken;
}

} // namespace

// At the size it opens with, the window shows every contents entry and
// every page without a sideways scroll bar; narrower, the text wraps
// between words and never inside one. Each page is kept as a picture.
TEST_F(HelpViewer, EveryEntryAndPageFitsAndWordsStayWhole)
{
    ASSERT_NE(HtmlHelpA(0, helpFile().constData(), HH_DISPLAY_TOC, 0), 0);
    HelpWindow *w = helpWindow();
    ASSERT_NE(w, nullptr);
    QCoreApplication::processEvents();
    QTreeWidget *tree = w->contentsTree();
    // The tree's own measure of its widest entry, indentation and icon included.
    EXPECT_LE(static_cast<QAbstractItemView *>(tree)->sizeHintForColumn(0), tree->viewport()->width())
        << "a contents entry is cut off";
    EXPECT_EQ(tree->horizontalScrollBar()->maximum(), 0);

    const QString shots = testenv::buildDir() + QStringLiteral("/tests/help_pages");
    ASSERT_TRUE(QDir().mkpath(shots));
    const QStringList pages = contentsPages(*w);
    ASSERT_GE(pages.size(), 10);
    for (const QString &page : pages) {
        w->openPage(page);
        QCoreApplication::processEvents();
        EXPECT_EQ(w->browser()->horizontalScrollBar()->maximum(), 0) << qPrintable(page) << " is too wide";
        EXPECT_TRUE(breaksInsideWords(*w->browser()->document()).isEmpty())
            << qPrintable(page) << ": " << qPrintable(breaksInsideWords(*w->browser()->document()).join(u' '));
        EXPECT_TRUE(w->grab().save(shots + u'/' + QFileInfo(page).completeBaseName() + QStringLiteral(".png")));
    }

    w->resize(640, 480);
    QCoreApplication::processEvents();
    for (const QString &page : pages) {
        w->openPage(page);
        QCoreApplication::processEvents();
        EXPECT_TRUE(breaksInsideWords(*w->browser()->document()).isEmpty())
            << qPrintable(page) << ": " << qPrintable(breaksInsideWords(*w->browser()->document()).join(u' '));
        if (page == QLatin1String("spielfelder.html")) {
            EXPECT_TRUE(w->grab().save(shots + QStringLiteral("/spielfelder_schmal.png")));
        }
    }
}
