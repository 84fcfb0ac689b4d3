// Opening the audio device can take SDL any time (its D-Bus set-up without
// a session bus took seconds to minutes); a sound request never waits
// longer than the open allowance for it. Here SDL's disk driver writes to
// a named pipe that nobody reads yet, so opening the device blocks until a
// reader comes.
#include "winmm/sound_device.h"
#include "winmm/wave_image.h"
#include "winmm/winmm.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using winmm::SoundDevice;
using namespace std::chrono;

QByteArray pipePath()
{
    return QFile::encodeName(QDir::temp().filePath(QStringLiteral("murvel-stalled-%1.pipe").arg(getpid())));
}

class PipeDriver : public testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_EQ(mkfifo(pipePath().constData(), 0600), 0);
        // The driver goes on writing once the test has stopped reading.
        std::signal(SIGPIPE, SIG_IGN);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", pipePath().constData(), 1);
    }
    void TearDown() override { unlink(pipePath().constData()); }
};
const auto *const registered = testing::AddGlobalTestEnvironment(new PipeDriver);

constexpr UINT async = SND_ASYNC | SND_NODEFAULT | SND_MEMORY;
constexpr UINT sync = SND_NODEFAULT | SND_MEMORY;

TEST(StalledOpen, RequestsWaitABoundedTimeAndTheDeviceServesOnceItOpens)
{
    const qint64 allowance = duration_cast<milliseconds>(SoundDevice::openAllowance).count();
    const QByteArray sound = testwave::pcm(22050, 16, 1, testwave::frames(22050, 300), 2000);

    // The first request waits the allowance, then keeps the sound's time.
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(sndPlaySoundA(sound, sync), FALSE);
    EXPECT_GE(clock.elapsed(), 300);
    EXPECT_LE(clock.elapsed(), allowance + 300 + 1000);

    // While the opening hangs, the next ones do not wait for it again.
    clock.restart();
    sndPlaySoundA(sound, async);
    EXPECT_LT(clock.elapsed(), 200);
    clock.restart();
    EXPECT_EQ(sndPlaySoundA(sound, sync), FALSE);
    EXPECT_GE(clock.elapsed(), 300);
    EXPECT_LE(clock.elapsed(), testwave::longestPlay(300));
    EXPECT_FALSE(SoundDevice::instance().isOpen());

    // A reader unblocks the opening: the device opens, and the next sound
    // plays through it.
    const int reader = open(pipePath().constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    for (int i = 0; i < 1000 && !SoundDevice::instance().isOpen(); ++i)
        QThread::msleep(10);
    EXPECT_TRUE(SoundDevice::instance().isOpen());
    // Keep the pipe from filling up while the sound plays.
    std::atomic<bool> reading = true;
    std::thread drain([&] {
        char buffer[65536];
        while (reading) {
            if (read(reader, buffer, sizeof buffer) <= 0)
                QThread::msleep(5);
        }
    });
    clock.restart();
    EXPECT_EQ(sndPlaySoundA(sound, sync), TRUE);
    EXPECT_GE(clock.elapsed(), 250); // the disk driver's clock runs a little fast
    EXPECT_LE(clock.elapsed(), testwave::longestPlay(300));
    reading = false;
    drain.join();
    close(reader);
}

} // namespace
