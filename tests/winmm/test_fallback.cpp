// With a driver that finds no device (ALSA on a machine without sound
// hardware), sounds play through the silent driver and keep their time.
#include "winmm/wave_image.h"
#include "winmm/winmm.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <cstdlib>

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

TEST(SoundFallback, ASynchronousSoundStillTakesItsTimeWithoutADevice)
{
    const QByteArray sound = testwave::pcm(22050, 16, 1, testwave::frames(22050, 500), 2000);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(sndPlaySoundA(sound, SND_NODEFAULT | SND_MEMORY), TRUE);
    EXPECT_GE(clock.elapsed(), 500);
    EXPECT_LE(clock.elapsed(), 1200); // includes the failed attempt to open ALSA
}

} // namespace
