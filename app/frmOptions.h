#pragma once
// The options dialog: sound, help balloons and the standard field size.
#include "runtime/controlarray.h"
#include "runtime/form.h"
#include "runtime/optionbutton.h"

#include "ui_frmOptions.h"

class frmOptions : public UiForm<frmOptions, Ui::frmOptions> {
    Q_OBJECT
protected:
    void SetupWindow(QWidget *window) override;
    void Form_Load() override;

private:
    friend class UiForm<frmOptions, Ui::frmOptions>;
    friend struct frmOptionsProbe; // the tests look inside
    frmOptions();
    ~frmOptions() override;
    void cmdÜbernehmen_Click();
    void cmdAbbruch_Click();

    ControlArray<OptionButton> optSize;
};
