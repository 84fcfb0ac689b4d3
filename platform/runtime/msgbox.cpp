#include "runtime/msgbox.h"
#include "runtime/program.h"

#include <QMessageBox>

VbMsgBoxResult MsgBox(const QString &prompt, int buttons, const QString &title)
{
    constexpr int iconMask = 0x70;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (buttons & iconMask) {
    case vbCritical: icon = QMessageBox::Critical; break;
    case vbExclamation: icon = QMessageBox::Warning; break;
    default: break;
    }
    QString text = prompt;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(icon, title.isEmpty() ? App::EXEName() : title, text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return vbOK;
}
