#pragma once
// The splash window that stands while the program starts: a picture, the
// program's version and a one-line notice. It takes no input; its timer,
// off when it loads, would unload it at its first tick.
#include "runtime/form.h"

#include "ui_frmStart.h"

class frmStart : public UiForm<frmStart, Ui::frmStart> {
    Q_OBJECT
protected:
    void SetupWindow(QWidget *window) override;
    void Form_Load() override;

private:
    friend class UiForm<frmStart, Ui::frmStart>;
    frmStart();
    ~frmStart() override;
    void timUhr_Timer();
};
