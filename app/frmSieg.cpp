#include "frmSieg.h"

frmSieg::frmSieg() = default;
frmSieg::~frmSieg() = default;
void frmSieg::setWinner(Byte w) { ui(); mvarWinner = w; }
QString frmSieg::ResultText() { ui(); return QString(); }
void frmSieg::setResultText(const QString &) { ui(); }
void frmSieg::Form_Load() {}
void frmSieg::cmdJa_Click() { Unload(); }
void frmSieg::cmdNein_Click() { Unload(); }
