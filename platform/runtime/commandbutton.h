#pragma once
// The runtime's command button: Click when pressed (mouse, space, or Alt
// with the caption's mnemonic letter). In the graphical style it shows its
// Picture centred above the caption on a face of its BackColor.
#include "runtime/control.h"
#include "runtime/graphicalbutton.h"

class CommandButton : public GraphicalButton, public Control<CommandButton> {
    Q_OBJECT

public:
    explicit CommandButton(QWidget *parent = nullptr);

    void CopyFrom(const CommandButton &other) { CopyButtonFrom(other); }
};
