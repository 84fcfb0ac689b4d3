#include "runtime/form.h"

#include "runtime/buttonface.h"
#include "runtime/control.h"
#include "runtime/inputcodes.h"
#include "runtime/line.h"
#include "user32/user32.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFont>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QList>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace {

// The layout designer's faces, mapped once to faces of this system that
// fill the same boxes.
void mapFontFamilies()
{
    static const bool mapped = [] {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
        QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                                   {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
        QFont::insertSubstitutions(QStringLiteral("Arial"),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
        return true;
    }();
    (void)mapped;
}

// A size in points as whole pixels at 96 dpi, as the layouts were drawn.
int pixelsOfPoints(double points)
{
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

int pixelsOfTwips(int twips)
{
    return static_cast<int>(std::lround(twips / double(TwipsPerPixel)));
}

} // namespace

int Screen::Width()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() * TwipsPerPixel : 0;
}

int Screen::Height()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() * TwipsPerPixel : 0;
}

int HalfDifference(double outer, double own)
{
    // nearbyint rounds a half to the even neighbour; the cast then drops
    // the remainder of the halving toward zero.
    const double difference = std::nearbyint(outer - own);
    return static_cast<int>(difference / 2);
}

// ---- the window ------------------------------------------------------------

// The widget a form shows: it hands the window's events to the form.
class FormWindow : public QWidget {
public:
    explicit FormWindow(Form *form)
        : m_form(form)
    {
        setMouseTracking(true);
        setAttribute(Qt::WA_DeleteOnClose, false);
    }

    void detach() { m_form = nullptr; }
    void setKeyPreview(bool on) { m_keyPreview = on; }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QWidget::paintEvent(event);
        if (m_form)
            m_form->Form_Paint();
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        m_pressed = event->button() == Qt::LeftButton;
        if (m_form) {
            const QPointF p = event->position();
            m_form->Form_MouseDown(ButtonCode(event->button()), ShiftCode(event->modifiers()), float(p.x()), float(p.y()));
        }
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
        m_pressed = false;
        if (click && m_form)
            m_form->Form_Click();
    }

    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (m_form) {
            const QPointF p = event->position();
            m_form->Form_MouseMove(ButtonCode(event->buttons()), ShiftCode(event->modifiers()), float(p.x()), float(p.y()));
        }
    }

    void keyReleaseEvent(QKeyEvent *event) override
    {
        if (!deliverKeyUp(event))
            QWidget::keyReleaseEvent(event);
    }

    // With KeyPreview the form hears the keys of its controls first.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (m_keyPreview && event->type() == QEvent::KeyRelease && watched != this && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->window() == this)
            return deliverKeyUp(static_cast<QKeyEvent *>(event));
        return QWidget::eventFilter(watched, event);
    }

    void closeEvent(QCloseEvent *event) override
    {
        // Closing the window by the window system unloads the form, which
        // may refuse.
        event->ignore();
        if (m_form)
            m_form->Unload();
    }

    void hideEvent(QHideEvent *event) override
    {
        QWidget::hideEvent(event);
        if (!event->spontaneous() && m_form)
            m_form->endModalShows();
    }

private:
    bool deliverKeyUp(QKeyEvent *event)
    {
        if (!m_form || event->isAutoRepeat())
            return false;
        std::int16_t code = KeyCodeOf(event);
        m_form->Form_KeyUp(code, ShiftCode(event->modifiers()));
        return code == 0;
    }

    Form *m_form;
    bool m_keyPreview = false;
    bool m_pressed = false;
};

// ---- the form --------------------------------------------------------------

struct Form::Private {
    // The event loops of the modal shows that wait for this window.
    QList<QEventLoop *> modalLoops;
};

Form::Form()
    : d(std::make_unique<Private>())
{
}

Form::~Form()
{
    if (auto *w = static_cast<FormWindow *>(m_window.data())) {
        w->detach();
        delete w;
    }
}

void Form::Load()
{
    if (m_window)
        return;
    mapFontFamilies();
    auto *window = new FormWindow(this);
    m_window = window;
    SetupWindow(window);
    applyLayoutProperties(window);
    Form_Load();
}

void Form::applyLayoutProperties(QWidget *window)
{
    auto *formWindow = static_cast<FormWindow *>(window);
    const QVariant border = window->property("BorderStyle");
    const int borderStyle = border.isValid() ? border.toInt() : vbFixedSingle;
    Qt::WindowFlags flags = Qt::Window;
    if (borderStyle == vbBSNone)
        flags |= Qt::FramelessWindowHint;
    else
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
               | Qt::MSWindowsFixedSizeDialogHint;
    window->setWindowFlags(flags);
    window->setFixedSize(window->size());
    formWindow->setKeyPreview(window->property("KeyPreview").toBool());
    const QString icon = window->property("Icon").toString();
    if (!icon.isEmpty())
        window->setWindowIcon(QIcon(QPixmap::fromImage(LoadPicture(icon))));

    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *w : widgets) {
        const QVariant size = w->property("FontSize");
        if (size.isValid()) {
            QFont font = w->font();
            font.setPixelSize(pixelsOfPoints(size.toDouble()));
            w->setFont(font);
        }
        // The layout places controls in their container's client area.
        if (w != window && !qobject_cast<Line *>(w)) {
            const int origin = ClientOriginOf(w->parentWidget());
            if (origin)
                w->move(w->pos() + QPoint(origin, origin));
        }
        if (w != window)
            w->installEventFilter(window);
    }
}

void Form::Unload()
{
    if (!m_window)
        return;
    std::int16_t cancel = 0;
    Form_Unload(cancel);
    if (cancel || !m_window)
        return;
    auto *window = static_cast<FormWindow *>(m_window.data());
    window->hide();
    endModalShows();
    ForgetWindow();
    window->detach();
    m_window = nullptr;
    // The window may be unloaded from inside one of its own handlers; it
    // goes once that handler has returned to the event loop.
    window->deleteLater();
    emit Unloaded();
}

void Form::Show(FormShowConstants Modal)
{
    Load();
    if (!m_window)
        return;
    QWidget *window = m_window;
    if (Modal != vbModal) {
        window->show();
        window->raise();
        window->activateWindow();
        return;
    }
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->raise();
    window->activateWindow();
    QEventLoop loop;
    d->modalLoops.append(&loop);
    loop.exec(QEventLoop::DialogExec);
    d->modalLoops.removeOne(&loop);
}

void Form::endModalShows()
{
    for (QEventLoop *loop : std::as_const(d->modalLoops))
        loop->quit();
}

void Form::Hide()
{
    if (m_window)
        m_window->hide();
}

bool Form::Visible() const
{
    return m_window && m_window->isVisible();
}

QWidget *Form::Window()
{
    Load();
    return m_window;
}

HWND Form::hWnd()
{
    return HandleOf(Window());
}

int Form::Left() { return Window()->frameGeometry().x() * TwipsPerPixel; }
int Form::Top() { return Window()->frameGeometry().y() * TwipsPerPixel; }
int Form::Width() { return Window()->frameGeometry().width() * TwipsPerPixel; }
int Form::Height() { return Window()->frameGeometry().height() * TwipsPerPixel; }

void Form::setLeft(int twips)
{
    QWidget *w = Window();
    w->move(pixelsOfTwips(twips), w->frameGeometry().y());
}

void Form::setTop(int twips)
{
    QWidget *w = Window();
    w->move(w->frameGeometry().x(), pixelsOfTwips(twips));
}

void Form::setWidth(int twips)
{
    QWidget *w = Window();
    const int frame = w->frameGeometry().width() - w->width();
    w->setFixedWidth(std::max(0, pixelsOfTwips(twips) - frame));
}

void Form::setHeight(int twips)
{
    QWidget *w = Window();
    const int frame = w->frameGeometry().height() - w->height();
    w->setFixedHeight(std::max(0, pixelsOfTwips(twips) - frame));
}

int Form::ScaleWidth() { return Window()->width(); }
int Form::ScaleHeight() { return Window()->height(); }

QString Form::Caption() { return Window()->windowTitle(); }
void Form::setCaption(const QString &caption) { Window()->setWindowTitle(caption); }

void Form::CentreOver(Form &owner)
{
    setTop(owner.Top() + HalfDifference(owner.Height(), Height()));
    setLeft(owner.Left() + HalfDifference(owner.Width(), Width()));
}

void Form::CentreOnScreen()
{
    setLeft(HalfDifference(Screen::Width(), Width()));
    setTop(HalfDifference(Screen::Height(), Height()));
}
