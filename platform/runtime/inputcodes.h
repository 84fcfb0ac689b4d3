#pragma once
// The runtime's codes for mouse buttons, shift keys and keys, as its
// controls report them in their events.
#include <QtGlobal>
#include <Qt>

#include <cstdint>

class QKeyEvent;

// Mouse buttons and shift keys.
enum : std::int16_t { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };
enum : std::int16_t { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };

// Key codes of KeyDown and KeyUp: letters and digits are their upper-case
// ASCII codes; these are others the game meets.
enum : std::int16_t {
    vbKeyBack = 8, vbKeyTab = 9, vbKeyReturn = 13, vbKeyEscape = 27, vbKeySpace = 32,
    vbKeyLeft = 37, vbKeyUp = 38, vbKeyRight = 39, vbKeyDown = 40, vbKeyDelete = 46,
    vbKeyF1 = 112,
};

std::int16_t ButtonCode(Qt::MouseButtons buttons);
std::int16_t ShiftCode(Qt::KeyboardModifiers modifiers);
// 0 for a key the runtime has no code for.
std::int16_t KeyCodeOf(const QKeyEvent *event);
