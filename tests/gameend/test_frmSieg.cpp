// The victory dialog: the winner's title and shot count, its members, and
// its two buttons, "&Ja" leading into the top ten.
#include "gameend/gameend_fixture.h"

#include "frmHaupt.h"
#include "frmScore.h"
#include "frmSieg.h"

#include "runtime/commandbutton.h"
#include "runtime/image.h"
#include "runtime/label.h"
#include "runtime/picturebox.h"
#include "runtime/timer.h"

#include <QTest>

namespace {

using namespace gameend;

class VictoryDialog : public GameEnd {
protected:
    void SetUp() override
    {
        GameEnd::SetUp();
        useFieldSize(grNormal);
    }
    Image &title() { return control<Image>(sieg, QStringLiteral("imgTitle")); }
    Image &source(int w) { return control<Image>(sieg, QStringLiteral("imgQuelle_%1").arg(w)); }
    Label &bomben() { return control<Label>(sieg, QStringLiteral("lblBomben")); }
    CommandButton &button(const char *name) { return control<CommandButton>(sieg, QLatin1String(name)); }

    // Fills the dialog as the main window does at the end of a game.
    void fill(Byte winner, const QString &shots, Byte place, const QString &text)
    {
        frmHaupt::Instance().Bomben = shots;
        sieg.setWinner(winner);
        sieg.setPlace(place);
        sieg.setResultText(text);
    }

    // What the top-ten dialog opened by "&Ja" showed while it was open.
    struct TopTenSeen {
        bool opened = false;
        bool victoryUnloaded = false;
        bool callerReturned = true;
        Byte blinkRow = 0;
        bool blinking = false;
        COLORREF rowColour = Schwarz;
    };
    TopTenSeen answerJaAndLook(int row)
    {
        TopTenSeen seen;
        bool callerReturned = false;
        frmScore &score = frmScore::Instance();
        duringModal([&] {
            duringModal([&] {
                seen.opened = score.Visible();
                seen.victoryUnloaded = !sieg.IsLoaded();
                seen.callerReturned = callerReturned;
                seen.blinkRow = score.BlinkRow();
                seen.blinking = control<Timer>(score, QStringLiteral("timBlinker")).Enabled();
                auto &nr = control<Label>(score, QStringLiteral("lblNr_%1").arg(row));
                if (seen.blinking)
                    (void)QTest::qWaitFor([&] { return nr.ForeColor() == Rot; }, Patience);
                else // a row that does not blink would turn red at the first tick
                    QTest::qWait(700);
                seen.rowColour = nr.ForeColor();
                QTest::mouseClick(score.Window(), Qt::LeftButton, {}, QPoint(150, 40));
            });
            QTest::mouseClick(&button("cmdJa"), Qt::LeftButton);
        });
        sieg.Show(vbModal);
        callerReturned = true;
        EXPECT_FALSE(score.IsLoaded());
        return seen;
    }

    frmSieg &sieg = frmSieg::Instance();
};

TEST_F(VictoryDialog, EachWinnerGetsItsTitleCentredAndTheShotCountAsWritten)
{
    frmHaupt::Instance().Bomben = QStringLiteral("57");
    sieg.setWinner(seComputer);
    ASSERT_TRUE(sieg.IsLoaded());
    EXPECT_EQ(sieg.Winner(), seComputer);
    EXPECT_EQ(title().Picture(), source(seComputer).Picture());
    EXPECT_EQ(title().Width(), 153);
    EXPECT_EQ(title().Height(), 27);
    EXPECT_EQ(title().Left(), 116); // (385 - 153) / 2
    EXPECT_EQ(title().Top(), 16);
    EXPECT_EQ(bomben().Caption(), QStringLiteral("Mit nur 57 Wasserbomben!"));
    EXPECT_FALSE(source(0).Visible());
    EXPECT_FALSE(source(1).Visible());

    // The text is taken as it stands, whatever it holds.
    frmHaupt::Instance().Bomben = QStringLiteral("0042");
    sieg.setWinner(seMensch);
    EXPECT_EQ(title().Picture(), source(seMensch).Picture());
    EXPECT_EQ(title().Width(), 351);
    EXPECT_EQ(title().Left(), 17); // (385 - 351) / 2
    EXPECT_EQ(bomben().Caption(), QStringLiteral("Mit nur 0042 Wasserbomben!"));
}

TEST_F(VictoryDialog, LoadingCentresOverTheMainWindowAndPlaceTouchesNoControl)
{
    sieg.setPlace(7);
    EXPECT_FALSE(sieg.IsLoaded());
    EXPECT_EQ(sieg.Place(), 7);

    sieg.setResultText(QStringLiteral("Eins\r\nZwei"));
    ASSERT_TRUE(sieg.IsLoaded());
    EXPECT_FALSE(sieg.Visible());
    EXPECT_EQ(sieg.ResultText(), QStringLiteral("Eins\r\nZwei"));
    frmHaupt &haupt = frmHaupt::Instance();
    // Windows lie on whole pixels: one pixel is 15 twips.
    EXPECT_NEAR(sieg.Top(), haupt.Top() + HalfDifference(haupt.Height(), sieg.Height()), 14);
    EXPECT_NEAR(sieg.Left(), haupt.Left() + HalfDifference(haupt.Width(), sieg.Width()), 14);
    EXPECT_EQ(sieg.ScaleWidth(), 388);
    EXPECT_EQ(sieg.ScaleHeight(), 228);

    // The background fills the whole box, so the white texts stand on it.
    auto &hinten = control<PictureBox>(sieg, QStringLiteral("picHinten"));
    sieg.Show(vbModeless);
    ASSERT_FALSE(hinten.Picture().isNull());
    EXPECT_EQ(hinten.Image().size(), QSize(383, 223));
    for (const QPoint at : {QPoint(0, 0), QPoint(190, 80), QPoint(382, 221)})
        EXPECT_EQ(hinten.Image().pixel(at), hinten.Picture().pixel(at)) << at.x() << "," << at.y();

    // Unloaded, the fields keep their values; loaded again it is blank.
    sieg.setWinner(seComputer);
    sieg.Unload();
    EXPECT_EQ(sieg.Place(), 7);
    EXPECT_EQ(sieg.Winner(), seComputer);
    EXPECT_EQ(sieg.ResultText(), QString());
}

TEST_F(VictoryDialog, JaOpensTheTopTenWithTheNewRowBlinkingAndTheCallerWaitsForIt)
{
    fillList(2, {QStringLiteral("40"), QStringLiteral("45")});
    fill(seMensch, QStringLiteral("45"), 2, QStringLiteral("Anna, Du hast den Sieg errungen."));
    const TopTenSeen seen = answerJaAndLook(1);
    EXPECT_TRUE(seen.opened);
    EXPECT_TRUE(seen.victoryUnloaded);
    EXPECT_FALSE(seen.callerReturned);
    EXPECT_EQ(seen.blinkRow, 2);
    EXPECT_TRUE(seen.blinking);
    EXPECT_EQ(seen.rowColour, Rot);
    EXPECT_FALSE(sieg.IsLoaded());
    EXPECT_EQ(frmScore::Instance().BlinkRow(), 0);
}

TEST_F(VictoryDialog, APlaceOfZeroOpensTheTopTenWithoutABlinkingRow)
{
    fill(seComputer, QStringLiteral("99"), 0, QStringLiteral("Der Computer hat wiedermal gegen Dich gewonnen."));
    const TopTenSeen seen = answerJaAndLook(0);
    EXPECT_TRUE(seen.opened);
    EXPECT_EQ(seen.blinkRow, 0);
    EXPECT_FALSE(seen.blinking);
    EXPECT_EQ(seen.rowColour, Schwarz);
}

TEST_F(VictoryDialog, NeinJustCloses)
{
    fill(seMensch, QStringLiteral("30"), 1, QStringLiteral("Text"));
    duringModal([&] { QTest::mouseClick(&button("cmdNein"), Qt::LeftButton); });
    sieg.Show(vbModal);
    EXPECT_FALSE(sieg.IsLoaded());
    EXPECT_FALSE(frmScore::Instance().IsLoaded());
    EXPECT_EQ(sieg.Place(), 1);
}

TEST_F(VictoryDialog, TextsUseTheirFontsAndColoursAndTheButtonsTheDialogFace)
{
    sieg.Load();
    expectFaces(sieg, {{"lblText", true, false, 13, 0x00FFFFFF}, {"Label1", true, false, 13, 0x00FFFFFF},
                       {"lblBomben", true, false, 21, 0x004D0DAC}}); // RGB(172, 13, 77)
    EXPECT_EQ(control<Label>(sieg, QStringLiteral("Label1")).Caption(), QStringLiteral("Möchtest Du die Highscore-Tabelle ansehen?"));
    for (const char *name : {"lblText", "lblBomben", "Label1"})
        EXPECT_EQ(control<Label>(sieg, QLatin1String(name)).Alignment(), vbCenter) << name;
    EXPECT_EQ(button("cmdJa").Caption(), QStringLiteral("&Ja"));
    EXPECT_EQ(button("cmdNein").Caption(), QStringLiteral("&Nein"));
    for (const char *name : {"cmdJa", "cmdNein"}) {
        EXPECT_EQ(button(name).Style(), vbButtonGraphical) << name;
        EXPECT_EQ(button(name).BackColor(), 0x00FFC0C0u) << name;
    }
    EXPECT_EQ(button("cmdJa").nextInFocusChain(), &button("cmdNein"));
}

TEST_F(VictoryDialog, LooksRightForEitherWinner)
{
    const struct {
        Byte winner;
        const char *shots;
        QString text;
        const char *file;
    } cases[] = {
        {seMensch, "57", QStringLiteral("Maximilian, Du hast den Sieg errungen.\r\nSomit hast Du es auf den 10. Platz geschafft."), "gameend_frmSieg_mensch"},
        {seComputer, "312", QStringLiteral("Der Computer hat wiedermal gegen Dich gewonnen.\r\nEr gehört trotzdem nicht zu den Besten!"), "gameend_frmSieg_computer"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        fill(c.winner, QLatin1String(c.shots), 3, c.text);
        sieg.Show(vbModeless);
        for (Label *label : sieg.Window()->findChildren<Label *>()) {
            SCOPED_TRACE(label->objectName().toStdString());
            const QFontMetrics metrics(label->font());
            for (const QString &line : label->Caption().split(QStringLiteral("\r\n")))
                EXPECT_LE(metrics.horizontalAdvance(line), label->Width());
            EXPECT_LE(metrics.height() * (label->Caption().count(QStringLiteral("\r\n")) + 1), label->Height() + 2);
        }
        grabToPng(sieg, QLatin1String(c.file));
        sieg.Unload();
    }
}

} // namespace
