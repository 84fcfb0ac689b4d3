#include "runtime/label.h"

#include <gtest/gtest.h>

TEST(Label, CaptionIsShownAsPlainText)
{
    Label label;
    EXPECT_EQ(label.Caption(), QString());
    label.setCaption(QStringLiteral("<b>Jörg & Co</b>"));
    EXPECT_EQ(label.Caption(), QStringLiteral("<b>Jörg & Co</b>"));
    EXPECT_EQ(label.textFormat(), Qt::PlainText);
    label.setCaption(QString());
    EXPECT_TRUE(label.Caption().isEmpty());
}
