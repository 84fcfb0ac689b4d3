#include "frmSieg.h"
#include "ui_frmSieg.h"

#include "frmHaupt.h"
#include "frmScore.h"

#include "runtime/doevents.h"

frmSieg::frmSieg() = default;
frmSieg::~frmSieg() = default;

void frmSieg::SetupWindow(QWidget *window)
{
    UiForm::SetupWindow(window);
    imgQuelle.Collect(window, QStringLiteral("imgQuelle"));
    connect(loadedUi()->cmdJa, &CommandButton::Click, this, [this] { cmdJa_Click(); });
    connect(loadedUi()->cmdNein, &CommandButton::Click, this, [this] { cmdNein_Click(); });
}

void frmSieg::setWinner(Byte w)
{
    mvarWinner = w;
    auto &u = ui();
    u.imgTitle->setPicture(imgQuelle(w).Picture());
    u.imgTitle->setLeft(HalfDifference(u.picHinten->Width(), u.imgTitle->Width()));
    DoEvents();
    u.lblBomben->setCaption(QStringLiteral("Mit nur ") + frmHaupt::Instance().Bomben + QStringLiteral(" Wasserbomben!"));
}

QString frmSieg::ResultText()
{
    return ui().lblText->Caption();
}

void frmSieg::setResultText(const QString &text)
{
    ui().lblText->setCaption(text);
}

void frmSieg::Form_Load()
{
    CentreOver(frmHaupt::Instance());
}

void frmSieg::cmdJa_Click()
{
    frmScore &score = frmScore::Instance();
    score.Load();
    Unload();
    // The place outlives the window.
    score.setBlinkRow(Place());
    score.Show(vbModal);
}

void frmSieg::cmdNein_Click()
{
    Unload();
}
