// sndPlaySoundA through the silent driver: it takes real time, so the
// length of a synchronous play is the length of its sound.
#include "winmm/wave_image.h"
#include "winmm/winmm.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

namespace {

qint64 msToPlay(const QByteArray &image, UINT flags)
{
    QElapsedTimer clock;
    clock.start();
    sndPlaySoundA(image, flags);
    return clock.elapsed();
}

// The first sound loads SDL and opens the device: a moment of silence
// before a clock runs.
void openDevice()
{
    sndPlaySoundA(testwave::pcm(22050, 16, 1, testwave::frames(22050, 20), 0), SND_NODEFAULT | SND_MEMORY);
}

struct Format {
    int rate, bits, channels;
};

TEST(SndPlaySound, SynchronousPlayLastsAsLongAsItsSoundInEveryFormat)
{
    openDevice();
    const Format formats[] = {{11025, 8, 1}, {22050, 8, 2}, {44100, 16, 1}, {22050, 16, 2}, {11025, 16, 2}};
    for (const Format &f : formats) {
        SCOPED_TRACE(testing::Message() << f.rate << " Hz, " << f.bits << " bit, " << f.channels << " channels");
        const QByteArray sound = testwave::pcm(f.rate, f.bits, f.channels, testwave::frames(f.rate, 400), f.bits == 8 ? 160 : 4000);
        const qint64 ms = msToPlay(sound, SND_NODEFAULT | SND_MEMORY);
        EXPECT_GE(ms, 400);
        EXPECT_LE(ms, testwave::longestPlay(400));
    }
}

TEST(SndPlaySound, PointerFormTakesTheLengthFromTheImage)
{
    const QByteArray sound = testwave::pcm(22050, 16, 1, testwave::frames(22050, 300), 1000);
    openDevice();
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(sndPlaySoundA(sound.constData(), SND_NODEFAULT | SND_MEMORY), TRUE);
    EXPECT_GE(clock.elapsed(), 300);
    EXPECT_LE(clock.elapsed(), testwave::longestPlay(300));
}

TEST(SndPlaySound, AsynchronousPlayReturnsAtOnceAndIsEndedByTheNextRequest)
{
    const QByteArray longSound = testwave::pcm(44100, 16, 2, testwave::frames(44100, 3000), 3000);
    openDevice();
    EXPECT_LT(msToPlay(longSound, SND_ASYNC | SND_NODEFAULT | SND_MEMORY), 500); // of its 3000
    // A synchronous sound started now does not wait for the first one.
    const QByteArray shortSound = testwave::pcm(44100, 16, 1, testwave::frames(44100, 200), 3000);
    EXPECT_LE(msToPlay(shortSound, SND_NODEFAULT | SND_MEMORY), testwave::longestPlay(200));
}

TEST(SndPlaySound, AnImageThatIsNoSoundPlaysNothingAndReturnsAtOnce)
{
    const QByteArray sound = testwave::pcm(44100, 16, 1, testwave::frames(44100, 300), 3000);
    QByteArray truncatedHeader = sound.left(30);
    QByteArray badFormat = sound;
    badFormat[20] = 7; // an unknown format tag
    const QByteArray notRiff("hello, this is no sound at all");
    openDevice();
    for (const QByteArray &image : {QByteArray(), notRiff, truncatedHeader, badFormat, QByteArray("RIFF")}) {
        SCOPED_TRACE(image.toHex().left(40).constData());
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(sndPlaySoundA(image, SND_NODEFAULT | SND_MEMORY), FALSE);
        EXPECT_LT(clock.elapsed(), 150);
    }
    EXPECT_EQ(sndPlaySoundA(nullptr, SND_ASYNC | SND_NODEFAULT | SND_MEMORY), FALSE);
    EXPECT_EQ(sndPlaySoundA("", SND_NODEFAULT | SND_MEMORY), FALSE);
    // Only images from memory are played, never a file by its name.
    EXPECT_EQ(sndPlaySoundA(sound, SND_NODEFAULT), FALSE);
}

// The data chunk's length, which follows its id.
void setDataLength(QByteArray &image, std::uint32_t length)
{
    const qsizetype at = image.indexOf("data") + 4;
    image.remove(at, 4);
    QByteArray le;
    testwave::appendLe(le, length, 4);
    image.insert(at, le);
}

TEST(SndPlaySound, AnImageWhoseChunksClaimMoreThanItHoldsOrNoSamplesPlaysNothing)
{
    const QByteArray sound = testwave::pcm(44100, 16, 1, testwave::frames(44100, 400), 3000);
    QByteArray halfOfIt = sound.left(sound.size() / 2);
    QByteArray noSamples = testwave::pcm(44100, 16, 1, 0, 0);
    QByteArray gigabytes = testwave::pcm(8000, 8, 1, 56, 128); // 100 bytes
    setDataLength(gigabytes, 0xFFFFFF00u);
    QByteArray longFormat = gigabytes;
    longFormat[16] = static_cast<char>(0xF0); // the "fmt " chunk reaches beyond the image
    QByteArray shortFormat = testwave::pcm(8000, 8, 1, 56, 128);
    shortFormat[16] = 12;
    ASSERT_EQ(gigabytes.size(), 100);
    openDevice();
    for (const QByteArray &image : {halfOfIt, noSamples, gigabytes, longFormat, shortFormat}) {
        SCOPED_TRACE(image.toHex().left(100).constData());
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(sndPlaySoundA(image, SND_NODEFAULT | SND_MEMORY), FALSE);
        if (image.size() != halfOfIt.size()) { // its header says it is longer than the bytes behind the pointer
            EXPECT_EQ(sndPlaySoundA(image.constData(), SND_NODEFAULT | SND_MEMORY), FALSE);
        }
        EXPECT_EQ(sndPlaySoundA(image, SND_ASYNC | SND_NODEFAULT | SND_MEMORY), FALSE);
        EXPECT_LT(clock.elapsed(), 150);
    }
}

TEST(SndPlaySound, ChunksAroundTheSoundArePassedOver)
{
    // A 3-byte chunk before the sound and its pad byte, a list behind it.
    QByteArray sound = testwave::pcm(22050, 16, 1, testwave::frames(22050, 300), 1000);
    sound.insert(12, QByteArray("junk\x03\0\0\0abc\0", 12));
    sound.append(QByteArray("LIST\x04\0\0\0INFO", 12));
    sound.append('\0'); // and a stray byte at the very end
    const std::uint32_t riff = static_cast<std::uint32_t>(sound.size() - 8);
    sound.replace(4, 4, QByteArray(reinterpret_cast<const char *>(&riff), 4));
    openDevice();
    const qint64 ms = msToPlay(sound, SND_NODEFAULT | SND_MEMORY);
    EXPECT_GE(ms, 300);
    EXPECT_LE(ms, testwave::longestPlay(300));
}

TEST(SndPlaySound, AHeaderClaimingAnAbsurdRateDoesNotUpsetTheLengthComputation)
{
    // 16-bit stereo at 2^30 Hz: four bytes a frame times the rate overflows 32 bits.
    const QByteArray sound = testwave::pcm(1 << 30, 16, 2, 4, 100);
    sndPlaySoundA(sound, SND_NODEFAULT | SND_MEMORY);
    sndPlaySoundA(sound, SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
    EXPECT_EQ(sndPlaySoundA(QByteArray(), SND_ASYNC | SND_NODEFAULT | SND_MEMORY), FALSE);
}

} // namespace
