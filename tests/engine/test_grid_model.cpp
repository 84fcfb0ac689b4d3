#include "engine_fixture.h"

#include "runtime/error.h"

#include <QSignalSpy>

using Model = EngineTest;

TEST_F(Model, NewEngineReadsItsDefaultsAndStoresThem)
{
    clsGrid g;
    EXPECT_EQ(g.Treffer, 0);
    EXPECT_EQ(g.ZellGroesse(), 24) << "an unset size class reads as 1";
    EXPECT_EQ(g.Groesse(), 1);
    EXPECT_EQ(g.SpielerName(), QStringLiteral("Unbekannt"));
    EXPECT_EQ(g.AnzahlBootsfelder(1), 17);
    EXPECT_EQ(g.AnzahlBootsfelder(2), 29);
    EXPECT_EQ(g.AnzahlBootsfelder(3), 40);
    EXPECT_EQ(g.AnzahlFelder(1), 80);
    EXPECT_EQ(g.AnzahlFelder(2), 180);
    EXPECT_EQ(g.AnzahlFelder(3), 320);
}

TEST_F(Model, PlayerNameGoesToTheLabelAndAnEmptyOneReadsUnbekannt)
{
    grid->setSpielerName(QStringLiteral("Jörg"));
    EXPECT_EQ(name->Caption(), QStringLiteral("Jörg"));
    EXPECT_EQ(grid->SpielerName(), QStringLiteral("Jörg"));
    grid->setSpielerName(QString());
    EXPECT_EQ(name->Caption(), QString());
    EXPECT_EQ(grid->SpielerName(), QStringLiteral("Unbekannt"));
    EXPECT_EQ(name->Caption(), QString()) << "reading the name does not touch the label";
}

TEST_F(Model, FreshFieldsAndFleetsFollowTheBoatNumbering)
{
    const std::vector<std::vector<int>> laengen = {
        {4, 3, 3, 2, 2, 1, 1, 1},
        {5, 4, 4, 3, 3, 2, 2, 2, 1, 1, 1, 1},
        {6, 5, 5, 4, 4, 3, 3, 2, 2, 2, 1, 1, 1, 1},
    };
    for (Byte s = 1; s <= 3; ++s) {
        grid->setGroesse(s);
        clsGridProbe::NeueFelder(*grid);
        const auto &soll = laengen[s - 1];
        ASSERT_EQ(grid->AnzahlBoote(), soll.size());
        for (int b = 1; b <= grid->AnzahlBoote(); ++b) {
            for (Feld1<tBoot> *flotte : {&pBoote(), &cBoote()}) {
                const tBoot &boot = (*flotte)(b);
                ASSERT_EQ(boot.X.UBound(), soll[b - 1]) << int(s) << "/" << b;
                ASSERT_EQ(boot.Y.UBound(), soll[b - 1]);
                ASSERT_EQ(boot.Z.UBound(), soll[b - 1]);
                for (int i = 1; i <= boot.X.UBound(); ++i)
                    EXPECT_EQ(boot.X(i) + boot.Y(i) + boot.Z(i), 0);
            }
        }
        for (Feld3<Byte> *feld : {&pFeld(), &cFeld()}) {
            ASSERT_EQ(feld->UBound(1), W());
            ASSERT_EQ(feld->UBound(2), H());
            ASSERT_EQ(feld->UBound(3), 3);
            for (int x = 1; x <= W(); ++x)
                for (int y = 1; y <= H(); ++y)
                    for (int l = 1; l <= 3; ++l)
                        ASSERT_EQ((*feld)(x, y, l), 0);
        }
    }
}

TEST_F(Model, SizeClassOutsideOneToThreeIsASubscriptErrorNotAStrayAccess)
{
    grid->setGroesse(2);
    QSignalSpy spy(grid.get(), &clsGrid::ChangePicSize);
    try {
        grid->setGroesse(7);
        FAIL() << "size class 7 was accepted";
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.Number(), 9);
    }
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(picC->Width(), 288) << "the boxes keep their last layout";
    EXPECT_THROW(grid->AnzahlBootsfelder(0), RuntimeError);
}

TEST_F(Model, RemainingBoatsByState)
{
    Byte modus = 0;
    neuesSpiel(1, 1);
    for (const auto &seite : grid->RestBoote(modus))
        for (const QString &e : seite)
            EXPECT_EQ(e, QStringLiteral("?"));

    using Zeile = std::array<QString, 6>;
    auto zeile = [](std::initializer_list<const char *> l) {
        Zeile z;
        int i = 0;
        for (const char *s : l)
            z[i++] = QString::fromLatin1(s);
        return z;
    };
    modus = 1;
    EXPECT_EQ(grid->RestBoote(modus)[seMensch], zeile({"0", "0", "1", "2", "2", "3"}));
    EXPECT_EQ(grid->RestBoote(modus)[seComputer], zeile({"0", "0", "0", "0", "0", "0"}));

    // The four-cell boat complete, boat 2 started.
    Byte b = 1;
    Byte teil = 0;
    for (Byte x = 2; x <= 5; ++x) {
        Byte y = 2;
        ++teil;
        ASSERT_TRUE(grid->CreatePoint(b, x, y));
        grid->SetzePunkt(b, teil, x, y);
    }
    b = 2;
    teil = 1;
    Byte x = 8, y = 6;
    ASSERT_TRUE(grid->CreatePoint(b, x, y));
    grid->SetzePunkt(b, teil, x, y);
    EXPECT_EQ(grid->RestBoote(modus)[seMensch], zeile({"0", "0", "0", "1", "2", "3"}));
    EXPECT_EQ(modus, 1) << "the state is read, not changed";

    neuesSpiel(3, 2);
    modus = 2;
    EXPECT_EQ(grid->RestBoote(modus)[seMensch], zeile({"1", "2", "2", "2", "3", "4"}));
    EXPECT_EQ(grid->RestBoote(modus)[seComputer], zeile({"1", "2", "2", "2", "3", "4"}));

    // Sink a computer's two-cell boat (8) and hit another (9): one less in class 5 only.
    for (int i = 1; i <= 2; ++i) {
        Byte cx = cBoote()(8).X(i), cy = cBoote()(8).Y(i);
        grid->SpielerSchuss(cx, cy);
    }
    Byte hx = cBoote()(9).X(1), hy = cBoote()(9).Y(1);
    ASSERT_EQ(grid->SpielerSchuss(hx, hy), scTreffer);
    EXPECT_EQ(grid->RestBoote(modus)[seComputer], zeile({"1", "2", "2", "2", "2", "4"}));
    EXPECT_EQ(grid->RestBoote(modus)[seMensch], zeile({"1", "2", "2", "2", "3", "4"}));

    // Every computer's boat sunk.
    for (int boot = 1; boot <= grid->AnzahlBoote(); ++boot)
        for (int i = 1; i <= cBoote()(boot).X.UBound(); ++i) {
            Byte cx = cBoote()(boot).X(i), cy = cBoote()(boot).Y(i);
            grid->SpielerSchuss(cx, cy);
        }
    EXPECT_EQ(grid->RestBoote(modus)[seComputer], zeile({"0", "0", "0", "0", "0", "0"}));

    modus = 5;
    for (const auto &seite : grid->RestBoote(modus))
        for (const QString &e : seite)
            EXPECT_TRUE(e.isEmpty());
}
