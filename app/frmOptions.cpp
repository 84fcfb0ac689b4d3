#include "frmOptions.h"

frmOptions::frmOptions() = default;
frmOptions::~frmOptions() = default;
void frmOptions::Form_Load() {}
void frmOptions::cmdÜbernehmen_Click() { Unload(); }
void frmOptions::cmdAbbruch_Click() { Unload(); }
