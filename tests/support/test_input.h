#pragma once
#include <QPoint>

class QWidget;

namespace testinput {

// Moves the mouse, no button held, to pos on widget the way the window
// system reports a move: into the widget's top-level window, which hands it
// to whatever child lies there. QTest::mouseMove on a widget warps the real
// pointer instead, and a real X server reports that warp later (after the
// test has looked) and to whichever window is on top there.
void hover(QWidget *widget, QPoint pos);

} // namespace testinput
