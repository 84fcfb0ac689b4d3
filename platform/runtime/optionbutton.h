#pragma once
// The runtime's option button: one of a group, the option buttons of one
// container; selecting one clears the others. Click is raised whenever it
// becomes selected: by the user, and also when the program sets Value to
// True (even when it was selected already). In the graphical style it looks
// like a command button that stays pressed while selected, with its
// Picture above the caption.
#include "runtime/control.h"
#include "runtime/graphicalbutton.h"

class OptionButton : public GraphicalButton, public Control<OptionButton> {
    Q_OBJECT
    Q_PROPERTY(bool Value READ Value WRITE setValue)

public:
    explicit OptionButton(QWidget *parent = nullptr);

    bool Value() const { return isChecked(); }
    void setValue(bool value);

    void CopyFrom(const OptionButton &other) { CopyButtonFrom(other); }

protected:
    bool sunken() const override { return isDown() || isChecked(); }
};
