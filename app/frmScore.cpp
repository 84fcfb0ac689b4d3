#include "frmScore.h"

frmScore::frmScore() = default;
frmScore::~frmScore() = default;
void frmScore::setBlinkRow(Byte row) { ui(); mvarBlinkRow = row; }
void frmScore::ShowTable(std::int16_t) {}
void frmScore::ResetRowColors() {}
void frmScore::Form_Load() {}
void frmScore::Form_Unload(std::int16_t &) { mvarBlinkRow = 0; }
void frmScore::Form_Click() { Unload(); }
void frmScore::optSize_Click(std::int16_t) {}
void frmScore::cmdClear_Click() {}
void frmScore::timBlinker_Timer() {}
