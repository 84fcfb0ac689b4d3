#include "frmHaupt.h"

frmHaupt::frmHaupt() = default;
frmHaupt::~frmHaupt() = default;

Label &frmHaupt::lblName(int index) { ui(); return m_lblName(index); }

void frmHaupt::SetupWindow(QWidget *window) { UiForm::SetupWindow(window); }
void frmHaupt::ForgetWindow() { UiForm::ForgetWindow(); }
void frmHaupt::Form_Load() {}
void frmHaupt::Form_Unload(std::int16_t &) {}
void frmHaupt::setModus(Byte vNewValue) { mvarModus = vNewValue; }
Byte frmHaupt::UpdateBoatCounts() { return 0; }
void frmHaupt::Grid_ChangePicSize() {}
