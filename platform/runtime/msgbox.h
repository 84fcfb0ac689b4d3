#pragma once
// The runtime library's message box: a modal box with an icon, a title and
// a text whose lines are joined with CR LF, and an OK button.
#include <QString>

enum VbMsgBoxStyle {
    vbOKOnly = 0,
    vbCritical = 16,
    vbExclamation = 48,
};

enum VbMsgBoxResult {
    vbOK = 1,
};

// Shows the box and returns when it is closed. Without a title the box is
// titled with the program's executable name.
VbMsgBoxResult MsgBox(const QString &prompt, int buttons = vbOKOnly, const QString &title = QString());
