#include "runtime/optionbutton.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QScopedValueRollback>

namespace {
// True while an arrow key moves the focus within a group.
bool walkingByArrow = false;
} // namespace

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

OptionButton *OptionButton::selectedOfGroup() const
{
    if (!parentWidget())
        return nullptr;
    for (QObject *object : parentWidget()->children()) {
        auto *other = qobject_cast<OptionButton *>(object);
        if (other && other->isChecked() && other->isVisible() && other->isEnabled())
            return other;
    }
    return nullptr;
}

void OptionButton::focusInEvent(QFocusEvent *event)
{
    GraphicalButton::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (walkingByArrow || isChecked()
        || (reason != Qt::ActiveWindowFocusReason && reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason))
        return;
    if (OptionButton *selected = selectedOfGroup())
        selected->setFocus(reason);
}

void OptionButton::keyPressEvent(QKeyEvent *event)
{
    const QScopedValueRollback walking(walkingByArrow, true);
    GraphicalButton::keyPressEvent(event);
}
