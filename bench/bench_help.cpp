// How long the built help file takes to open: the file alone, and the
// whole help window from HtmlHelpA until it is shown and closed again.
#include "base/ansi.h"
#include "htmlhelp/chmfile.h"
#include "htmlhelp/htmlhelp.h"
#include "user32/user32.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QWidget>

#include <cstdlib>

namespace {

QString helpFile()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Hilfe.chm");
}

void OpenHelpFile(benchmark::State &state)
{
    const QString path = helpFile();
    for (auto _ : state) {
        auto file = ChmFile::open(path);
        if (!file)
            std::abort();
        benchmark::DoNotOptimize(file.get());
    }
}
BENCHMARK(OpenHelpFile)->Unit(benchmark::kMillisecond);

void ShowHelpWindow(benchmark::State &state)
{
    const QByteArray path = ansi::fromUnicode(helpFile());
    for (auto _ : state) {
        const HWND window = HtmlHelpA(0, path.constData(), HH_DISPLAY_TOC, 0);
        if (!window)
            std::abort();
        QCoreApplication::processEvents();
        state.PauseTiming();
        delete WidgetOf(window);
        state.ResumeTiming();
    }
}
BENCHMARK(ShowHelpWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
