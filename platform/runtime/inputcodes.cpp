#include "runtime/inputcodes.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

std::int16_t ButtonCode(Qt::MouseButtons buttons)
{
    std::int16_t code = 0;
    if (buttons & Qt::LeftButton)
        code |= vbLeftButton;
    if (buttons & Qt::RightButton)
        code |= vbRightButton;
    if (buttons & Qt::MiddleButton)
        code |= vbMiddleButton;
    return code;
}

std::int16_t ShiftCode(Qt::KeyboardModifiers modifiers)
{
    std::int16_t code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= vbShiftMask;
    if (modifiers & Qt::ControlModifier)
        code |= vbCtrlMask;
    if (modifiers & Qt::AltModifier)
        code |= vbAltMask;
    return code;
}

std::int16_t KeyCodeOf(const QKeyEvent *event)
{
    const int key = event->key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<std::int16_t>(key); // 65..90
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<std::int16_t>(key); // 48..57
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return static_cast<std::int16_t>(vbKeyF1 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace: return vbKeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vbKeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vbKeyReturn;
    case Qt::Key_Shift: return vbKeyShift;
    case Qt::Key_Control: return vbKeyControl;
    case Qt::Key_Alt: return vbKeyMenu;
    case Qt::Key_Escape: return vbKeyEscape;
    case Qt::Key_Space: return vbKeySpace;
    case Qt::Key_PageUp: return vbKeyPageUp;
    case Qt::Key_PageDown: return vbKeyPageDown;
    case Qt::Key_End: return vbKeyEnd;
    case Qt::Key_Home: return vbKeyHome;
    case Qt::Key_Left: return vbKeyLeft;
    case Qt::Key_Up: return vbKeyUp;
    case Qt::Key_Right: return vbKeyRight;
    case Qt::Key_Down: return vbKeyDown;
    case Qt::Key_Insert: return vbKeyInsert;
    case Qt::Key_Delete: return vbKeyDelete;
    default: return 0;
    }
}

bool MouseInput::take(QWidget &widget, QEvent *event, MouseReport &report, QPoint origin)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick && type != QEvent::MouseMove
        && type != QEvent::MouseButtonRelease)
        return false;
    // A disabled widget takes no input: Qt passes it on to the container.
    if (!widget.isEnabled())
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    mouse->accept();
    const QPoint at = mouse->position().toPoint();
    // A disabled control takes no input: what it covers is its container's.
    const QWidget *child = widget.childAt(at);
    const bool own = child == nullptr || !child->isEnabled();
    const QPointF p = mouse->position() - QPointF(origin);
    report = MouseReport{};
    report.Shift = ShiftCode(mouse->modifiers());
    report.X = float(p.x());
    report.Y = float(p.y());
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (!own)
            return true;
        m_captured = true;
        if (mouse->button() == Qt::LeftButton)
            m_leftPressed = true;
        report.kind = MouseReport::Down;
        report.Button = ButtonCode(mouse->button());
        return true;
    case QEvent::MouseMove:
        if (!own && !(m_captured && mouse->buttons() != Qt::NoButton))
            return true;
        report.kind = MouseReport::Move;
        report.Button = ButtonCode(mouse->buttons());
        return true;
    default: { // release
        const bool click = m_leftPressed && mouse->button() == Qt::LeftButton && widget.rect().contains(at);
        if (mouse->button() == Qt::LeftButton)
            m_leftPressed = false;
        if (mouse->buttons() == Qt::NoButton)
            m_captured = false;
        if (click)
            report.kind = MouseReport::Click;
        return true;
    }
    }
}
