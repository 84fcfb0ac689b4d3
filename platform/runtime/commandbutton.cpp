#include "runtime/commandbutton.h"

CommandButton::CommandButton(QWidget *parent)
    : GraphicalButton(parent)
{
    connect(this, &QPushButton::clicked, this, &GraphicalButton::Click);
}
