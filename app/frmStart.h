#pragma once
// The splash window that stands while the program starts.
#include "runtime/form.h"

#include "ui_frmStart.h"

class frmStart : public UiForm<frmStart, Ui::frmStart> {
    Q_OBJECT
protected:
    void Form_Load() override;

private:
    friend class UiForm<frmStart, Ui::frmStart>;
    frmStart();
    ~frmStart() override;
    void timUhr_Timer();
};
