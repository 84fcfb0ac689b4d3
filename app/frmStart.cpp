#include "frmStart.h"

#include "runtime/program.h"

frmStart::frmStart() = default;
frmStart::~frmStart() = default;

void frmStart::SetupWindow(QWidget *window)
{
    UiForm::SetupWindow(window);
    connect(ui().timUhr, &Timer::Tick, this, &frmStart::timUhr_Timer);
}

void frmStart::Form_Load()
{
    CentreOnScreen();
    // Each number in full decimal, without leading zeros.
    ui().lblVersion->setCaption(
        QStringLiteral("Version %1.%2.%3").arg(App::Major()).arg(App::Minor()).arg(App::Revision()));
}

void frmStart::timUhr_Timer() { Unload(); }
