#pragma once
// The help window: the file's title, a contents tree and an index list on
// the left, the page on the right, Back and Forward above.
#include "htmlhelp/chmfile.h"

#include <QHash>
#include <QPointer>
#include <QTextBrowser>
#include <QWidget>

#include <memory>

class QAction;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QSplitter;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

// Shows the pages of one help file; everything it loads comes from there.
class HelpBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    HelpBrowser(const ChmFile &file, QWidget *parent = nullptr);

    // The address of a page of the file ("chm:/page.html#anchor").
    static QUrl urlOf(const QString &local);

    QVariant loadResource(int type, const QUrl &name) override;

protected:
    void doSetSource(const QUrl &name, QTextDocument::ResourceType type) override;

private:
    const ChmFile &m_file;
};

class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    enum Tab { ContentsTab = 0, IndexTab = 1 };

    explicit HelpWindow(std::unique_ptr<ChmFile> file);
    ~HelpWindow() override;

    // Takes the icon of the program's window that asks for the help and
    // opens centred over it (within its screen); call before the first show.
    void placeOver(QWidget *caller);
    // Brings the asked tab to the front and gives it the keyboard.
    void showTab(Tab tab);
    Tab currentTab() const;

    void openPage(const QString &local);
    QUrl currentPage() const;
    QString filePath() const { return m_file->path(); }

    HelpBrowser *browser() const { return m_browser; }
    QTreeWidget *contentsTree() const { return m_contents; }
    QListWidget *indexList() const { return m_index; }
    QLineEdit *indexFilter() const { return m_filter; }
    QAction *backAction() const { return m_back; }
    QAction *forwardAction() const { return m_forward; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildContents();
    void buildIndex();
    void filterIndex(const QString &text);
    void openIndexEntry(QListWidgetItem *item);
    void openContentsEntry(QTreeWidgetItem *item);
    void selectContentsEntryOf(const QUrl &page);

    std::unique_ptr<ChmFile> m_file;
    QSplitter *m_splitter = nullptr;
    QTabWidget *m_tabs = nullptr;
    QTreeWidget *m_contents = nullptr;
    QListWidget *m_index = nullptr;
    QLineEdit *m_filter = nullptr;
    HelpBrowser *m_browser = nullptr;
    QAction *m_back = nullptr;
    QAction *m_forward = nullptr;
    QHash<QString, QTreeWidgetItem *> m_contentsByPage;
    bool m_fitted = false;
    QPointer<QWidget> m_caller;
};
