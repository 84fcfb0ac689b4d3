#include "frmOptions.h"
#include "ui_frmOptions.h"

#include "clsGrid.h"
#include "frmHaupt.h"
#include "modDeklarationen.h"

#include "registry/settings.h"
#include "runtime/error.h"
#include "runtime/msgbox.h"
#include "runtime/program.h"

using namespace modDeklarationen;

frmOptions::frmOptions() = default;
frmOptions::~frmOptions() = default;

void frmOptions::SetupWindow(QWidget *window)
{
    UiForm::SetupWindow(window);
    Ui::frmOptions &controls = *loadedUi();
    optSize.Collect(window, QStringLiteral("optSize"));
    connect(controls.cmdUebernehmen, &CommandButton::Click, this, [this] { cmdÜbernehmen_Click(); });
    connect(controls.cmdAbbruch, &CommandButton::Click, this, [this] { cmdAbbruch_Click(); });
}

void frmOptions::Form_Load()
{
    CentreOver(frmHaupt::Instance());

    // A registry edited by hand may hold any number from 0 to 255: the
    // boxes show what the game makes of it (sound is off only at 0, the
    // balloons are on only at 1), and a size outside 1 to 3 shows the
    // default that the start-up takes for it.
    ui().chkSound->setValue(bytSound != 0 ? vbChecked : vbUnchecked);
    ui().chkHelp->setValue(bytHelp == 1 ? vbChecked : vbUnchecked);
    const int size = bytStdSize >= grSchnell && bytStdSize <= grLang ? int(bytStdSize) : int(grNormal);
    optSize(size - 1).setValue(true);
}

void frmOptions::cmdÜbernehmen_Click()
{
    bytSound = static_cast<std::uint8_t>(ui().chkSound->Value());
    bytHelp = static_cast<std::uint8_t>(ui().chkHelp->Value());
    for (int i = 0; i <= 2; ++i)
        if (optSize(i).Value())
            bytStdSize = static_cast<std::uint8_t>(i + 1);

    const QString section = QStringLiteral("Options");
    try {
        SaveSetting(App::EXEName(), section, QStringLiteral("Sound"), QString::number(bytSound));
        SaveSetting(App::EXEName(), section, QStringLiteral("StdSize"), QString::number(bytStdSize));
        SaveSetting(App::EXEName(), section, QStringLiteral("Help"), QString::number(bytHelp));
    } catch (const RuntimeError &) {
        // The new values hold for this run all the same; the player learns
        // that the next start will not have them.
        MsgBox(QStringLiteral("Die Einstellungen konnten nicht gespeichert werden."), vbExclamation);
    }
    Unload();
}

void frmOptions::cmdAbbruch_Click()
{
    Unload();
}
