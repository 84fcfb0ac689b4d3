#include "htmlhelp/helpwindow.h"

#include "htmlhelp/helptext.h"
#include "htmlhelp/sitemap.h"

#include <QAction>
#include <QDesktopServices>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace {

const QString Scheme = QStringLiteral("chm");
constexpr int LocalRole = Qt::UserRole;

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

} // namespace

HelpBrowser::HelpBrowser(const ChmFile &file, QWidget *parent)
    : QTextBrowser(parent), m_file(file)
{
    setOpenLinks(true);
    setOpenExternalLinks(false);
    // A line, a table cell too, breaks between words and never inside one.
    setWordWrapMode(QTextOption::WordWrap);
}

QUrl HelpBrowser::urlOf(const QString &local)
{
    QUrl url;
    url.setScheme(Scheme);
    url.setPath(ChmFile::normalise(local));
    const qsizetype hash = local.indexOf(QLatin1Char('#'));
    if (hash >= 0)
        url.setFragment(local.mid(hash + 1));
    return url;
}

QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.scheme() != Scheme)
        return QVariant();
    const QByteArray bytes = m_file.read(url.path());
    switch (type) {
    case QTextDocument::HtmlResource:
        if (bytes.isNull())
            return QStringLiteral("<html><body><h2>Seite nicht gefunden</h2>"
                                  "<p>Die Seite „%1“ ist in der Hilfedatei nicht enthalten.</p>"
                                  "</body></html>")
                .arg(escaped(url.path()));
        return helptext::decode(bytes);
    case QTextDocument::StyleSheetResource:
        return helptext::decode(bytes);
    default:
        // Pictures: QTextDocument decodes the bytes itself.
        return bytes.isNull() ? QVariant() : QVariant(bytes);
    }
}

void HelpBrowser::doSetSource(const QUrl &name, QTextDocument::ResourceType type)
{
    // Relative to the page shown; the first page of all is named in full.
    const QUrl url = name.isRelative() && !source().isEmpty() ? source().resolved(name) : name;
    // Links out of the help file go to the desktop's own programs.
    if (!url.isEmpty() && url.scheme() != Scheme) {
        QDesktopServices::openUrl(url);
        return;
    }
    QTextBrowser::doSetSource(url, type);
}

HelpWindow::HelpWindow(std::unique_ptr<ChmFile> file)
    : m_file(std::move(file))
{
    setWindowTitle(m_file->title());
    setObjectName(QStringLiteral("HelpWindow"));
    // The help must not keep the program alive once its own windows are gone.
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_DeleteOnClose, true);

    auto *toolbar = new QToolBar(this);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_back = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Zurück"));
    m_back->setShortcut(QKeySequence::Back);
    m_back->setEnabled(false);
    m_forward = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Vor"));
    m_forward->setShortcut(QKeySequence::Forward);
    m_forward->setEnabled(false);

    m_tabs = new QTabWidget;
    m_contents = new QTreeWidget;
    m_contents->setHeaderHidden(true);
    m_contents->setObjectName(QStringLiteral("contents"));
    m_tabs->addTab(m_contents, QStringLiteral("&Inhalt"));

    auto *indexPage = new QWidget;
    auto *indexLayout = new QVBoxLayout(indexPage);
    auto *filterLabel = new QLabel(QStringLiteral("&Zu suchendes Schlüsselwort:"));
    m_filter = new QLineEdit;
    m_filter->setObjectName(QStringLiteral("indexFilter"));
    m_filter->setClearButtonEnabled(true);
    filterLabel->setBuddy(m_filter);
    m_index = new QListWidget;
    m_index->setObjectName(QStringLiteral("index"));
    indexLayout->addWidget(filterLabel);
    indexLayout->addWidget(m_filter);
    indexLayout->addWidget(m_index);
    m_tabs->addTab(indexPage, QStringLiteral("In&dex"));

    m_browser = new HelpBrowser(*m_file);
    m_browser->setObjectName(QStringLiteral("page"));

    m_splitter = new QSplitter(Qt::Horizontal);
    m_splitter->addWidget(m_tabs);
    m_splitter->addWidget(m_browser);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({240, 600});

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(m_splitter);
    resize(860, 600);

    buildContents();
    buildIndex();

    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::selectContentsEntryOf);
    connect(m_contents, &QTreeWidget::itemClicked, this, &HelpWindow::openContentsEntry);
    connect(m_contents, &QTreeWidget::itemActivated, this, &HelpWindow::openContentsEntry);
    connect(m_index, &QListWidget::itemClicked, this, &HelpWindow::openIndexEntry);
    connect(m_index, &QListWidget::itemActivated, this, &HelpWindow::openIndexEntry);
    connect(m_filter, &QLineEdit::textChanged, this, &HelpWindow::filterIndex);
    m_filter->installEventFilter(this);
    connect(m_filter, &QLineEdit::returnPressed, this, [this] { openIndexEntry(m_index->currentItem()); });

    openPage(m_file->defaultPage());
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::showEvent(QShowEvent *event)
{
    // Only a shown tree knows the room its entries get: the first time,
    // the window grows by what its widest entry lacks, the page keeps its width.
    if (!m_fitted) {
        m_fitted = true;
        const int lacking = static_cast<QAbstractItemView *>(m_contents)->sizeHintForColumn(0)
            - m_contents->viewport()->width();
        if (lacking > 0) {
            QList<int> sizes = m_splitter->sizes();
            sizes[0] += lacking;
            resize(width() + lacking, height());
            m_splitter->setSizes(sizes);
        }
        if (m_caller) {
            // A window manager frames this window only once it is shown,
            // around the place given to the client area: till then the
            // caller's frame is the best guess of its own.
            const QRect callerFrame = m_caller->frameGeometry(), callerClient = m_caller->geometry();
            const QPoint frameTopLeft = callerClient.topLeft() - callerFrame.topLeft();
            QRect place(QPoint(), size() + callerFrame.size() - callerClient.size());
            place.moveCenter(callerFrame.center());
            const QRect screen = m_caller->screen()->availableGeometry();
            place.moveLeft(std::clamp(place.left(), screen.left(), std::max(screen.left(), screen.right() + 1 - place.width())));
            place.moveTop(std::clamp(place.top(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - place.height())));
            move(place.topLeft() + frameTopLeft);
        }
    }
    QWidget::showEvent(event);
}

void HelpWindow::placeOver(QWidget *caller)
{
    m_caller = caller ? caller->window() : nullptr;
    if (m_caller)
        setWindowIcon(m_caller->windowIcon());
}

void HelpWindow::buildContents()
{
    const QList<SitemapEntry> toc = sitemap::parse(helptext::decode(m_file->read(m_file->contentsFile())));
    const QIcon book = style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon page = style()->standardIcon(QStyle::SP_FileIcon);
    std::function<void(const QList<SitemapEntry> &, QTreeWidgetItem *)> add =
        [&](const QList<SitemapEntry> &entries, QTreeWidgetItem *parent) {
            for (const SitemapEntry &e : entries) {
                auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_contents);
                item->setText(0, e.name);
                item->setData(0, LocalRole, e.local);
                item->setIcon(0, e.children.isEmpty() ? page : book);
                if (!e.local.isEmpty() && !m_contentsByPage.contains(ChmFile::normalise(e.local)))
                    m_contentsByPage.insert(ChmFile::normalise(e.local), item);
                add(e.children, item);
            }
        };
    add(toc, nullptr);
    m_contents->expandAll();
}

void HelpWindow::buildIndex()
{
    const QList<SitemapEntry> index =
        sitemap::flatten(sitemap::parse(helptext::decode(m_file->read(m_file->indexFile()))));
    for (const SitemapEntry &e : index) {
        auto *item = new QListWidgetItem(e.name, m_index);
        item->setData(LocalRole, e.local);
    }
    if (m_index->count() > 0)
        m_index->setCurrentRow(0);
}

void HelpWindow::filterIndex(const QString &text)
{
    // Keywords that hold the typed text stay; the first one that begins
    // with it, or else the first that is left, is selected.
    const QString wanted = text.trimmed();
    QListWidgetItem *first = nullptr;
    QListWidgetItem *prefix = nullptr;
    for (int i = 0; i < m_index->count(); ++i) {
        QListWidgetItem *item = m_index->item(i);
        const bool match = item->text().contains(wanted, Qt::CaseInsensitive);
        item->setHidden(!match);
        if (match && !first)
            first = item;
        if (match && !prefix && item->text().startsWith(wanted, Qt::CaseInsensitive))
            prefix = item;
    }
    m_index->setCurrentItem(prefix ? prefix : first);
}

bool HelpWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Up and Down in the keyword field walk through the keywords left.
    if (watched == m_filter && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            QCoreApplication::sendEvent(m_index, event);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void HelpWindow::openIndexEntry(QListWidgetItem *item)
{
    if (item && !item->isHidden())
        openPage(item->data(LocalRole).toString());
}

void HelpWindow::openContentsEntry(QTreeWidgetItem *item)
{
    if (item && !item->data(0, LocalRole).toString().isEmpty())
        openPage(item->data(0, LocalRole).toString());
}

void HelpWindow::selectContentsEntryOf(const QUrl &page)
{
    if (QTreeWidgetItem *item = m_contentsByPage.value(page.path()))
        m_contents->setCurrentItem(item);
}

void HelpWindow::openPage(const QString &local)
{
    if (!local.isEmpty())
        m_browser->setSource(HelpBrowser::urlOf(local));
}

QUrl HelpWindow::currentPage() const
{
    return m_browser->source();
}

void HelpWindow::showTab(Tab tab)
{
    m_tabs->setCurrentIndex(tab);
    if (tab == IndexTab) {
        m_filter->setFocus(Qt::OtherFocusReason);
        m_filter->selectAll();
    } else {
        m_contents->setFocus(Qt::OtherFocusReason);
    }
}

HelpWindow::Tab HelpWindow::currentTab() const
{
    return m_tabs->currentIndex() == IndexTab ? IndexTab : ContentsTab;
}
