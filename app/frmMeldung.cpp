#include "frmMeldung.h"

#include "frmHaupt.h"

namespace {
Form &mainWindow() { return frmHaupt::Instance(); }
} // namespace

Form &(*frmMeldung::CentreOwner)() = mainWindow;

frmMeldung::frmMeldung() = default;
frmMeldung::~frmMeldung() = default;

void frmMeldung::SetupWindow(QWidget *window)
{
    UiForm::SetupWindow(window);
    connect(ui().cmdOK, &CommandButton::Click, this, &frmMeldung::cmdOK_Click);
    connect(ui().cmdAbbruch, &CommandButton::Click, this, &frmMeldung::cmdAbbruch_Click);
}

void frmMeldung::setText(const QString &text)
{
    mvarText = text;
    ui().lblMeldung->setCaption(text);
}

void frmMeldung::setErgebnis(bool value)
{
    mvarErgebnis = value;
    Unload();
}

void frmMeldung::Form_Load()
{
    CentreOver(CentreOwner());
}

void frmMeldung::cmdOK_Click() { setErgebnis(true); }
void frmMeldung::cmdAbbruch_Click() { setErgebnis(false); }
