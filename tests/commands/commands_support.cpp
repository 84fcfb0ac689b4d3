#include "commands_support.h"

#include "base/ansi.h"
#include "runtime/label.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFontMetrics>

namespace commandstest {

void ExpectTextsFit(QWidget *window)
{
    for (Label *label : window->findChildren<Label *>()) {
        const QFontMetrics metrics(label->font());
        for (const QString &line : label->Caption().split(QStringLiteral("\r\n")))
            EXPECT_LE(metrics.horizontalAdvance(line), label->width())
                << label->objectName().toStdString() << ": " << line.toStdString();
        EXPECT_LE(metrics.height(), label->height()) << label->objectName().toStdString();
    }
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        const QString caption = QString(button->text()).remove(QLatin1Char('&'));
        // A raised edge of two pixels on either side.
        EXPECT_LE(QFontMetrics(button->font()).horizontalAdvance(caption), button->width() - 4)
            << button->objectName().toStdString() << ": " << caption.toStdString();
    }
}

void WriteNameList(const QString &path, const QStringList &names)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    for (const QString &name : names)
        file.write(ansi::fromUnicode(name) + "\r\n");
}

} // namespace commandstest
