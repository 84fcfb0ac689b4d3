#include "runtime/optionbutton.h"

OptionButton::OptionButton(QWidget *parent)
    : GraphicalButton(parent)
{
    setCheckable(true);
    // One group per container: the option buttons that share a parent.
    setAutoExclusive(true);
    connect(this, &QPushButton::clicked, this, [this] {
        if (isChecked())
            emit Click();
    });
}

void OptionButton::setValue(bool value)
{
    if (value) {
        setChecked(true);
        emit Click();
        return;
    }
    // An exclusive button cannot be cleared directly.
    setAutoExclusive(false);
    setChecked(false);
    setAutoExclusive(true);
}
