#include "frmMeldung.h"

frmMeldung::frmMeldung() = default;
frmMeldung::~frmMeldung() = default;
void frmMeldung::setText(const QString &text) { ui(); mvarText = text; }
void frmMeldung::setErgebnis(bool value) { mvarErgebnis = value; Unload(); }
void frmMeldung::Form_Load() {}
void frmMeldung::cmdOK_Click() { setErgebnis(true); }
void frmMeldung::cmdAbbruch_Click() { setErgebnis(false); }
