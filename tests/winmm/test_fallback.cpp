// With a driver that finds no device (ALSA on a machine without sound
// hardware), sounds play through the silent driver, keep their time, and
// nothing about it reaches the terminal.
#include "winmm/sound_device.h"
#include "winmm/wave_image.h"
#include "winmm/winmm.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <chrono>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

class NoDevice : public testing::Environment {
public:
    void SetUp() override
    {
        setenv("SDL_AUDIODRIVER", "alsa", 1);
        setenv("ALSA_CONFIG_PATH", "/nonexistent/murvel-no-alsa.conf", 1);
    }
};
const auto *const registered = testing::AddGlobalTestEnvironment(new NoDevice);

// What the process writes to stderr while `run` runs.
template <class Run>
std::string stderrOf(Run run)
{
    std::FILE *caught = std::tmpfile();
    std::fflush(stderr);
    const int terminal = dup(STDERR_FILENO);
    dup2(fileno(caught), STDERR_FILENO);
    run();
    std::fflush(stderr);
    dup2(terminal, STDERR_FILENO);
    close(terminal);
    std::string text;
    std::rewind(caught);
    for (int c; (c = std::fgetc(caught)) != EOF;)
        text += static_cast<char>(c);
    std::fclose(caught);
    return text;
}

TEST(SoundFallback, ASynchronousSoundStillTakesItsTimeWithoutADevice)
{
    const QByteArray sound = testwave::pcm(22050, 16, 1, testwave::frames(22050, 500), 2000);
    QElapsedTimer clock;
    const std::string said = stderrOf([&] {
        clock.start();
        EXPECT_EQ(sndPlaySoundA(sound, SND_NODEFAULT | SND_MEMORY), TRUE);
        EXPECT_GE(clock.elapsed(), 500);
        // Loading SDL, the failed attempt at ALSA and the silent driver's
        // opening all come first, within the device's allowance.
        const auto allowance = std::chrono::duration_cast<std::chrono::milliseconds>(winmm::SoundDevice::openAllowance);
        EXPECT_LE(clock.elapsed(), allowance.count() + testwave::longestPlay(500));
    });
    EXPECT_EQ(said, "");
}

} // namespace
