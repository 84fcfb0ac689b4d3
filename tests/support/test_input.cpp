#include "support/test_input.h"

#include <QTest>
#include <QWidget>
#include <QWindow>

namespace testinput {

void hover(QWidget *widget, QPoint pos)
{
    QWidget *top = widget->window();
    top->winId(); // the native window the move arrives at
    QTest::mouseMove(top->windowHandle(), widget->mapTo(top, pos));
}

} // namespace testinput
