#pragma once
// The options dialog: sound, help balloons and the standard field size.
#include "runtime/form.h"

#include "ui_frmOptions.h"

class frmOptions : public UiForm<frmOptions, Ui::frmOptions> {
    Q_OBJECT
protected:
    void Form_Load() override;

private:
    friend class UiForm<frmOptions, Ui::frmOptions>;
    frmOptions();
    ~frmOptions() override;
    void cmdÜbernehmen_Click();
    void cmdAbbruch_Click();
};
