#pragma once
// The top ten of one field size at a time, with a blinking row for a new
// entry, the top-ten tune while open, and a button that clears all lists.
#include "clsGrid.h"

#include "runtime/controlarray.h"
#include "runtime/form.h"
#include "runtime/label.h"
#include "runtime/optionbutton.h"

#include <cstdint>

#include "ui_frmScore.h"

class frmScore : public UiForm<frmScore, Ui::frmScore> {
    Q_OBJECT
public:
    Byte BlinkRow() const { return mvarBlinkRow; }
    // Loads the window first when needed; switches the blinking on (place
    // 1 to 10) or off (0, with every row back to black).
    void setBlinkRow(Byte row);
    void ShowTable(std::int16_t g);
    void ResetRowColors();

protected:
    void SetupWindow(QWidget *window) override;
    void Form_Load() override;
    void Form_Unload(std::int16_t &Cancel) override;
    void Form_Click() override;

private:
    friend class UiForm<frmScore, Ui::frmScore>;
    frmScore();
    ~frmScore() override;
    void lblBeschriftung_Click(std::int16_t Index);
    void lblName_Click(std::int16_t Index);
    void lblNr_Click(std::int16_t Index);
    void lblQuote_Click(std::int16_t Index);
    void optSize_Click(std::int16_t Index);
    void cmdClear_Click();
    void timBlinker_Timer();

    Byte mvarBlinkRow = 0;
    Byte bytSavedBlinkRow = 0;

    ControlArray<Label> lblBeschriftung, lblNr, lblName, lblQuote;
    ControlArray<OptionButton> optSize;
};
