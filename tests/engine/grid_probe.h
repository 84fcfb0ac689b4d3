#pragma once
// The engine's tests look at its private fields and call its private steps
// through this friend of clsGrid.
#include "clsGrid.h"

struct clsGridProbe {
    static Feld3<Byte> &pFeld(clsGrid &g) { return g.pFeld; }
    static Feld3<Byte> &cFeld(clsGrid &g) { return g.cFeld; }
    static Feld1<tBoot> &pBoote(clsGrid &g) { return g.pBoote; }
    static Feld1<tBoot> &cBoote(clsGrid &g) { return g.cBoote; }
    static Feld2<Byte> &Ziele(clsGrid &g) { return g.Ziele; }
    static void NeueFelder(clsGrid &g) { g.NeueFelder(); }
    static bool PlaziereCBoot(clsGrid &g, Byte n) { return g.PlaziereCBoot(n); }
    static bool ZufallsStart(clsGrid &g, Byte &c, Byte &r) { return g.ZufallsStart(c, r); }
    static Byte PruefeRichtung(clsGrid &g, Byte d, Byte c, Byte r) { return g.PruefeRichtung(d, c, r); }
    static void JageZiele(clsGrid &g) { g.JageZiele(); }
    static void SucheZiele(clsGrid &g) { g.SucheZiele(); }
};
