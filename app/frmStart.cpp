#include "frmStart.h"

frmStart::frmStart() = default;
frmStart::~frmStart() = default;
void frmStart::Form_Load() {}
void frmStart::timUhr_Timer() { Unload(); }
