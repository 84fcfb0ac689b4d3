#pragma once
// Shared set-up of the engine's tests: an engine with two real picture
// boxes (shown offscreen), a name label and the cell pictures loaded from
// the program's resources.
#include "clsGrid.h"
#include "grid_probe.h"

#include <gtest/gtest.h>

#include <QImage>

#include <memory>

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;

    // A new game of size class s with the generator seeded: empty fields
    // drawn, no hunt, the computer's fleet placed.
    void neuesSpiel(Byte s, unsigned seed);

    // The pixels of cell (c, r) of a box, and of a picture scaled as a cell.
    QImage zelle(PictureBox &box, int c, int r);
    QImage alsZelle(const QImage &bild);

    Feld3<Byte> &pFeld() { return clsGridProbe::pFeld(*grid); }
    Feld3<Byte> &cFeld() { return clsGridProbe::cFeld(*grid); }
    Feld1<tBoot> &pBoote() { return clsGridProbe::pBoote(*grid); }
    Feld1<tBoot> &cBoote() { return clsGridProbe::cBoote(*grid); }
    int W() { return grid->Groesse() == 1 ? 10 : grid->Groesse() == 2 ? 15 : 20; }
    int H() { return grid->Groesse() == 1 ? 8 : grid->Groesse() == 2 ? 12 : 16; }

    std::unique_ptr<PictureBox> picC, picP;
    std::unique_ptr<Label> name;
    std::unique_ptr<clsGrid> grid;
};
