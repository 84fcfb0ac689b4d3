#pragma once
// What the tests of the commands and dialogs share besides the main
// window's fixture.
#include <QString>

#include <functional>

class QWidget;

namespace commandstest {

// Every caption of the window's labels and buttons fits its control in
// the control's own font (a button's mnemonic "&" takes no room).
void ExpectTextsFit(QWidget *window);

// Runs `act` once `ready` holds, from inside whatever modal show is
// waiting then; polls every few milliseconds.
void WhenReady(std::function<bool()> ready, std::function<void()> act);

// Writes the name list with CR LF after each entry.
void WriteNameList(const QString &path, const QStringList &names);

} // namespace commandstest
