#pragma once
// The program's own yes/no box. A caller sets Text, shows the box modally
// and reads Ergebnis when the show returns; the box closes itself when it
// is answered. Text and answer outlive the window: closing it in any other
// way keeps the answer it had. Neither button is a default or cancel
// button, so Enter and Esc give no answer; Alt+J and Alt+N do.
#include "runtime/form.h"

#include <QString>

#include "ui_frmMeldung.h"

class frmMeldung : public UiForm<frmMeldung, Ui::frmMeldung> {
    Q_OBJECT
public:
    QString Text() const { return mvarText; }
    // Loads the window (unshown, centred) when it is not loaded.
    void setText(const QString &text);
    bool Ergebnis() const { return mvarErgebnis; }
    // Stores the answer and unloads the window.
    void setErgebnis(bool value);

    // The window the box centres over each time it loads: the main window.
    // A test may put a window of its own in its place.
    static Form &(*CentreOwner)();

protected:
    void SetupWindow(QWidget *window) override;
    void Form_Load() override;

private:
    friend class UiForm<frmMeldung, Ui::frmMeldung>;
    frmMeldung();
    ~frmMeldung() override;
    void cmdOK_Click();
    void cmdAbbruch_Click();

    QString mvarText;
    bool mvarErgebnis = false;
};
