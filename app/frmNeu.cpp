#include "frmNeu.h"

#include "clsIntelliCombo.h"

frmNeu::frmNeu() = default;
frmNeu::~frmNeu() = default;
Byte frmNeu::SelectedSize() { return 0; }
void frmNeu::Form_Load() {}
void frmNeu::Form_Paint() {}
void frmNeu::Form_Unload(std::int16_t &) { objIntelliCombo.reset(); }
void frmNeu::cboName_KeyPress(std::int16_t &) {}
void frmNeu::cmdOK_Click() { Unload(); }
void frmNeu::cmdAbbruch_Click() { Unload(); }
