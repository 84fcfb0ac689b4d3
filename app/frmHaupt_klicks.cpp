#include "frmHaupt.h"

void frmHaupt::picpFeld_MouseDown(std::int16_t, std::int16_t, float, float) {}
void frmHaupt::imgMüll_Click() {}
void frmHaupt::Sieg_Mensch() {}
void frmHaupt::Sieg_Computer() {}
