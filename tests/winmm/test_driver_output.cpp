// What reaches the audio driver: SDL's disk driver writes every buffer the
// device plays to a file, in real time, which these tests read back.
#include "winmm/wave_image.h"
#include "winmm/winmm.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QThread>

#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

QString outputFile()
{
    return QDir::temp().filePath(QStringLiteral("murvel-driver-%1.raw").arg(getpid()));
}

// Chooses the disk driver before the first sound opens the device.
class DiskDriver : public testing::Environment {
public:
    void SetUp() override
    {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", QFile::encodeName(outputFile()).constData(), 1);
    }
    void TearDown() override { QFile::remove(outputFile()); }
};
const auto *const registered = testing::AddGlobalTestEnvironment(new DiskDriver);

// The device's samples (16-bit stereo, 44100 Hz) written after `from`.
class Output {
public:
    Output() : m_from(QFile(outputFile()).size()) {}

    // Frames whose both samples lie within 2 % of `level`.
    int framesAt(int level) const
    {
        // The disk driver writes through a buffered stream: let a few
        // silent buffers push the last sound buffer out.
        QThread::msleep(150);
        QFile file(outputFile());
        if (!file.open(QIODevice::ReadOnly) || !file.seek(m_from))
            return -1;
        const QByteArray bytes = file.readAll();
        std::vector<qint16> samples(static_cast<std::size_t>(bytes.size()) / 2);
        std::memcpy(samples.data(), bytes.constData(), samples.size() * 2);
        const int tolerance = std::abs(level) / 50;
        int count = 0;
        for (std::size_t i = 0; i + 1 < samples.size(); i += 2)
            count += std::abs(samples[i] - level) <= tolerance && std::abs(samples[i + 1] - level) <= tolerance;
        return count;
    }

private:
    qint64 m_from;
};

constexpr UINT async = SND_ASYNC | SND_NODEFAULT | SND_MEMORY;
constexpr UINT sync = SND_NODEFAULT | SND_MEMORY;

TEST(DriverOutput, EverySampleOfASynchronousSoundReachesTheDevice)
{
    Output out;
    sndPlaySoundA(testwave::pcm(44100, 16, 1, 13230, 6000), sync);
    EXPECT_EQ(out.framesAt(6000), 13230);
}

TEST(DriverOutput, SoundsOfOtherFormatsAreConvertedToTheDevicesFormat)
{
    Output out;
    // 8-bit unsigned 192 is 16-bit 16384; 11025 Hz is a quarter of 44100.
    sndPlaySoundA(testwave::pcm(11025, 8, 2, 2205, 192), sync);
    EXPECT_NEAR(out.framesAt(16384), 4 * 2205, 4 * 2205 / 50);
}

TEST(DriverOutput, ANewSoundCutsOffTheOneThatPlays)
{
    Output out;
    sndPlaySoundA(testwave::pcm(44100, 16, 1, testwave::frames(44100, 3000), 7000), async);
    QThread::msleep(300);
    sndPlaySoundA(testwave::pcm(44100, 16, 1, 4410, -7000), sync);
    const int first = out.framesAt(7000);
    EXPECT_GT(first, testwave::frames(44100, 150));
    EXPECT_LT(first, testwave::frames(44100, 600));
    EXPECT_EQ(out.framesAt(-7000), 4410);
}

TEST(DriverOutput, AnEmptyImageStopsTheSoundThatPlays)
{
    Output out;
    sndPlaySoundA(testwave::pcm(44100, 16, 1, testwave::frames(44100, 3000), 5000), async);
    QThread::msleep(300);
    EXPECT_EQ(sndPlaySoundA(QByteArray(), async), FALSE);
    QThread::msleep(500);
    EXPECT_LT(out.framesAt(5000), testwave::frames(44100, 600));
}

TEST(DriverOutput, TheCallerMayReuseItsImageWhileTheSoundPlays)
{
    Output out;
    auto *image = new QByteArray(testwave::pcm(44100, 16, 1, 8820, -4000));
    sndPlaySoundA(image->constData(), async);
    std::memset(image->data(), 0, static_cast<std::size_t>(image->size()));
    delete image;
    QThread::msleep(400);
    EXPECT_EQ(out.framesAt(-4000), 8820);
}

} // namespace
