#include "frmHaupt.h"

void frmHaupt::tbToolbar_ButtonClick(ToolbarButton *) {}
void frmHaupt::tbToolbar_MouseMove(std::int16_t, std::int16_t, float, float) {}
void frmHaupt::NewGame() {}
void frmHaupt::ShowOptions() {}
void frmHaupt::ShowTop10() {}
void frmHaupt::AskQuit() {}
void frmHaupt::ShowHelp() {}
void frmHaupt::BalloonToPointer() {}
void frmHaupt::Form_KeyUp(std::int16_t &, std::int16_t) {}
void frmHaupt::Form_MouseMove(std::int16_t, std::int16_t, float, float) {}
void frmHaupt::Form_MouseDown(std::int16_t, std::int16_t, float, float) {}
void frmHaupt::imgBoot_MouseMove(std::int16_t, std::int16_t, std::int16_t, float, float) {}
void frmHaupt::lblBeschriftung_MouseMove(std::int16_t, std::int16_t, std::int16_t, float, float) {}
void frmHaupt::lblcBoote_MouseMove(std::int16_t, std::int16_t, std::int16_t, float, float) {}
void frmHaupt::lblName_MouseMove(std::int16_t, std::int16_t, std::int16_t, float, float) {}
void frmHaupt::lblpBoote_MouseMove(std::int16_t, std::int16_t, std::int16_t, float, float) {}
void frmHaupt::picHinten_MouseMove(std::int16_t, std::int16_t, float, float) {}
void frmHaupt::picpFeld_MouseMove(std::int16_t, std::int16_t, float, float) {}
void frmHaupt::imgBoot_MouseDown(std::int16_t, std::int16_t, std::int16_t, float, float) {}
void frmHaupt::imgMüll_MouseDown(std::int16_t, std::int16_t, float, float) {}
void frmHaupt::lblBeschriftung_MouseDown(std::int16_t, std::int16_t, std::int16_t, float, float) {}
void frmHaupt::lblcBoote_MouseDown(std::int16_t, std::int16_t, std::int16_t, float, float) {}
void frmHaupt::lblName_MouseDown(std::int16_t, std::int16_t, std::int16_t, float, float) {}
void frmHaupt::lblpBoote_MouseDown(std::int16_t, std::int16_t, std::int16_t, float, float) {}
void frmHaupt::piccFeld_MouseDown(std::int16_t, std::int16_t, float, float) {}
void frmHaupt::BalloonOff() {}
void frmHaupt::timTTip_Timer() {}
void frmHaupt::TTip_NeedText(LONG, QString &) {}
