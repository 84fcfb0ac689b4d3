#pragma once
// The program's own yes/no box. A caller sets Text, shows the box modally
// and reads Ergebnis when the show returns; the box closes itself when it
// is answered. Text and answer outlive the window.
#include "runtime/form.h"

#include <QString>

#include "ui_frmMeldung.h"

class frmMeldung : public UiForm<frmMeldung, Ui::frmMeldung> {
    Q_OBJECT
public:
    QString Text() const { return mvarText; }
    // Loads the window (unshown) when it is not loaded.
    void setText(const QString &text);
    bool Ergebnis() const { return mvarErgebnis; }
    // Stores the answer and unloads the window.
    void setErgebnis(bool value);

protected:
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
