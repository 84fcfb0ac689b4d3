#pragma once
// The runtime's codes for mouse buttons, shift keys and keys, as its
// controls report them in their events, and the one translation of Qt's
// mouse events into the runtime's MouseDown, MouseMove and Click that every
// control and the form share.
#include <QPoint>
#include <QtGlobal>
#include <Qt>

#include <cstdint>

class QEvent;
class QKeyEvent;
class QWidget;

// Mouse buttons and shift keys. (A control may bring them into its own
// scope with `using enum`.)
enum MouseButtonConstants : std::int16_t { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };
enum ShiftConstants : std::int16_t { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };

// Key codes of KeyDown and KeyUp: letters and digits are their upper-case
// ASCII codes; these are others the game meets.
enum : std::int16_t {
    vbKeyBack = 8, vbKeyTab = 9, vbKeyReturn = 13, vbKeyShift = 16, vbKeyControl = 17, vbKeyMenu = 18,
    vbKeyEscape = 27, vbKeySpace = 32, vbKeyPageUp = 33, vbKeyPageDown = 34, vbKeyEnd = 35, vbKeyHome = 36,
    vbKeyLeft = 37, vbKeyUp = 38, vbKeyRight = 39, vbKeyDown = 40, vbKeyInsert = 45, vbKeyDelete = 46,
    vbKeyF1 = 112,
};

std::int16_t ButtonCode(Qt::MouseButtons buttons);
std::int16_t ShiftCode(Qt::KeyboardModifiers modifiers);
// 0 for a key the runtime has no code for.
std::int16_t KeyCodeOf(const QKeyEvent *event);

// What one of Qt's mouse events means for a control or a form.
struct MouseReport {
    enum Kind { None, Down, Move, Click };
    Kind kind = None;
    std::int16_t Button = 0;
    std::int16_t Shift = 0;
    float X = 0;
    float Y = 0;
};

// The mouse state of one widget. Only the widget's own area counts: an
// event that a child widget passed up (a child that ignores the mouse) is
// swallowed without a report, so no control's mouse reaches its container
// or the form; while a press that began on the own area is held, the moves
// are the widget's wherever the pointer goes. A double click counts as a
// second press. A Click is a left press released over the widget.
class MouseInput {
public:
    // For every mouse event: true, and *report filled when the event is the
    // widget's own; false for any other event. Positions are taken relative
    // to origin (a picture box reports them in its drawing area).
    bool take(QWidget &widget, QEvent *event, MouseReport &report, QPoint origin = {});

private:
    bool m_leftPressed = false;
    bool m_captured = false;
};

// A control's event(): a mouse event becomes the control's signals
// MouseDown, MouseMove or Click and goes no further.
template <class Control>
bool EmitMouseSignals(Control &control, MouseInput &input, QEvent *event, QPoint origin = {})
{
    MouseReport r;
    if (!input.take(control, event, r, origin))
        return false;
    switch (r.kind) {
    case MouseReport::Down: emit control.MouseDown(r.Button, r.Shift, r.X, r.Y); break;
    case MouseReport::Move: emit control.MouseMove(r.Button, r.Shift, r.X, r.Y); break;
    case MouseReport::Click: emit control.Click(); break;
    case MouseReport::None: break;
    }
    return true;
}
