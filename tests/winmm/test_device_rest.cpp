// The audio device is open only while sounds play: it closes once the last
// sound has ended and the grace period has passed, and the next request
// opens it again and starts at once.
#include "winmm/sound_device.h"
#include "winmm/wave_image.h"
#include "winmm/winmm.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>

#include <chrono>
#include <thread>

namespace {

using winmm::SoundDevice;
using namespace std::chrono;

constexpr UINT async = SND_ASYNC | SND_NODEFAULT | SND_MEMORY;
constexpr UINT sync = SND_NODEFAULT | SND_MEMORY;

// Milliseconds until the device is open (`open`) or closed, counted from
// `clock`'s start; -1 when that has not come after a generous bound.
qint64 msUntil(bool open, const QElapsedTimer &clock)
{
    const qint64 bound = duration_cast<milliseconds>(SoundDevice::gracePeriod).count() + 20000;
    while (SoundDevice::instance().isOpen() != open) {
        if (clock.elapsed() > bound)
            return -1;
        QThread::msleep(5);
    }
    return clock.elapsed();
}

TEST(SoundDeviceAtRest, ClosesAfterTheGracePeriodAndReopensForTheNextSound)
{
    SoundDevice &device = SoundDevice::instance();
    EXPECT_FALSE(device.isOpen()); // nothing has played yet

    // Stopping what plays opens nothing.
    EXPECT_EQ(sndPlaySoundA(QByteArray(), async), FALSE);
    EXPECT_FALSE(device.isOpen());

    const QByteArray shortSound = testwave::pcm(44100, 16, 2, testwave::frames(44100, 100), 3000);
    for (const UINT flags : {async, sync}) {
        SCOPED_TRACE(flags == async ? "asynchronous" : "synchronous");
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(sndPlaySoundA(shortSound, flags), TRUE);
        ASSERT_GE(msUntil(true, clock), 0) << "the device does not open";
        const qint64 closed = msUntil(false, clock);
        ASSERT_GE(closed, 0) << "the device stays open";
        // Not before the sound and the grace period are over.
        EXPECT_GE(closed, 100 + duration_cast<milliseconds>(SoundDevice::gracePeriod).count());
    }

    // The next sound reopens it, starts at once and keeps its length.
    const QByteArray sound = testwave::pcm(22050, 16, 1, testwave::frames(22050, 300), 2000);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(sndPlaySoundA(sound, sync), TRUE);
    EXPECT_GE(clock.elapsed(), 300);
    EXPECT_LE(clock.elapsed(), testwave::longestPlay(300));
    EXPECT_TRUE(device.isOpen());
    EXPECT_LT(device.lastStartDelay(), milliseconds(200)); // a busy machine; about 1 ms at rest
}

TEST(SoundDeviceAtRest, SoundsThatFollowEachOtherKeepItOpen)
{
    SoundDevice &device = SoundDevice::instance();
    const QByteArray sound = testwave::pcm(44100, 16, 1, testwave::frames(44100, 50), 3000);
    const auto step = SoundDevice::gracePeriod / 4;
    ASSERT_EQ(sndPlaySoundA(sound, sync), TRUE);
    for (int i = 0; i < 6; ++i) {
        const auto next = steady_clock::now() + step;
        // Each sound's end starts the grace period anew: the device stays
        // open over the whole series, though it is longer than one period.
        std::this_thread::sleep_until(next);
        ASSERT_TRUE(device.isOpen()) << "closed during sound " << i;
        ASSERT_EQ(sndPlaySoundA(sound, sync), TRUE);
    }
}

} // namespace
