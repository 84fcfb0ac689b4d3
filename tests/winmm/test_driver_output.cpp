// What reaches the audio driver, read back from SDL's disk driver.
#include "winmm/driver_output.h"
#include "winmm/wave_image.h"
#include "winmm/winmm.h"

#include <gtest/gtest.h>


#include <cstring>

namespace {

using driveroutput::Output;

constexpr UINT async = SND_ASYNC | SND_NODEFAULT | SND_MEMORY;
constexpr UINT sync = SND_NODEFAULT | SND_MEMORY;

TEST(DriverOutput, EverySampleOfASynchronousSoundReachesTheDevice)
{
    Output out;
    sndPlaySoundA(testwave::pcm(44100, 16, 1, 13230, 6000), sync);
    EXPECT_EQ(out.settle(6000, 13230), 13230);
}

TEST(DriverOutput, SoundsOfOtherFormatsAreConvertedToTheDevicesFormat)
{
    Output out;
    // 8-bit unsigned 192 is 16-bit 16384; 11025 Hz is a quarter of 44100.
    sndPlaySoundA(testwave::pcm(11025, 8, 2, 2205, 192), sync);
    EXPECT_NEAR(out.settle(16384, 4 * 2205), 4 * 2205, 4 * 2205 / 50);
}

TEST(DriverOutput, ANewSoundCutsOffTheOneThatPlays)
{
    Output out;
    sndPlaySoundA(testwave::pcm(44100, 16, 1, testwave::frames(44100, 3000), 7000), async);
    ASSERT_TRUE(out.reaches(7000, testwave::frames(44100, 150)));
    sndPlaySoundA(testwave::pcm(44100, 16, 1, 4410, -7000), sync);
    const int first = out.framesAt(7000);
    EXPECT_GT(first, testwave::frames(44100, 150));
    EXPECT_LT(first, testwave::frames(44100, 1500)); // all of it would be 3000
    EXPECT_EQ(out.settle(-7000, 4410), 4410);
}

TEST(DriverOutput, AnEmptyImageStopsTheSoundThatPlays)
{
    Output out;
    sndPlaySoundA(testwave::pcm(44100, 16, 1, testwave::frames(44100, 3000), 5000), async);
    ASSERT_TRUE(out.reaches(5000, testwave::frames(44100, 150)));
    EXPECT_EQ(sndPlaySoundA(QByteArray(), async), FALSE);
    ASSERT_TRUE(out.playsOn(testwave::frames(44100, 1500)));
    EXPECT_LT(out.framesAt(5000), testwave::frames(44100, 1500));
}

TEST(DriverOutput, TheCallerMayReuseItsImageWhileTheSoundPlays)
{
    Output out;
    auto *image = new QByteArray(testwave::pcm(44100, 16, 1, 8820, -4000));
    sndPlaySoundA(image->constData(), async);
    std::memset(image->data(), 0, static_cast<std::size_t>(image->size()));
    delete image;
    EXPECT_EQ(out.settle(-4000, 8820), 8820);
}

} // namespace
