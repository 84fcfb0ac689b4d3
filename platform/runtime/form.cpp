#include "runtime/form.h"

#include "runtime/buttonface.h"
#include "runtime/control.h"
#include "runtime/image.h"
#include "runtime/inputcodes.h"
#include "runtime/label.h"
#include "runtime/line.h"
#include "runtime/timer.h"
#include "user32/user32.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFont>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QKeyEvent>
#include <QList>
#include <QMargins>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QSize>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// The layout designer's sans-serif face, mapped once to a face of this
// system that fills the same boxes: Liberation Sans has the widths of the
// faces that the layouts were measured with. "Times New Roman" and "Arial"
// need no mapping here: fontconfig's metric aliases give Liberation Serif
// and Liberation Sans.
void mapFontFamilies()
{
    static const bool mapped = [] {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
        return true;
    }();
    (void)mapped;
}

// A size in points as whole pixels at 96 dpi, as the layouts were drawn,
// whatever the logical dpi of the screen: 8.25 pt = 11 px, 12 pt = 16 px.
int pixelsOfPoints(double points)
{
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

int pixelsOfTwips(int twips)
{
    return static_cast<int>(std::lround(twips / double(TwipsPerPixel)));
}

// The kinds of frame a window manager may put round a window; what one
// window of a kind showed is the best guess for the next before it is shown.
enum FrameKind { NoFrame, BorderOnly, Titled, FrameKinds };
QMargins learnedMargins[FrameKinds];

// The form windows, the one shown last at the end.
QList<QPointer<QWidget>> &shownWindows()
{
    static QList<QPointer<QWidget>> windows;
    return windows;
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

namespace {

// A window's icon from an icon file: its images up to 64 pixels. An X
// server takes a window's icons in one request of at most 256 KiB, which a
// 256-pixel image alone fills: with it the window would show no icon.
QIcon windowIconOf(const QString &path)
{
    constexpr int largest = 64;
    QIcon icon;
    QImageReader reader(path);
    do {
        const QImage image = reader.read();
        if (!image.isNull() && image.width() <= largest && image.height() <= largest)
            icon.addPixmap(QPixmap::fromImage(image));
    } while (reader.jumpToNextImage());
    if (icon.isNull()) {
        const QImage only = LoadPicture(path);
        if (!only.isNull())
            icon.addPixmap(QPixmap::fromImage(only.scaled(largest, largest, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    return icon;
}

} // namespace

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
    void setFrameKind(FrameKind kind) { m_frameKind = kind; }

    // The frame round the client area: what the window system reports (an
    // X server's window manager only once it has framed the shown window);
    // until it reports one, the frame of the last window of its kind.
    QMargins frameMargins() const
    {
        QMargins actual;
        if (windowHandle() && windowHandle()->handle())
            actual = windowHandle()->frameMargins();
        if (!actual.isNull()) {
            learnedMargins[m_frameKind] = actual;
            m_framed = true;
        }
        return m_framed ? actual : learnedMargins[m_frameKind];
    }

protected:
    bool event(QEvent *event) override
    {
        MouseReport r;
        if (m_mouse.take(*this, event, r)) {
            if (m_form) {
                switch (r.kind) {
                case MouseReport::Down: m_form->Form_MouseDown(r.Button, r.Shift, r.X, r.Y); break;
                case MouseReport::Move: m_form->Form_MouseMove(r.Button, r.Shift, r.X, r.Y); break;
                case MouseReport::Click: m_form->Form_Click(); break;
                case MouseReport::None: break;
                }
            }
            return true;
        }
        return QWidget::event(event);
    }

    void paintEvent(QPaintEvent *event) override
    {
        QWidget::paintEvent(event);
        if (m_form && paintsOwnFace(event->region()))
            m_form->Form_Paint();
    }

    // Qt paints a window beneath a child that repaints itself without
    // filling all of its area. That is the child's paint, not the window's:
    // only what no control with a window of its own covers is the face.
    // Labels, images and lines have no window; they are drawn on the face.
    bool paintsOwnFace(QRegion region) const
    {
        for (const QObject *object : children()) {
            const auto *child = qobject_cast<const QWidget *>(object);
            if (!child || child->isWindow() || child->isHidden())
                continue;
            if (dynamic_cast<const Label *>(child) || dynamic_cast<const Image *>(child)
                || dynamic_cast<const Line *>(child))
                continue;
            region -= child->geometry();
        }
        return !region.isEmpty();
    }

    void showEvent(QShowEvent *event) override
    {
        QWidget::showEvent(event);
        shownWindows().removeIf([this](const QPointer<QWidget> &w) { return !w || w == this; });
        shownWindows().append(this);
        // Every key of the window passes its QWindow first, before any
        // control: the place to preview them.
        if (windowHandle())
            windowHandle()->installEventFilter(this);
        frameMayHaveChanged();
    }
    void moveEvent(QMoveEvent *event) override
    {
        QWidget::moveEvent(event);
        if (m_form)
            m_form->windowMoved();
        frameMayHaveChanged();
    }
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        frameMayHaveChanged();
        if (m_form)
            m_form->Form_Resize();
    }

    void keyReleaseEvent(QKeyEvent *event) override
    {
        // A key sent to the window itself, or passed up by a control: the
        // form hears it when it previews keys (unless the preview above had
        // it already) or when no control has the focus.
        const bool ownKey = focusWidget() == nullptr || focusWidget() == this;
        if (m_previewing || !(m_keyPreview || ownKey) || !deliverKeyUp(event))
            QWidget::keyReleaseEvent(event);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (m_keyPreview && !m_previewing && event->type() == QEvent::KeyRelease && watched == windowHandle()) {
            if (deliverKeyUp(static_cast<QKeyEvent *>(event)))
                return true;
            // The control gets the key now; should it pass it up, the form
            // has heard it already.
            m_previewing = true;
            watched->event(event);
            m_previewing = false;
            return true;
        }
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
    // True when the form swallowed the key (KeyCode set to 0).
    bool deliverKeyUp(QKeyEvent *event)
    {
        if (!m_form || event->isAutoRepeat())
            return false;
        std::int16_t code = KeyCodeOf(event);
        m_form->Form_KeyUp(code, ShiftCode(event->modifiers()));
        return code == 0;
    }

    // A window manager frames a window some time after it is mapped; the
    // measures the program gave in outer terms are made good then.
    void frameMayHaveChanged()
    {
        if (!m_form || !isVisible())
            return;
        const QMargins margins = frameMargins();
        if (margins == m_appliedMargins)
            return;
        m_appliedMargins = margins;
        m_form->applyOuterMeasures();
        if (m_form)
            m_form->Form_Resize();
    }

    Form *m_form;
    MouseInput m_mouse;
    bool m_keyPreview = false;
    bool m_previewing = false;
    FrameKind m_frameKind = Titled;
    mutable bool m_framed = false;
    QMargins m_appliedMargins;
};

// ---- the form --------------------------------------------------------------

struct Form::Private {
    // The event loops of the modal shows that wait for this window.
    QList<QEventLoop *> modalLoops;
    // The outer measures last given by the program, in pixels, kept to be
    // made good once a window manager has framed the window.
    std::optional<int> left, top, width, height;
    // A shown window moves when the window manager has done it; until the
    // window reports a move, its place reads as the one asked for.
    std::optional<QPoint> movingTo;
    QElapsedTimer movingSince;
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
    // A new window starts from its layout's measures.
    d->left = d->top = d->width = d->height = std::nullopt;
    d->movingTo.reset();
    SetupWindow(window);
    applyLayoutProperties(window);
    Form_Load();
}

void Form::applyLayoutProperties(QWidget *window)
{
    auto *formWindow = static_cast<FormWindow *>(window);
    const QVariant border = window->property("BorderStyle");
    const int borderStyle = border.isValid() ? border.toInt() : vbFixedSingle;
    // A fixed single border is a main window; every other window is a
    // dialog, which a window manager neither minimises nor maximises and
    // keeps above the window it belongs to (see Show).
    Qt::WindowFlags flags = borderStyle == vbFixedSingle ? Qt::Window : Qt::Dialog;
    if (borderStyle == vbBSNone) {
        flags |= Qt::FramelessWindowHint;
        formWindow->setFrameKind(NoFrame);
    } else if (window->windowTitle().isEmpty()) {
        // Without caption text there is no title bar either: a frame only.
        flags |= Qt::CustomizeWindowHint;
        formWindow->setFrameKind(BorderOnly);
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
               | Qt::MSWindowsFixedSizeDialogHint;
        formWindow->setFrameKind(Titled);
    }
    window->setWindowFlags(flags);
    window->setFixedSize(window->size());
    formWindow->setKeyPreview(window->property("KeyPreview").toBool());
    const QString icon = window->property("Icon").toString();
    if (!icon.isEmpty())
        window->setWindowIcon(windowIconOf(icon));

    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *w : widgets) {
        const QVariant size = w->property("FontSize");
        if (size.isValid() || (w->testAttribute(Qt::WA_SetFont) && w->font().pointSizeF() > 0)) {
            QFont font = w->font();
            font.setPixelSize(pixelsOfPoints(size.isValid() ? size.toDouble() : font.pointSizeF()));
            w->setFont(font);
        }
        // The layout places controls in their container's client area.
        if (w != window && !qobject_cast<Line *>(w)) {
            const int origin = ClientOriginOf(w->parentWidget());
            if (origin)
                w->move(w->pos() + QPoint(origin, origin));
        }
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
    // The window may be unloaded from inside one of its own handlers, so it
    // goes only once that handler has returned to the event loop; until then
    // its timers are stopped (a tick would load the form again). Its other
    // signals stay: the window table hears of the controls' end by them.
    for (Timer *timer : window->findChildren<Timer *>())
        timer->setEnabled(false);
    ForgetWindow();
    // Input still queued for the window's controls reaches no handler of
    // the form any more: their connections to it end here.
    for (QObject *control : window->findChildren<QObject *>())
        QObject::disconnect(control, nullptr, this, nullptr);
    window->detach();
    m_window = nullptr;
    window->deleteLater();
    emit Unloaded();
}

void Form::Show(FormShowConstants Modal)
{
    Load();
    if (!m_window)
        return;
    QWidget *window = m_window;
    const Qt::WindowModality modality = Modal == vbModal ? Qt::ApplicationModal : Qt::NonModal;
    if (window->windowModality() != modality) {
        if (window->isVisible() && Modal != vbModal)
            return; // shown modally already: a modeless show changes nothing
        // Qt takes a new modality only from a hidden window; hiding it here
        // ends no modal show (none waits for a window shown without one).
        window->hide();
        window->setWindowModality(modality);
    }
    if (!window->isVisible())
        belongToOwner(window);
    window->show();
    window->raise();
    window->activateWindow();
    if (Modal != vbModal)
        return;
    QEventLoop loop;
    d->modalLoops.append(&loop);
    loop.exec(QEventLoop::DialogExec);
    d->modalLoops.removeOne(&loop);
}

void Form::belongToOwner(QWidget *window)
{
    if (window->windowType() != Qt::Dialog)
        return;
    // The owner is the form window the player works in: the active one, or
    // else the one shown last that still is.
    QWidget *owner = nullptr;
    if (QWidget *active = QApplication::activeWindow(); dynamic_cast<FormWindow *>(active) && active != window)
        owner = active;
    for (qsizetype i = shownWindows().size() - 1; !owner && i >= 0; --i) {
        QWidget *candidate = shownWindows().at(i);
        if (candidate && candidate != window && candidate->isVisible())
            owner = candidate;
    }
    window->winId(); // the window system's window, to say whose it is
    window->windowHandle()->setTransientParent(owner ? owner->windowHandle() : nullptr);
    // A dialog without an icon of its own shows its owner's, the program's.
    if (owner && window->property("Icon").toString().isEmpty())
        window->setWindowIcon(owner->windowIcon());
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

void Form::Refresh()
{
    if (!Visible())
        return;
    // X exposes a window a moment after mapping it, later on a busy
    // machine; what is painted before that never reaches the screen. The
    // timer wakes the wait when no exposure comes.
    QTimer allowance;
    allowance.setSingleShot(true);
    allowance.start(exposeAllowance);
    auto exposed = [this] { return !m_window->windowHandle() || m_window->windowHandle()->isExposed(); };
    while (m_window && !exposed() && allowance.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (m_window)
        m_window->repaint();
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

// ---- measures --------------------------------------------------------------
//
// Qt knows a window's frame only once the window is shown and a window
// manager has framed it, which happens some time after it is mapped. Until
// then the outer measures are the client area plus the frame that the last
// window of the same kind had (none at first). The outer measures the
// program sets are kept and made good whenever the frame becomes known or
// changes: the client area gets the outer size less the frame, and the
// frame's top left corner the position given. Without a window manager
// there is no frame and outer and client measures coincide.

QMargins Form::frameMargins()
{
    return static_cast<FormWindow *>(Window())->frameMargins();
}

// Of a shown window the window system's own figure; the widget's may lag
// behind a frame that has just arrived.
QPoint Form::framePosition()
{
    QWidget *w = Window();
    if (QWindow *handle = w->windowHandle(); handle && w->isVisible())
        return d->movingTo.value_or(handle->framePosition());
    return w->frameGeometry().topLeft();
}

void Form::windowMoved()
{
    // The move asked for has arrived, or the window manager placed the
    // window elsewhere (it may keep windows on the screen): after a while
    // the window's own report is taken.
    QWindow *handle = m_window ? m_window->windowHandle() : nullptr;
    if (d->movingTo && (!handle || handle->framePosition() == *d->movingTo || d->movingSince.elapsed() > 500))
        d->movingTo.reset();
}

int Form::Left() { return framePosition().x() * TwipsPerPixel; }
int Form::Top() { return framePosition().y() * TwipsPerPixel; }

int Form::Width()
{
    const QMargins m = frameMargins();
    return (m_window->width() + m.left() + m.right()) * TwipsPerPixel;
}

int Form::Height()
{
    const QMargins m = frameMargins();
    return (m_window->height() + m.top() + m.bottom()) * TwipsPerPixel;
}

void Form::setLeft(int twips)
{
    Window();
    d->left = pixelsOfTwips(twips);
    applyOuterMeasures();
}

void Form::setTop(int twips)
{
    Window();
    d->top = pixelsOfTwips(twips);
    applyOuterMeasures();
}

void Form::setWidth(int twips)
{
    Window();
    d->width = pixelsOfTwips(twips);
    applyOuterMeasures();
}

void Form::setHeight(int twips)
{
    Window();
    d->height = pixelsOfTwips(twips);
    applyOuterMeasures();
}

void Form::applyOuterMeasures()
{
    QWidget *w = m_window;
    if (!w)
        return;
    const QMargins m = frameMargins();
    QSize client = w->size();
    if (d->width)
        client.setWidth(std::max(0, *d->width - m.left() - m.right()));
    if (d->height)
        client.setHeight(std::max(0, *d->height - m.top() - m.bottom()));
    // Both bounds in one step: a window manager that saw the window
    // resizable for a moment would offer to maximise it from then on.
    if (client != w->minimumSize() || client != w->maximumSize())
        w->setFixedSize(client);
    if (d->left || d->top) {
        const QPoint frame = framePosition();
        const QPoint wanted(d->left.value_or(frame.x()), d->top.value_or(frame.y()));
        if (wanted == frame)
            return;
        if (QWindow *handle = w->windowHandle(); handle && w->isVisible()) {
            handle->setFramePosition(wanted);
            d->movingTo = wanted;
            d->movingSince.start();
        } else
            w->move(wanted); // before it is shown, Qt takes this as the frame's place
    }
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
