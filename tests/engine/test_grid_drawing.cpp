#include "engine_fixture.h"

#include "Zellbilder.h"

#include <QSignalSpy>
#include <QTest>

using namespace modDeklarationen;
using Drawing = EngineTest;

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kBlue = 0xFF0000FF;

// On every paint of a box, notes which cells show water.
class WasserProtokoll : public QObject {
public:
    WasserProtokoll(PictureBox &box, const QImage &wasser, int W, int H, int cs)
        : m_box(box), m_wasser(wasser), m_W(W), m_H(H), m_cs(cs) { box.installEventFilter(this); }
    std::vector<std::vector<bool>> bilder; // per paint: cell (c, r) at [(r-1)*W + c-1]

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        std::vector<bool> wasser;
        for (int r = 1; r <= m_H; ++r)
            for (int c = 1; c <= m_W; ++c)
                wasser.push_back(m_box.Image().copy((m_cs + 1) * (c - 1) + 1, (m_cs + 1) * (r - 1) + 1, m_cs, m_cs) == m_wasser);
        bilder.push_back(wasser);
        return false;
    }

private:
    PictureBox &m_box;
    QImage m_wasser;
    int m_W, m_H, m_cs;
};

} // namespace

TEST_F(Drawing, SizeOneLaysOutGridLinesAndWaterCells)
{
    grid->setGroesse(1);
    for (PictureBox *box : {picC.get(), picP.get()}) {
        EXPECT_EQ(box->Width(), 253);
        EXPECT_EQ(box->Height(), 203);
        for (int x = 0; x <= 250; ++x) {
            const bool linie = x % 25 == 0;
            for (int y : {1, 99, 199})
                ASSERT_EQ(box->Image().pixel(x, y) == kBlack, linie) << x << "," << y;
        }
        for (int y = 0; y <= 200; ++y)
            ASSERT_EQ(box->Image().pixel(13, y) == kBlack, y % 25 == 0) << y;
        // Cell (1, 1) covers 1..24, cell (10, 8) x 226..249 and y 176..199.
        EXPECT_EQ(box->Image().copy(1, 1, 24, 24), alsZelle(picBmp101));
        EXPECT_EQ(box->Image().copy(226, 176, 24, 24), alsZelle(picBmp101));
    }
    grid->setGroesse(2);
    EXPECT_EQ(picP->Width(), 288);
    EXPECT_EQ(picP->Height(), 231);
    grid->setGroesse(3);
    EXPECT_EQ(picC->Width(), 323);
    EXPECT_EQ(picC->Height(), 259);
    EXPECT_EQ(zelle(*picC, 20, 16), alsZelle(picBmp101));
}

TEST_F(Drawing, ChangePicSizeComesAfterTheResizeAndBeforeTheClearing)
{
    grid->setGroesse(2);
    picC->Line(3, 3, 4, 4, 0x0000FF, PictureBox::LineKind::BF);
    int aufrufe = 0;
    QObject::connect(grid.get(), &clsGrid::ChangePicSize, [&] {
        ++aufrufe;
        EXPECT_EQ(picC->Width(), 253);
        EXPECT_EQ(picP->Height(), 203);
        EXPECT_EQ(picC->Image().pixel(3, 3), 0xFFFF0000) << "not cleared yet";
    });
    grid->setGroesse(1);
    EXPECT_EQ(aufrufe, 1);
    EXPECT_NE(picC->Image().pixel(3, 3), 0xFFFF0000u);
}

TEST_F(Drawing, WaterFillsRingByRingWithOneRefreshPerRing)
{
    grid->setGroesse(1);
    // Side by side, as the main window shows them: a box paints once its
    // window is exposed, and one window covering the other whole keeps
    // that one from ever being exposed on a real display.
    picP->move(0, 0);
    picC->move(picP->width() + 10, 0);
    picP->show();
    picC->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(picP.get()));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(picC.get()));
    WasserProtokoll links(*picP, alsZelle(picBmp101), 10, 8, 24);
    WasserProtokoll rechts(*picC, alsZelle(picBmp101), 10, 8, 24);
    grid->setGroesse(1);

    // One refresh after the grid lines, then one after each of the four rings.
    ASSERT_EQ(links.bilder.size(), 5u);
    ASSERT_EQ(rechts.bilder.size(), 5u);
    for (int bild = 0; bild < 5; ++bild) {
        for (int r = 1; r <= 8; ++r)
            for (int c = 1; c <= 10; ++c) {
                const int ring = std::min({c, r, 11 - c, 9 - r});
                const bool soll = ring <= bild;
                ASSERT_EQ(links.bilder[bild][(r - 1) * 10 + c - 1], soll) << bild << ": " << c << "," << r;
                ASSERT_EQ(rechts.bilder[bild][(r - 1) * 10 + c - 1], soll) << bild << ": " << c << "," << r;
            }
    }
}

TEST_F(Drawing, SettingTheSameSizeAgainWipesTheBoxesButKeepsTheGame)
{
    neuesSpiel(1, 3);
    Byte b = 1, teil = 1, x = 2, y = 3;
    ASSERT_TRUE(grid->CreatePoint(b, x, y));
    grid->SetzePunkt(b, teil, x, y);
    // The blue mark covers exactly the cell: (26, 51) to (49, 74).
    EXPECT_EQ(picP->Image().pixel(26, 51), kBlue);
    EXPECT_EQ(picP->Image().pixel(49, 74), kBlue);
    EXPECT_EQ(picP->Image().pixel(25, 51), kBlack);
    EXPECT_EQ(picP->Image().pixel(50, 74), kBlack);
    EXPECT_EQ(picP->Image().pixel(26, 75), kBlack);
    QImage blau(24, 24, QImage::Format_RGB32);
    blau.fill(kBlue);
    EXPECT_EQ(zelle(*picP, 2, 3), blau);

    QSignalSpy spy(grid.get(), &clsGrid::ChangePicSize);
    grid->setGroesse(1);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(picP->Width(), 253);
    EXPECT_EQ(zelle(*picP, 2, 3), alsZelle(picBmp101));
    EXPECT_EQ(pFeld()(2, 3, ebBoot), 1) << "fields and fleets keep their contents";
    EXPECT_EQ(pBoote()(1).X(1), 2);
}

TEST_F(Drawing, FinishedDiscardedAndTransferredBoats)
{
    neuesSpiel(1, 4);
    const QImage wasser = alsZelle(picBmp101), boot = alsZelle(picBmp102);
    // Boat 1 (four cells): two cells placed, then into the waste bin.
    Byte b = 1;
    for (Byte teil = 1; teil <= 2; ++teil) {
        Byte x = static_cast<Byte>(3 + teil), y = 4;
        ASSERT_TRUE(grid->CreatePoint(b, x, y));
        ASSERT_TRUE(grid->SetzePunkt(b, teil, x, y));
    }
    EXPECT_FALSE(grid->LoescheBoot(b));
    EXPECT_EQ(zelle(*picP, 4, 4), wasser);
    EXPECT_EQ(zelle(*picP, 5, 4), wasser);
    EXPECT_EQ(pFeld()(4, 4, ebBoot), 0);
    EXPECT_EQ(pFeld()(5, 4, ebBoot), 0);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(pBoote()(1).X(i) + pBoote()(1).Y(i) + pBoote()(1).Z(i), 0);
    // Again on a boat without cells: nothing happens.
    const QImage vorher = picP->Image();
    EXPECT_FALSE(grid->LoescheBoot(b));
    EXPECT_EQ(picP->Image(), vorher);

    // Now anywhere else, as a first cell; finished, it shows boat tiles.
    Byte teil = 0;
    for (Byte y = 5; y <= 8; ++y) {
        Byte x = 9;
        ++teil;
        ASSERT_TRUE(grid->CreatePoint(b, x, y)) << int(y);
        EXPECT_EQ(grid->SetzePunkt(b, teil, x, y), teil < 4);
    }
    EXPECT_FALSE(grid->ZeichneBoot(b));
    for (int y = 5; y <= 8; ++y)
        EXPECT_EQ(zelle(*picP, 9, y), boot);

    grid->UebertrageBoote();
    for (int y = 5; y <= 8; ++y) {
        EXPECT_EQ(zelle(*picP, 9, y), wasser);
        EXPECT_EQ(zelle(*picC, 9, y), boot);
        EXPECT_EQ(pFeld()(9, y, ebBoot), 1);
    }
    EXPECT_EQ(zelle(*picC, 1, 1), wasser);
}

TEST_F(Drawing, ComputersUnhitBoatsAreShownWhenItWins)
{
    neuesSpiel(1, 5);
    // Boat 1 (four cells) hit once, boat 2 sunk, the rest never hit.
    Byte x = cBoote()(1).X(2), y = cBoote()(1).Y(2);
    ASSERT_EQ(grid->SpielerSchuss(x, y), scTreffer);
    for (int i = 1; i <= 3; ++i) {
        Byte sx = cBoote()(2).X(i), sy = cBoote()(2).Y(i);
        grid->SpielerSchuss(sx, sy);
    }
    grid->ZeigeCBoote();
    EXPECT_EQ(zelle(*picP, x, y), alsZelle(picBmp104));
    for (int i : {1, 3, 4})
        EXPECT_EQ(zelle(*picP, cBoote()(1).X(i), cBoote()(1).Y(i)), alsZelle(picBmp102));
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(zelle(*picP, cBoote()(2).X(i), cBoote()(2).Y(i)), alsZelle(picBmp105));
    for (int b = 3; b <= 8; ++b)
        for (int i = 1; i <= cBoote()(b).X.UBound(); ++i)
            EXPECT_EQ(zelle(*picP, cBoote()(b).X(i), cBoote()(b).Y(i)), alsZelle(picBmp102));
}
