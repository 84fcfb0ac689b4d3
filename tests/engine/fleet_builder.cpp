#include "fleet_builder.h"

#include "clsGrid.h"
#include "runtime/random.h"

#include <utility>
#include <vector>

namespace {

// One boat: false when it got stuck (its cells are discarded again).
bool baueBoot(clsGrid &grid, Byte b, int W, int H)
{
    Byte teil = 0;
    for (;;) {
        std::vector<std::pair<Byte, Byte>> frei;
        for (int y = 1; y <= H; ++y)
            for (int x = 1; x <= W; ++x) {
                Byte bx = static_cast<Byte>(x), by = static_cast<Byte>(y);
                if (grid.CreatePoint(b, bx, by))
                    frei.emplace_back(bx, by);
            }
        if (frei.empty()) {
            grid.LoescheBoot(b);
            return false;
        }
        auto [x, y] = frei[static_cast<std::size_t>(RndDraw(static_cast<int>(frei.size())) - 1)];
        ++teil;
        if (!grid.SetzePunkt(b, teil, x, y)) {
            grid.ZeichneBoot(b);
            return true;
        }
    }
}

} // namespace

bool BaueSpielerFlotte(clsGrid &grid)
{
    const int W = grid.Groesse() == 1 ? 10 : grid.Groesse() == 2 ? 15 : 20;
    const int H = grid.Groesse() == 1 ? 8 : grid.Groesse() == 2 ? 12 : 16;
    for (int versuch = 0; versuch < 50; ++versuch) {
        if (!grid.ErstelleCFeld())
            return false;
        bool ok = true;
        for (int b = 1; b <= grid.AnzahlBoote() && ok; ++b) {
            int tries = 0;
            while (!baueBoot(grid, static_cast<Byte>(b), W, H))
                if (++tries == 20) {
                    ok = false;
                    break;
                }
        }
        if (ok)
            return true;
    }
    return false;
}
