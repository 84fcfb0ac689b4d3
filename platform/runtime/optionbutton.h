#pragma once
// The runtime's option button: one of a group, the option buttons of one
// container; selecting one clears the others. Click is raised whenever it
// becomes selected: by the user, and also when the program sets Value to
// True (even when it was selected already). In the graphical style it looks
// like a command button that stays pressed while selected, with its
// Picture above the caption. The keyboard enters a group at its selected
// button (when a window opens, by Tab and Shift+Tab); the arrow keys walk
// through the group and select the button they reach.
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
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The selected button of this one's group; nullptr when none is.
    OptionButton *selectedOfGroup() const;
};
