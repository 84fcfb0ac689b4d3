#include "comctl/toolbar.h"

#include "comctl/imagelist.h"
#include "user32/user32.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QToolTip>

namespace {

// Room around a button's picture and caption, in pixels.
constexpr int padX = 8;
constexpr int padY = 7;
constexpr int gap = 3; // between picture and caption

const QColor buttonFace(212, 208, 200);
const QColor shadow(128, 128, 128);
const QColor highlight(255, 255, 255);
const QColor darkShadow(64, 64, 64);

QString withoutMnemonic(QString caption)
{
    caption.replace(QLatin1String("&&"), QLatin1String("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return caption;
}

LRESULT toolbarControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        // Paints the control and its inner window now, into the context.
        if (QWidget *widget = WidgetOf(hwnd)) {
            widget->repaint();
            auto *toolbar = qobject_cast<Toolbar *>(widget);
            if (toolbar && toolbar->innerWindow())
                toolbar->innerWindow()->repaint();
        }
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT toolbarWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (auto *window = qobject_cast<ToolbarWindow *>(WidgetOf(hwnd)))
        return window->WindowProc(message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

int16_t shiftOf(Qt::KeyboardModifiers m)
{
    return static_cast<int16_t>((m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
                                (m & Qt::AltModifier ? 4 : 0));
}

int16_t buttonsOf(Qt::MouseButtons b)
{
    return static_cast<int16_t>((b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) |
                                (b & Qt::MiddleButton ? 4 : 0));
}

} // namespace

// ---- buttons ---------------------------------------------------------------

void ToolbarButton::setCaption(const QString &caption)
{
    m_caption = caption;
    m_owner->buttonsChanged();
}

void ToolbarButton::setImage(int image)
{
    m_image = image;
    m_owner->buttonsChanged(); // redraws the buttons in the current style
}

int ToolbarButton::Left() const
{
    return m_owner->m_inner ? m_owner->m_inner->buttonRect(m_index).left() : 0;
}

int ToolbarButton::Top() const
{
    return m_owner->m_inner ? m_owner->m_inner->buttonRect(m_index).top() : 0;
}

int ToolbarButton::Width() const
{
    return m_owner->ButtonWidth();
}

int ToolbarButton::Height() const
{
    return m_owner->ButtonHeight();
}

ToolbarButton *ToolbarButtons::Item(const QString &key) const
{
    for (const auto &button : m_buttons) {
        if (button->Key() == key)
            return button.get();
    }
    return nullptr;
}

ToolbarButton &ToolbarButtons::Add(const QString &key, const QString &caption, int image)
{
    std::shared_ptr<ToolbarButton> button(new ToolbarButton(m_owner, Count() + 1));
    button->m_key = key;
    button->m_caption = caption;
    button->m_image = image;
    m_buttons.append(button);
    m_owner->buttonsChanged();
    return *button;
}

// ---- the control -----------------------------------------------------------

Toolbar::Toolbar(QWidget *parent)
    : QWidget(parent), m_buttons(this)
{
    m_hWnd = HandleOf(this, "Toolbar");
    SetWindowLongA(m_hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&toolbarControlProc));
    m_inner = new ToolbarWindow(this);
    layoutInner();
}

Toolbar::~Toolbar()
{
    // The inner window may live in another window now; it goes with us.
    delete m_inner;
}

DWORD Toolbar::innerStyle() const
{
    return m_inner ? m_inner->style() : 0;
}

void Toolbar::setImageList(::ImageList *list)
{
    if (m_imageList)
        disconnect(m_imageList, nullptr, this, nullptr);
    m_imageList = list;
    if (list)
        connect(list, &::ImageList::Changed, this, &Toolbar::buttonsChanged);
    buttonsChanged();
}

int Toolbar::ButtonWidth() const
{
    const bool list = innerStyle() & TBSTYLE_LIST;
    const int imageWidth = m_imageList ? m_imageList->ImageWidth() : 0;
    const QFontMetrics metrics(font());
    int widest = 0;
    for (const auto &button : m_buttons.m_buttons)
        widest = qMax(widest, metrics.horizontalAdvance(withoutMnemonic(button->Caption())));
    if (list)
        return imageWidth + (widest > 0 ? gap + widest : 0) + padX;
    return qMax(imageWidth, widest) + padX;
}

int Toolbar::ButtonHeight() const
{
    const bool list = innerStyle() & TBSTYLE_LIST;
    const int imageHeight = m_imageList ? m_imageList->ImageHeight() : 0;
    bool captions = false;
    for (const auto &button : m_buttons.m_buttons)
        captions = captions || !button->Caption().isEmpty();
    const int textHeight = captions ? QFontMetrics(font()).height() : 0;
    if (list)
        return qMax(imageHeight, textHeight) + padY;
    return imageHeight + (captions ? gap + textHeight : 0) + padY;
}

QSize Toolbar::sizeHint() const
{
    const int n = m_buttons.Count();
    const int left = m_inner ? m_inner->buttonLeft() : 0;
    const int top = m_inner ? m_inner->buttonTop() : 0;
    return QSize(left * 2 + n * ButtonWidth(), top * 2 + ButtonHeight());
}

void Toolbar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutInner();
}

void Toolbar::layoutInner()
{
    // Without CCS_NORESIZE the inner window spans the control's width at its
    // top and is as tall as its buttons; with it, its size is left alone.
    if (!m_inner || m_inner->parentWidget() != this || (m_inner->style() & CCS_NORESIZE))
        return;
    m_inner->setGeometry(0, 0, width(), sizeHint().height());
}

void Toolbar::buttonsChanged()
{
    if (!m_inner)
        return;
    layoutInner();
    updateGeometry();
    m_inner->updateMnemonics();
    m_inner->update();
}

// ---- the inner window ------------------------------------------------------

ToolbarWindow::ToolbarWindow(Toolbar *owner)
    : QWidget(owner), m_owner(owner)
{
    setMouseTracking(true);
    m_hWnd = HandleOf(this, ToolbarWindowClass);
    SetWindowLongA(m_hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&toolbarWindowProc));
}

void ToolbarWindow::updateMnemonics()
{
    qDeleteAll(m_mnemonics);
    m_mnemonics.clear();
    for (int i = 1; i <= m_owner->Buttons().Count(); ++i) {
        const QKeySequence keys = QKeySequence::mnemonic(m_owner->Buttons()(i).Caption());
        if (keys.isEmpty())
            continue;
        // Alt and the underlined letter click the button, wherever the
        // window's keyboard focus is; only while the buttons are seen and
        // enabled (QShortcut asks that of this window).
        auto *shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, i] {
            if (i <= m_owner->Buttons().Count())
                emit m_owner->ButtonClick(&m_owner->Buttons()(i));
        });
        m_mnemonics.append(shortcut);
    }
}

int ToolbarWindow::buttonTop() const
{
    // Raised buttons keep two pixels of room, the divider two more.
    return ((m_style & TBSTYLE_FLAT) ? 0 : 2) + ((m_style & CCS_NODIVIDER) ? 0 : 2);
}

int ToolbarWindow::buttonLeft() const
{
    return (m_style & TBSTYLE_FLAT) ? 0 : 2;
}

QRect ToolbarWindow::buttonRect(int index) const
{
    const int w = m_owner->ButtonWidth();
    return QRect(buttonLeft() + (index - 1) * w, buttonTop(), w, m_owner->ButtonHeight());
}

int ToolbarWindow::buttonAt(const QPoint &pos) const
{
    for (int i = 1; i <= m_owner->Buttons().Count(); ++i) {
        if (buttonRect(i).contains(pos))
            return i;
    }
    return 0;
}

LRESULT ToolbarWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case TB_GETSTYLE:
        return static_cast<LRESULT>(m_style);
    case TB_SETSTYLE:
        m_style = static_cast<DWORD>(lParam);
        m_owner->layoutInner();
        m_owner->updateGeometry();
        update();
        return 0;
    case WM_PAINT:
        repaint();
        return 0;
    default:
        return DefWindowProcA(m_hWnd, message, wParam, lParam);
    }
}

bool ToolbarWindow::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int i = buttonAt(help->pos());
        if ((m_style & TBSTYLE_TOOLTIPS) && i > 0 && !m_owner->Buttons()(i).ToolTipText().isEmpty())
            QToolTip::showText(help->globalPos(), m_owner->Buttons()(i).ToolTipText(), this, buttonRect(i));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void ToolbarWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(m_owner->font()); // the measures are the toolbar's, wherever this window lives
    // A transparent toolbar paints no background: what lies behind shows.
    if (!(m_style & TBSTYLE_TRANSPARENT))
        painter.fillRect(rect(), buttonFace);
    if (!(m_style & CCS_NODIVIDER)) {
        painter.setPen(shadow);
        painter.drawLine(0, 0, width() - 1, 0);
        painter.setPen(highlight);
        painter.drawLine(0, 1, width() - 1, 1);
    }
    for (int i = 1; i <= m_owner->Buttons().Count(); ++i)
        paintButton(painter, m_owner->Buttons()(i));
}

void ToolbarWindow::paintButton(QPainter &painter, const ToolbarButton &button)
{
    const QRect r = buttonRect(button.Index());
    const bool flat = m_style & TBSTYLE_FLAT;
    const bool hot = m_hot == button.Index();
    const bool pressed = hot && m_pressed == button.Index();
    const bool enabled = isEnabled();

    if (!flat && !(m_style & TBSTYLE_TRANSPARENT))
        painter.fillRect(r, buttonFace);
    // Raised buttons always show their edge; flat ones only under the mouse.
    if (!flat || hot) {
        const QColor topLeft = pressed ? shadow : highlight;
        const QColor bottomRight = pressed ? highlight : (flat ? shadow : darkShadow);
        painter.setPen(topLeft);
        painter.drawLine(r.topLeft(), r.topRight() - QPoint(1, 0));
        painter.drawLine(r.topLeft(), r.bottomLeft() - QPoint(0, 1));
        painter.setPen(bottomRight);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
        if (!flat && !pressed) {
            painter.setPen(shadow);
            painter.drawLine(r.bottomLeft() + QPoint(1, -1), r.bottomRight() - QPoint(1, 1));
            painter.drawLine(r.topRight() + QPoint(-1, 1), r.bottomRight() - QPoint(1, 1));
        }
    }

    const QPoint shift = pressed ? QPoint(1, 1) : QPoint(0, 0);
    ImageList *images = m_owner->ImageList();
    const QPixmap picture = images ? images->Picture(button.Image()) : QPixmap();
    const int iw = images ? images->ImageWidth() : 0;
    const int ih = images ? images->ImageHeight() : 0;
    const QString caption = button.Caption();
    painter.setPen(enabled ? palette().color(QPalette::ButtonText) : shadow);
    if (m_style & TBSTYLE_LIST) {
        const int x = r.left() + padX / 2;
        if (!picture.isNull())
            painter.drawPixmap(QPoint(x, r.top() + (r.height() - ih) / 2) + shift, picture);
        const QRect text(x + iw + (iw > 0 ? gap : 0), r.top(), r.right() - x - iw - gap, r.height());
        painter.drawText(text.translated(shift), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, caption);
    } else {
        const int y = r.top() + padY / 2;
        if (!picture.isNull())
            painter.drawPixmap(QPoint(r.left() + (r.width() - iw) / 2, y) + shift, picture);
        const QRect text(r.left(), y + ih + (ih > 0 ? gap : 0), r.width(), r.bottom() - y - ih - gap);
        painter.drawText(text.translated(shift), Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic, caption);
    }
}

void ToolbarWindow::mouseMoveEvent(QMouseEvent *event)
{
    const int hot = buttonAt(event->position().toPoint());
    if (hot != m_hot) {
        m_hot = hot;
        update();
    }
    emit m_owner->MouseMove(buttonsOf(event->buttons()), shiftOf(event->modifiers()),
                            static_cast<float>(event->position().x()), static_cast<float>(event->position().y()));
}

void ToolbarWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = buttonAt(event->position().toPoint());
    m_hot = m_pressed;
    update();
}

void ToolbarWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int clicked = m_pressed != 0 && buttonAt(event->position().toPoint()) == m_pressed ? m_pressed : 0;
    m_pressed = 0;
    update();
    if (clicked)
        emit m_owner->ButtonClick(&m_owner->Buttons()(clicked));
}

void ToolbarWindow::leaveEvent(QEvent *event)
{
    m_hot = 0;
    update();
    QWidget::leaveEvent(event);
}
