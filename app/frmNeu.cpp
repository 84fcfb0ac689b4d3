#include "frmNeu.h"
#include "ui_frmNeu.h"

#include "clsIntelliCombo.h"
#include "frmHaupt.h"
#include "modDeklarationen.h"

#include "runtime/doevents.h"


namespace {

// A typed name ends at 14 characters: the key after the 14th is refused.
constexpr int MaxTypedLength = 13;
const QString Unbekannt = QStringLiteral("Unbekannt");

} // namespace

frmNeu::frmNeu() = default;
frmNeu::~frmNeu() = default;

void frmNeu::SetupWindow(QWidget *window)
{
    UiForm::SetupWindow(window);
    Ui::frmNeu &controls = *loadedUi();
    optSize.Collect(window, QStringLiteral("optSize"));

    // The length rule has to see a key before the completion does, which
    // leaves a refused key alone: slots run in the order of their
    // connections, and this one is made before Form_Load binds the
    // completion.
    connect(controls.cboName, &ComboBox::KeyPress, this,
            [this](std::int16_t &KeyAscii) { cboName_KeyPress(KeyAscii); });
    connect(controls.cmdOK, &CommandButton::Click, this, [this] { cmdOK_Click(); });
    connect(controls.cmdAbbruch, &CommandButton::Click, this, [this] { cmdAbbruch_Click(); });
}

Byte frmNeu::SelectedSize()
{
    ui();
    for (int i = 0; i <= 2; ++i)
        if (optSize(i).Value())
            return static_cast<Byte>(i + 1);
    return 0;
}

void frmNeu::Form_Load()
{
    frmHaupt &haupt = frmHaupt::Instance();
    CentreOver(haupt);

    optSize(haupt.Grid->Groesse() - 1).setValue(true);

    ComboBox *cboName = ui().cboName;
    objIntelliCombo = std::make_unique<clsIntelliCombo>();
    objIntelliCombo->setCombo(cboName);
    // A missing or unreadable list leaves the field without names; the
    // player can type one all the same.
    objIntelliCombo->Load(modDeklarationen::strComboFile, false);
    objIntelliCombo->setEnabled(true);

    // Typing replaces the current name at once.
    cboName->setText(haupt.lblName(0).Caption());
    cboName->setSelStart(0);
    cboName->setSelLength(static_cast<std::int32_t>(cboName->Text().size()));
}

void frmNeu::Form_Paint()
{
    // The face paints when the dialog first shows and when it is uncovered,
    // not beneath a button being pressed, so this takes no click away.
    ui().cboName->setFocus();
}

void frmNeu::cboName_KeyPress(std::int16_t &KeyAscii)
{
    // Tab is no character of the name: it moves on to the next control.
    if (KeyAscii == vbKeyTab)
        return;
    if (ui().cboName->Text().size() > MaxTypedLength)
        KeyAscii = 0;
}

void frmNeu::cmdOK_Click()
{
    ComboBox *cboName = ui().cboName;
    if (cboName->Text().isEmpty())
        cboName->setText(Unbekannt);
    const Byte groesse = SelectedSize();
    const QString name = cboName->Text();

    Hide();
    DoEvents();

    frmHaupt &haupt = frmHaupt::Instance();
    haupt.Grid->setGroesse(groesse);
    haupt.Grid->setSpielerName(name);
    haupt.setModus(mdSetzen);
    Unload();
}

void frmNeu::cmdAbbruch_Click()
{
    Unload();
}

void frmNeu::Form_Unload(std::int16_t &Cancel)
{
    (void)Cancel;
    objIntelliCombo.reset();
}
