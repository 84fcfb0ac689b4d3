// How fast the engine places the computer's fleet and chooses its shots,
// and how many shots the computer needs to sink a random player's fleet.
#include "clsGrid.h"
#include "fleet_builder.h"
#include "runtime/random.h"
#include "zellbilder_laden.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <chrono>
#include <cstdlib>

namespace {

// An engine drawing into two real (hidden) picture boxes.
struct Spiel {
    PictureBox links, rechts;
    clsGrid grid;
    explicit Spiel(Byte s)
    {
        grid.setPicP(&links);
        grid.setPicC(&rechts);
        grid.setGroesse(s);
    }
    // A new game with both fleets placed and the battle begun.
    void neu()
    {
        grid.Treffer = 0;
        if (!BaueSpielerFlotte(grid))
            std::abort();
        grid.UebertrageBoote();
    }
};

void ErstelleCFeld(benchmark::State &state)
{
    Randomize(1u);
    Spiel spiel(static_cast<Byte>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(spiel.grid.ErstelleCFeld());
}
BENCHMARK(ErstelleCFeld)->ArgName("Groesse")->DenseRange(1, 3)->Unit(benchmark::kMicrosecond);

// One computer shot, timed alone, over whole battles on the largest field.
void ComputerSchuss(benchmark::State &state)
{
    Randomize(2u);
    Spiel spiel(3);
    spiel.neu();
    int versenkt = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const Byte ergebnis = spiel.grid.ComputerSchuss();
        const auto ende = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(ende - start).count());
        if (ergebnis == scVersenkt && ++versenkt == spiel.grid.AnzahlBoote()) {
            spiel.neu();
            versenkt = 0;
        }
    }
}
BENCHMARK(ComputerSchuss)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Whole battles: the computer against random player's fleets. Reports the
// mean number of computer shots to sink a whole fleet; the time is that of
// the shots alone.
void Gefecht(benchmark::State &state)
{
    Randomize(3u);
    Spiel spiel(static_cast<Byte>(state.range(0)));
    double schuesse = 0;
    for (auto _ : state) {
        spiel.neu();
        const auto start = std::chrono::steady_clock::now();
        int versenkt = 0;
        while (versenkt < spiel.grid.AnzahlBoote()) {
            versenkt += spiel.grid.ComputerSchuss() == scVersenkt;
            ++schuesse;
        }
        const auto ende = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(ende - start).count());
    }
    state.counters["Schuesse"] = benchmark::Counter(schuesse, benchmark::Counter::kAvgIterations);
}
BENCHMARK(Gefecht)->ArgName("Groesse")->DenseRange(1, 3)->UseManualTime()->Iterations(2000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    LadeZellbilder();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
