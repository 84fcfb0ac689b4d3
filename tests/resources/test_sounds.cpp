// The game's sounds as the executable carries them: their formats, their
// lengths, a common loudness, and a sound-off pause close to the length of
// each sound that the player waits for.
#include "modMain.h"
#include "runtime/resources.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <QByteArray>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Sound {
    int formatTag = 0, channels = 0, rate = 0, bits = 0;
    qsizetype bytes = 0;
    std::vector<float> samples; // decoded, all channels interleaved, -1..1
    double seconds() const { return double(samples.size()) / channels / rate; }
};

Sound load(int id)
{
    Sound sound;
    const QByteArray image = LoadResData(id, QStringLiteral("SOUND"));
    sound.bytes = image.size();
    if (image.size() < 36 || !image.startsWith("RIFF") || image.mid(8, 8) != "WAVEfmt ")
        return sound;
    const auto *fmt = reinterpret_cast<const uchar *>(image.constData()) + 20;
    sound.formatTag = qFromLittleEndian<quint16>(fmt);
    sound.channels = qFromLittleEndian<quint16>(fmt + 2);
    sound.rate = int(qFromLittleEndian<quint32>(fmt + 4));
    sound.bits = qFromLittleEndian<quint16>(fmt + 14);
    SDL_AudioSpec decoded{};
    Uint8 *buffer = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(SDL_RWFromConstMem(image.constData(), int(image.size())), 1, &decoded, &buffer, &length))
        return sound;
    if (decoded.format == AUDIO_U8) {
        for (Uint32 i = 0; i < length; ++i)
            sound.samples.push_back((buffer[i] - 128) / 128.0f);
    } else if (decoded.format == AUDIO_S16LSB) {
        for (Uint32 i = 0; i + 1 < length; i += 2)
            sound.samples.push_back(qFromLittleEndian<qint16>(buffer + i) / 32768.0f);
    }
    SDL_FreeWAV(buffer);
    return sound;
}

double dB(double level) { return 20 * std::log10(std::max(level, 1e-9)); }

double rmsDb(const std::vector<float> &samples)
{
    double sum = 0;
    for (float s : samples)
        sum += double(s) * s;
    return dB(std::sqrt(sum / double(samples.size())));
}

double peakDb(std::vector<float>::const_iterator from, std::vector<float>::const_iterator to)
{
    float peak = 0;
    for (auto it = from; it != to; ++it)
        peak = std::max(peak, std::abs(*it));
    return dB(peak);
}

TEST(Sounds, EachIsAWaveOfAFormatTheGameUses)
{
    for (int id = 101; id <= 111; ++id) {
        SCOPED_TRACE(id);
        const Sound sound = load(id);
        ASSERT_FALSE(sound.samples.empty());
        EXPECT_TRUE(sound.rate == 11025 || sound.rate == 22050 || sound.rate == 44100) << sound.rate;
        if (id == 101 || id == 106) {
            EXPECT_EQ(sound.formatTag, 2); // MS ADPCM
            EXPECT_EQ(sound.channels, 1);
        } else {
            EXPECT_EQ(sound.formatTag, 1); // PCM
            EXPECT_TRUE(sound.bits == 8 || sound.bits == 16) << sound.bits;
            EXPECT_TRUE(sound.channels == 1 || sound.channels == 2) << sound.channels;
        }
        if (id == 110)
            EXPECT_NEAR(sound.seconds(), 19.0, 0.6);
        else
            EXPECT_GE(sound.seconds(), 0.7);
    }
}

TEST(Sounds, AWaitedForSoundIsShortEndsWithoutSilenceAndItsSoundOffPauseIsAboutAsLong)
{
    for (int id : {102, 105, 106, 107, 108}) {
        SCOPED_TRACE(id);
        const Sound sound = load(id);
        ASSERT_FALSE(sound.samples.empty());
        const double seconds = sound.seconds();
        EXPECT_LE(seconds, 1.55);
        EXPECT_NEAR(modMain::SoundPauseMs(sound.bytes) / 1000.0, seconds, seconds / 4);
        // Its last tenth of a second is still to be heard.
        const auto tail = qsizetype(0.1 * sound.rate * sound.channels);
        EXPECT_GT(peakDb(sound.samples.end() - tail, sound.samples.end()), -48);
    }
}

TEST(Sounds, AllAreAboutEquallyLoudAndNoneClips)
{
    double quietest = 0, loudest = -200;
    for (int id = 101; id <= 111; ++id) {
        SCOPED_TRACE(id);
        const Sound sound = load(id);
        ASSERT_FALSE(sound.samples.empty());
        const double level = rmsDb(sound.samples);
        quietest = std::min(quietest, level);
        loudest = std::max(loudest, level);
        EXPECT_LT(peakDb(sound.samples.begin(), sound.samples.end()), -0.5);
    }
    EXPECT_LE(loudest - quietest, 3.0) << "from " << quietest << " to " << loudest << " dB";
}

} // namespace

namespace {

TEST(Sounds, AreHandedOutAsTheProgramsOwnBytesUntilWrittenTo)
{
    for (int id = 101; id <= 111; ++id) {
        SCOPED_TRACE(id);
        const QByteArray first = LoadResData(id, QStringLiteral("SOUND"));
        const QByteArray second = LoadResData(id, QStringLiteral("SOUND"));
        // Two loads share the same bytes: neither is a copy.
        EXPECT_EQ(first.constData(), second.constData());
        EXPECT_GT(first.size(), 1000);
    }
    // Writing makes a copy of its own; the resource stays as it was.
    QByteArray changed = LoadResData(105, QStringLiteral("SOUND"));
    changed[0] = 'X';
    EXPECT_TRUE(LoadResData(105, QStringLiteral("SOUND")).startsWith("RIFF"));
    EXPECT_NE(changed.constData(), LoadResData(105, QStringLiteral("SOUND")).constData());
}

} // namespace
