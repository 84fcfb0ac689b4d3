// Shared main() of every test binary: a QApplication on the offscreen
// platform (unless a display is asked for), the silent audio driver, and a
// configuration folder of its own that is removed at the end.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>

int main(int argc, char **argv)
{
    // ctest's ENVIRONMENT is not applied when gtest_discover_tests lists the
    // tests at build time, so the defaults are set here too.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    QTemporaryDir config(QDir::tempPath() + "/murvel-test-XXXXXX");
    if (!config.isValid())
        return 2;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
