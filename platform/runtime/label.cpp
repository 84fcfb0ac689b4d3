#include "runtime/label.h"

Label::Label(QWidget *parent)
    : QLabel(parent)
{
    // A caption is shown as typed: no markup, no mnemonics.
    setTextFormat(Qt::PlainText);
}
