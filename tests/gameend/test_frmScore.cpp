// The top-ten dialog: its rows and size buttons, the quotas, the blinking
// row, the closing clicks and the clear question.
#include "gameend/gameend_fixture.h"

#include "frmHaupt.h"
#include "frmMeldung.h"
#include "frmScore.h"
#include "modDeklarationen.h"
#include "modMain.h"

#include "runtime/commandbutton.h"
#include "runtime/label.h"
#include "runtime/line.h"
#include "runtime/optionbutton.h"
#include "runtime/resources.h"
#include "runtime/timer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <array>
#include <tuple>

namespace {

using namespace gameend;
using modDeklarationen::strScore;
using modDeklarationen::strSnd110;

class TopTenDialog : public GameEnd {
protected:
    Label &cell(const char *array, int i) { return control<Label>(score, QStringLiteral("%1_%2").arg(QLatin1String(array)).arg(i)); }
    OptionButton &option(int i) { return control<OptionButton>(score, QStringLiteral("optSize_%1").arg(i)); }
    Timer &blinker() { return control<Timer>(score, QStringLiteral("timBlinker")); }

    QStringList column(const char *array)
    {
        QStringList texts;
        for (int i = 0; i < 10; ++i)
            texts << cell(array, i).Caption();
        return texts;
    }
    // The colours of row i's three labels, which always change together.
    COLORREF rowColour(int i)
    {
        const COLORREF nr = cell("lblNr", i).ForeColor();
        EXPECT_EQ(cell("lblName", i).ForeColor(), nr) << i;
        EXPECT_EQ(cell("lblQuote", i).ForeColor(), nr) << i;
        return nr;
    }
    int selectedOption()
    {
        int selected = -1;
        for (int i = 0; i < 3; ++i)
            if (option(i).Value()) {
                EXPECT_EQ(selected, -1) << "two size buttons selected";
                selected = i;
            }
        return selected;
    }
    QByteArray scoreFile()
    {
        QFile file(modDeklarationen::strScoreFile);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    frmScore &score = frmScore::Instance();
};

TEST_F(TopTenDialog, LoadBuildsTenRowsAndThreeSizeButtonsCentredOverTheMainWindow)
{
    useFieldSize(grNormal);
    score.Load();

    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        for (const auto &[array, left] : {std::pair{"lblNr", 24}, {"lblName", 64}, {"lblQuote", 200}}) {
            Label &label = cell(array, i);
            EXPECT_EQ(label.Top(), 112 + 22 * i);
            EXPECT_EQ(label.Left(), left);
            EXPECT_TRUE(label.Visible());
            EXPECT_EQ(label.font(), cell(array, 0).font());
            EXPECT_EQ(label.Alignment(), cell(array, 0).Alignment());
        }
        EXPECT_EQ(cell("lblNr", i).Caption(), QString::number(i + 1) + QLatin1Char('.'));
    }
    EXPECT_THROW(cell("lblNr", 10), std::runtime_error);

    // The table's three grid lines, 3 pixels wide.
    for (const auto &[name, x1, y1, x2, y2] : {std::tuple{"linTab_0", 56, 80, 56, 336}, {"linTab_1", 13, 104, 282, 104},
                                              {"linTab_2", 192, 80, 192, 336}}) {
        SCOPED_TRACE(name);
        auto &line = control<Line>(score, QLatin1String(name));
        EXPECT_EQ((std::array{line.X1(), line.Y1(), line.X2(), line.Y2(), line.BorderWidth()}), (std::array{x1, y1, x2, y2, 3}));
    }

    // Three buttons fill the bottom row up to the clear button.
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(option(i).Left(), 5 + 90 * i);
        EXPECT_EQ(option(i).Width(), 90);
        EXPECT_EQ(option(i).Top(), 355);
        EXPECT_EQ(option(i).Height(), 21);
        EXPECT_EQ(option(i).Caption(), QStringLiteral("Größe %1").arg(i + 1));
        EXPECT_EQ(option(i).ToolTipText(), QStringLiteral("Highscoretabelle entsprechend Spielebene anzeigen."));
        EXPECT_TRUE(option(i).Visible());
    }
    EXPECT_LE(option(2).Left() + option(2).Width(), control<CommandButton>(score, QStringLiteral("cmdClear")).Left());

    frmHaupt &haupt = frmHaupt::Instance();
    // Windows lie on whole pixels: one pixel is 15 twips.
    EXPECT_NEAR(score.Top(), haupt.Top() + HalfDifference(haupt.Height(), score.Height()), 14);
    EXPECT_NEAR(score.Left(), haupt.Left() + HalfDifference(haupt.Width(), score.Width()), 14);

    // The tune is loaded for the time the dialog is open.
    EXPECT_FALSE(strSnd110.isEmpty());
    EXPECT_EQ(strSnd110, LoadResData(110, QStringLiteral("SOUND")));
    EXPECT_EQ(score.BlinkRow(), 0);
    EXPECT_FALSE(blinker().Enabled());
    EXPECT_EQ(blinker().Interval(), 400);
}

TEST_F(TopTenDialog, OpensOnTheListOfTheFieldInPlayWithItsTruncatedQuota)
{
    fillList(1, {QStringLiteral("25")});
    fillList(2, {QStringLiteral("30")});
    fillList(3, {QStringLiteral("57")});
    // 1700 / 25 = 68; 2900 / 30 = 96.7; 4000 / 57 = 70.2.
    const QString expected[] = {QStringLiteral("25 (68%)"), QStringLiteral("30 (96%)"), QStringLiteral("57 (70%)")};
    for (Byte g = 1; g <= 3; ++g) {
        SCOPED_TRACE(g);
        useFieldSize(g);
        score.Show(vbModeless);
        EXPECT_EQ(selectedOption(), g - 1);
        EXPECT_EQ(cell("lblName", 0).Caption(), QStringLiteral("Spieler 1"));
        EXPECT_EQ(cell("lblQuote", 0).Caption(), expected[g - 1]);
        score.Unload();
    }
}

TEST_F(TopTenDialog, ShotsTextsAreShownAsStoredAndOnlyTheQuotaIsComputed)
{
    fillList(2, {QStringLiteral("29"), QStringLiteral("030"), QStringLiteral("1"), QStringLiteral("32767")});
    useFieldSize(grNormal);
    score.Load();
    EXPECT_EQ(column("lblQuote").mid(0, 5), (QStringList{QStringLiteral("29 (100%)"), QStringLiteral("030 (96%)"),
                                                        QStringLiteral("1 (2900%)"), QStringLiteral("32767 (0%)"),
                                                        QStringLiteral("?")}));
}

TEST_F(TopTenDialog, AListOfEmptyPlacesShowsUnbekanntAndQuestionMarks)
{
    useFieldSize(grLang);
    score.Load();
    EXPECT_EQ(column("lblName"), QStringList(10, QStringLiteral("unbekannt")));
    EXPECT_EQ(column("lblQuote"), QStringList(10, QStringLiteral("?")));
}

TEST_F(TopTenDialog, DamagedShotsTextsShowLikeAnEmptyPlace)
{
    // Only a damaged file holds these; none may fail the dialog.
    fillList(1, {QString(), QStringLiteral("abc"), QStringLiteral("0"), QStringLiteral("40000"), QStringLiteral("-5"),
                 QStringLiteral(" 25"), QStringLiteral("25x"), QStringLiteral("32768"), QStringLiteral("+7"),
                 QStringLiteral("12")});
    useFieldSize(grSchnell);
    score.Load();
    QStringList names(9, QStringLiteral("unbekannt"));
    names << QStringLiteral("Spieler 10");
    QStringList quotas(9, QStringLiteral("?"));
    quotas << QStringLiteral("12 (141%)");
    EXPECT_EQ(column("lblName"), names);
    EXPECT_EQ(column("lblQuote"), quotas);
}

TEST_F(TopTenDialog, TheFirstTickAt400MsTurnsTheRowRedAndTheNextBlackAgain)
{
    useFieldSize(grNormal);
    // Setting the row loads the window first; the value survives the load.
    score.setBlinkRow(3);
    ASSERT_TRUE(score.IsLoaded());
    EXPECT_EQ(score.BlinkRow(), 3);
    EXPECT_TRUE(blinker().Enabled());
    QElapsedTimer clock;
    clock.start();
    score.Show(vbModeless);

    QTest::qWait(250);
    EXPECT_EQ(rowColour(2), Schwarz);
    ASSERT_TRUE(waitFor([&] { return cell("lblNr", 2).ForeColor() == Rot; }));
    const qint64 red = clock.elapsed();
    EXPECT_GE(red, 360); // a coarse timer may fire up to 5 % early
    EXPECT_EQ(rowColour(2), Rot);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(rowColour(i), i == 2 ? Rot : Schwarz) << i;

    ASSERT_TRUE(waitFor([&] { return cell("lblNr", 2).ForeColor() == Schwarz; }));
    EXPECT_GE(clock.elapsed() - red, 360);

    ASSERT_TRUE(waitFor([&] { return cell("lblNr", 2).ForeColor() == Rot; }));
    score.setBlinkRow(0);
    EXPECT_FALSE(blinker().Enabled());
    EXPECT_EQ(rowColour(2), Schwarz);
}

TEST_F(TopTenDialog, ChoosingAnotherSizeShowsItsListAndEndsTheBlinking)
{
    fillList(1, {QStringLiteral("20"), QStringLiteral("21")});
    fillList(2, {QStringLiteral("40")});
    useFieldSize(grNormal);
    score.Show(vbModeless);
    score.setBlinkRow(1);
    ASSERT_TRUE(waitFor([&] { return rowColour(0) == Rot; }));

    QTest::mouseClick(&option(0), Qt::LeftButton);
    EXPECT_TRUE(score.IsLoaded());
    EXPECT_EQ(selectedOption(), 0);
    EXPECT_EQ(column("lblQuote").mid(0, 3), (QStringList{QStringLiteral("20 (85%)"), QStringLiteral("21 (80%)"), QStringLiteral("?")}));
    EXPECT_EQ(score.BlinkRow(), 0);
    EXPECT_FALSE(blinker().Enabled());
    EXPECT_EQ(rowColour(0), Schwarz);

    QTest::mouseClick(&option(2), Qt::LeftButton);
    EXPECT_EQ(selectedOption(), 2);
    EXPECT_EQ(column("lblQuote"), QStringList(10, QStringLiteral("?")));
    QTest::mouseClick(&option(1), Qt::LeftButton);
    EXPECT_EQ(cell("lblQuote", 0).Caption(), QStringLiteral("40 (72%)"));
    EXPECT_TRUE(score.IsLoaded());
}

TEST_F(TopTenDialog, ClicksOnTheFaceAndOnEveryLabelCloseItAndStopTheTune)
{
    useFieldSize(grNormal);
    const QStringList labels = {QStringLiteral("lblBeschriftung_0"), QStringLiteral("lblBeschriftung_1"),
                                QStringLiteral("lblBeschriftung_2"), QStringLiteral("lblBeschriftung_3"),
                                QStringLiteral("lblNr_0"), QStringLiteral("lblNr_9"), QStringLiteral("lblName_4"),
                                QStringLiteral("lblQuote_7")};
    for (const QString &target : labels + QStringList{QStringLiteral("face")}) {
        SCOPED_TRACE(target.toStdString());
        score.Show(vbModeless);
        score.setBlinkRow(5);
        ASSERT_FALSE(strSnd110.isEmpty());
        if (target == QLatin1String("face"))
            QTest::mouseClick(score.Window(), Qt::LeftButton, {}, QPoint(150, 40));
        else
            QTest::mouseClick(&control<Label>(score, target), Qt::LeftButton);
        EXPECT_FALSE(score.IsLoaded());
        EXPECT_TRUE(strSnd110.isEmpty());
        EXPECT_EQ(score.BlinkRow(), 0);
    }
}

// The clear question, answered while the dialog is shown modally by its
// caller: what each step saw, in the order the steps ran.
struct ClearRun {
    bool scoreHiddenDuringQuestion = false;
    QString question;
    bool shownAgain = false;
    bool outerReturnedBeforeClose = true;
    Byte blinkRowAgain = 0;
    bool blinkingAgain = false;
    QStringList namesAgain, quotasAgain;
    int optionAgain = -1;
};

// Runs step once the dialog shows again: clearing writes the file to disk
// first, which takes as long as the disk needs (bounded at 30 s, after
// which step runs and its checks fail).
void whenShownAgain(frmScore &score, const std::function<void()> &step, QElapsedTimer since = {})
{
    if (!since.isValid())
        since.start();
    duringModal([&score, step, since] {
        if (score.Visible() || since.elapsed() > 30000)
            step();
        else
            whenShownAgain(score, step, since);
    }, 5);
}

TEST_F(TopTenDialog, ClearingWhileARowBlinksEmptiesEveryListAndKeepsTheRowBlinking)
{
    for (int s = 1; s <= 3; ++s)
        fillList(s, {QStringLiteral("30"), QStringLiteral("31"), QStringLiteral("32"), QStringLiteral("33")});
    modMain::SaveScore();
    useFieldSize(grLang);
    score.Load();
    score.setBlinkRow(3);

    ClearRun run;
    bool outerReturned = false;
    duringModal([&] {
        duringModal([&] {
            run.scoreHiddenDuringQuestion = !score.Visible();
            run.question = frmMeldung::Instance().Text();
            grabToPng(frmMeldung::Instance(), QStringLiteral("gameend_clear_question"));
            whenShownAgain(score, [&] {
                run.shownAgain = score.Visible();
                run.outerReturnedBeforeClose = outerReturned;
                run.blinkRowAgain = score.BlinkRow();
                run.optionAgain = selectedOption();
                run.namesAgain = column("lblName");
                run.quotasAgain = column("lblQuote");
                // Still blinking: the row changes colour again.
                const COLORREF now = cell("lblNr", 2).ForeColor();
                run.blinkingAgain = blinker().Enabled() && waitFor([&] { return cell("lblNr", 2).ForeColor() != now; });
                QTest::mouseClick(&cell("lblName", 2), Qt::LeftButton);
            });
            answerMeldung(true);
        });
        QTest::mouseClick(&control<CommandButton>(score, QStringLiteral("cmdClear")), Qt::LeftButton);
    });
    score.Show(vbModal);
    outerReturned = true;

    EXPECT_TRUE(run.scoreHiddenDuringQuestion);
    EXPECT_EQ(run.question, QStringLiteral("\r\nSoll die Top-Ten wirklich gelöscht werden?"));
    EXPECT_TRUE(run.shownAgain);
    EXPECT_FALSE(run.outerReturnedBeforeClose);
    EXPECT_EQ(run.blinkRowAgain, 3);
    EXPECT_TRUE(run.blinkingAgain);
    EXPECT_EQ(run.optionAgain, 2);
    EXPECT_EQ(run.namesAgain, QStringList(10, QStringLiteral("unbekannt")));
    EXPECT_EQ(run.quotasAgain, QStringList(10, QStringLiteral("?")));
    EXPECT_FALSE(score.IsLoaded());

    // All three lists are cleared, in memory and in the file.
    const QByteArray file = scoreFile();
    ASSERT_EQ(file.size(), 1800);
    for (int s = 1; s <= 3; ++s)
        for (int p = 1; p <= 10; ++p) {
            EXPECT_EQ(strScore(p, s, 1), QStringLiteral("unbekannt"));
            EXPECT_EQ(strScore(p, s, 2), QStringLiteral("?"));
        }
    EXPECT_EQ(file.mid(0, 11), QByteArray("\x09\x00unbekannt", 11));
    EXPECT_EQ(file.mid(30, 3), QByteArray("\x01\x00?", 3));
}

TEST_F(TopTenDialog, NeinToTheClearQuestionChangesNothingAndShowsTheSameDialogAgain)
{
    fillList(2, {QStringLiteral("30"), QStringLiteral("44")});
    modMain::SaveScore();
    const QByteArray fileBefore = scoreFile();
    useFieldSize(grNormal);
    score.Load();
    const QStringList quotasBefore = column("lblQuote");

    ClearRun run;
    duringModal([&] {
        duringModal([&] {
            run.scoreHiddenDuringQuestion = !score.Visible();
            duringModal([&] {
                run.shownAgain = score.Visible();
                run.blinkRowAgain = score.BlinkRow();
                run.blinkingAgain = blinker().Enabled();
                run.quotasAgain = column("lblQuote");
                run.optionAgain = selectedOption();
                QTest::mouseClick(score.Window(), Qt::LeftButton, {}, QPoint(150, 40));
            });
            answerMeldung(false);
        });
        QTest::mouseClick(&control<CommandButton>(score, QStringLiteral("cmdClear")), Qt::LeftButton);
    });
    score.Show(vbModal);

    EXPECT_TRUE(run.scoreHiddenDuringQuestion);
    EXPECT_TRUE(run.shownAgain);
    EXPECT_EQ(run.blinkRowAgain, 0);
    EXPECT_FALSE(run.blinkingAgain);
    EXPECT_EQ(run.quotasAgain, quotasBefore);
    EXPECT_EQ(run.optionAgain, 1);
    EXPECT_EQ(scoreFile(), fileBefore);
    EXPECT_EQ(strScore(2, 2, 2), QStringLiteral("44"));
    EXPECT_FALSE(frmMeldung::Instance().Ergebnis());
}

TEST_F(TopTenDialog, ClosingTheClearQuestionWithoutAnAnswerClearsNothingAfterAnEarlierJa)
{
    fillList(2, {QStringLiteral("30"), QStringLiteral("44")});
    modMain::SaveScore();
    const QByteArray fileBefore = scoreFile();
    useFieldSize(grNormal);
    score.Load();
    frmMeldung::Instance().setErgebnis(true); // an earlier question answered "Ja"

    bool shownAgain = false;
    duringModal([&] {
        duringModal([&] {
            duringModal([&] {
                shownAgain = score.Visible();
                score.Unload();
            });
            frmMeldung::Instance().Window()->close(); // as the window manager closes it
        });
        QTest::mouseClick(&control<CommandButton>(score, QStringLiteral("cmdClear")), Qt::LeftButton);
    });
    score.Show(vbModal);

    EXPECT_TRUE(shownAgain);
    EXPECT_EQ(scoreFile(), fileBefore);
    EXPECT_EQ(strScore(2, 2, 2), QStringLiteral("44"));
}

TEST_F(TopTenDialog, LabelsUseTheirFontsOverTheDialogsOwnFace)
{
    useFieldSize(grNormal);
    score.Load();
    EXPECT_EQ(score.ScaleWidth(), 300);
    EXPECT_EQ(score.ScaleHeight(), 381);
    expectFaces(score, {{"lblBeschriftung_0", true, true, 13, Schwarz}, {"lblBeschriftung_2", true, true, 13, Schwarz},
                        {"lblBeschriftung_3", true, false, 11, 0x00FFFFFF}, {"lblNr_0", true, false, 16, Schwarz},
                        {"lblName_9", true, false, 16, Schwarz}, {"lblQuote_5", true, false, 16, Schwarz}});
    EXPECT_EQ(cell("lblNr", 4).Alignment(), vbRightJustify);
    EXPECT_EQ(cell("lblName", 4).Alignment(), vbLeftJustify);
    EXPECT_EQ(cell("lblQuote", 4).Alignment(), vbRightJustify);
    EXPECT_EQ(cell("lblBeschriftung", 1).Alignment(), vbCenter);
    EXPECT_EQ(option(1).BackColor(), 0x00FFC0C0u);
    EXPECT_EQ(option(1).Style(), vbButtonGraphical);
    auto &clear = control<CommandButton>(score, QStringLiteral("cmdClear"));
    EXPECT_FALSE(clear.Picture().isNull());
    EXPECT_EQ(clear.Caption(), QString());
    EXPECT_EQ(clear.ToolTipText(), QStringLiteral("Löscht die komplette Top-Ten!"));
}

TEST_F(TopTenDialog, LooksRightWithAFullListAndARedRow)
{
    fillList(2, {QStringLiteral("31"), QStringLiteral("35"), QStringLiteral("38"), QStringLiteral("42"),
                 QStringLiteral("47"), QStringLiteral("52"), QStringLiteral("58"), QStringLiteral("63"),
                 QStringLiteral("71"), QStringLiteral("104")});
    strScore(1, 2, 1) = QStringLiteral("Jürgen");
    strScore(4, 2, 1) = QStringLiteral("Großadmiral Ö");
    useFieldSize(grNormal);
    score.Show(vbModeless);
    score.setBlinkRow(2);
    ASSERT_TRUE(waitFor([&] { return rowColour(1) == Rot; }));

    // Every text of a realistic table fits its label on one line.
    for (Label *label : score.Window()->findChildren<Label *>()) {
        SCOPED_TRACE(label->objectName().toStdString());
        const QFontMetrics metrics(label->font());
        EXPECT_LE(metrics.horizontalAdvance(label->Caption()), label->Width());
        EXPECT_LE(metrics.height(), label->Height() + 2);
    }
    grabToPng(score, QStringLiteral("gameend_frmScore"));
}

} // namespace
