#pragma once
// What the tests of the commands and dialogs share besides the main
// window's fixture.
#include <QString>
#include <QStringList>

class QWidget;

namespace commandstest {

// Every caption of the window's labels and buttons fits its control in
// the control's own font (a button's mnemonic "&" takes no room).
void ExpectTextsFit(QWidget *window);

// Writes the name list with CR LF after each entry.
void WriteNameList(const QString &path, const QStringList &names);

} // namespace commandstest
