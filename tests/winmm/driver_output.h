#pragma once
// What reaches the audio driver: SDL's disk driver writes every buffer the
// device plays to a file, in real time, for a test to read back. A test
// binary that includes this plays through the disk driver.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QThread>

#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace driveroutput {

inline QString outputFile()
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
inline const auto *const registered = testing::AddGlobalTestEnvironment(new DiskDriver);

// The device's samples (16-bit stereo, 44100 Hz) written since this was made.
class Output {
public:
    Output() : m_from(QFile(outputFile()).size()) {}

    // Frames whose both samples lie within 2 % of `level`.
    int framesAt(int level) const
    {
        // The disk driver writes through a buffered stream: let a few
        // silent buffers push the last sound buffer out.
        QThread::msleep(150);
        return countAt(level);
    }

    // framesAt(level) once it has reached `expected`, or after a time a
    // busy machine keeps: the audio thread may write late.
    int settle(int level, int expected) const
    {
        reaches(level, expected);
        return framesAt(level);
    }

    // Whether `frames` frames at `level` have been written, waiting for
    // them as long as a busy machine may need.
    bool reaches(int level, int frames) const
    {
        return waitFor([&] { return countAt(level) >= frames; });
    }

    // Whether the device has played `frames` more frames (of any sound or
    // of silence) after those written when this is called.
    bool playsOn(int frames) const
    {
        const qint64 from = bytes();
        return waitFor([&] { return bytes() >= from + 4 * qint64(frames); });
    }

private:
    static constexpr int Patience = 20000; // ms

    template <class Done>
    static bool waitFor(Done done)
    {
        for (int waited = 0; waited < Patience; waited += 10) {
            if (done())
                return true;
            QThread::msleep(10);
        }
        return done();
    }

    qint64 bytes() const { return QFile(outputFile()).size() - m_from; }

    int countAt(int level) const
    {
        QFile file(outputFile());
        if (!file.exists())
            return 0; // no sound has opened the device yet
        if (!file.open(QIODevice::ReadOnly) || !file.seek(m_from))
            return -1;
        const QByteArray bytes = file.readAll();
        std::vector<qint16> samples(static_cast<std::size_t>(bytes.size()) / 2);
        if (!samples.empty()) // memcpy must not see the null data of an empty vector
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

} // namespace driveroutput
