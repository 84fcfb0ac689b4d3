#pragma once
// The end-of-game window: who won, the shot count, the result text, and
// the offer to see the top ten with the new entry blinking.
#include "clsGrid.h"

#include "runtime/controlarray.h"
#include "runtime/form.h"
#include "runtime/image.h"

#include <QString>

#include "ui_frmSieg.h"

class frmSieg : public UiForm<frmSieg, Ui::frmSieg> {
    Q_OBJECT
public:
    Byte Winner() const { return mvarWinner; }
    // Shows the winner's title picture and frmHaupt.Bomben's shot count.
    void setWinner(Byte w);
    Byte Place() const { return mvarPlace; }
    void setPlace(Byte place) { mvarPlace = place; }
    QString ResultText();
    void setResultText(const QString &text);

protected:
    void SetupWindow(QWidget *window) override;
    void Form_Load() override;

private:
    friend class UiForm<frmSieg, Ui::frmSieg>;
    frmSieg();
    ~frmSieg() override;
    void cmdJa_Click();
    void cmdNein_Click();

    Byte mvarWinner = seMensch;
    Byte mvarPlace = 0;

    ControlArray<Image> imgQuelle;
};
