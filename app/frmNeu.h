#pragma once
// The new-game dialog: the player's name, completed from the name list,
// and the field size; OK starts the placement.
#include "clsGrid.h"
#include "ui_frmNeu.h"

#include "runtime/controlarray.h"
#include "runtime/form.h"
#include "runtime/optionbutton.h"

#include <cstdint>
#include <memory>

class clsIntelliCombo;

class frmNeu : public UiForm<frmNeu, Ui::frmNeu> {
    Q_OBJECT
public:
    // The size class of the checked option, 0 when none is.
    Byte SelectedSize();

protected:
    void SetupWindow(QWidget *window) override;
    void Form_Load() override;
    void Form_Paint() override;
    void Form_Unload(std::int16_t &Cancel) override;

private:
    friend class UiForm<frmNeu, Ui::frmNeu>;
    friend struct frmNeuProbe; // the tests look inside
    frmNeu();
    ~frmNeu() override;
    void cboName_KeyPress(std::int16_t &KeyAscii);
    void cmdOK_Click();
    void cmdAbbruch_Click();

    std::unique_ptr<clsIntelliCombo> objIntelliCombo;
    ControlArray<OptionButton> optSize;
};
