#include "engine_fixture.h"

#include "runtime/random.h"
#include "zellbilder_laden.h"

void EngineTest::SetUp()
{
    LadeZellbilder();
    picC = std::make_unique<PictureBox>();
    picP = std::make_unique<PictureBox>();
    name = std::make_unique<Label>();
    grid = std::make_unique<clsGrid>();
    grid->setPicC(picC.get());
    grid->setPicP(picP.get());
    grid->setNameLabel(name.get());
}

void EngineTest::neuesSpiel(Byte s, unsigned seed)
{
    Randomize(seed);
    grid->setGroesse(s);
    grid->Treffer = 0; // as the main window does on entering the placement
    ASSERT_TRUE(grid->ErstelleCFeld());
}

QImage EngineTest::zelle(PictureBox &box, int c, int r)
{
    const int cs = grid->ZellGroesse();
    return box.Image().copy((cs + 1) * (c - 1) + 1, (cs + 1) * (r - 1) + 1, cs, cs);
}

QImage EngineTest::alsZelle(const QImage &bild)
{
    PictureBox box;
    const int cs = grid->ZellGroesse();
    box.setWidth(cs + 2);
    box.setHeight(cs + 2);
    box.PaintPicture(bild, 0, 0, cs, cs);
    return box.Image();
}
