// Shared main() of every test binary: a QApplication on the offscreen
// platform (unless a display is asked for), the silent audio driver, and a
// configuration folder of its own that is removed at the end.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

int main(int argc, char **argv)
{
    // ctest's ENVIRONMENT is not applied when gtest_discover_tests lists the
    // tests at build time, so the defaults are set here too.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    // A death test runs in a child started afresh (a forked child would share
    // the parent's display connection, whose reading thread it lacks, and
    // hang on its first request). The child is part of its parent's test and
    // keeps the parent's configuration folder, as a forked one would.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::unique_ptr<QTemporaryDir> config;
    if (!getenv("MURVEL_TEST_CONFIG_HOME")) {
        config = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/murvel-test-XXXXXX");
        if (!config->isValid())
            return 2;
        setenv("MURVEL_TEST_CONFIG_HOME", config->path().toLocal8Bit().constData(), 1);
    }
    setenv("XDG_CONFIG_HOME", getenv("MURVEL_TEST_CONFIG_HOME"), 1);

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
