// With a library under SDL's name that is not SDL, every sound is silent
// and keeps its time, and nothing crashes.
#include "winmm/wave_image.h"
#include "winmm/winmm.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <dlfcn.h>

namespace {

// Loaded before the first sound, the stand-in is what SDL's name finds.
class NotSdl : public testing::Environment {
public:
    void SetUp() override { ASSERT_NE(dlopen(NOT_SDL_PATH, RTLD_NOW), nullptr) << dlerror(); }
};
const auto *const registered = testing::AddGlobalTestEnvironment(new NotSdl);

constexpr UINT async = SND_ASYNC | SND_NODEFAULT | SND_MEMORY;
constexpr UINT sync = SND_NODEFAULT | SND_MEMORY;

qint64 msToPlay(const QByteArray &image, UINT flags)
{
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(sndPlaySoundA(image, flags), FALSE);
    return clock.elapsed();
}

TEST(WithoutSdl, ASynchronousSoundTakesItsTimeInEveryFormat)
{
    const QByteArray sounds[] = {testwave::pcm(11025, 8, 1, testwave::frames(11025, 400), 160),
                                 testwave::pcm(44100, 16, 2, testwave::frames(44100, 400), 4000)};
    for (const QByteArray &sound : sounds) {
        const qint64 ms = msToPlay(sound, sync);
        EXPECT_GE(ms, 400);
        EXPECT_LE(ms, testwave::longestPlay(400));
    }
    // MS ADPCM: four blocks of 500 frames at 5000 Hz, 400 ms.
    QByteArray adpcm = testwave::pcm(5000, 16, 1, 0, 0);
    adpcm[20] = 2; // format tag
    adpcm[32] = 0; // block align 256
    adpcm[33] = 1;
    adpcm[34] = 4; // bits a sample
    const QByteArray samplesPerBlock("\x02\0\xF4\x01", 4); // extra bytes, then 500
    adpcm.insert(36, samplesPerBlock);
    adpcm[16] = 20; // the longer "fmt " chunk
    adpcm.append(QByteArray(4 * 256, '\0'));
    const qint64 length = adpcm.size() - adpcm.indexOf("data") - 8;
    adpcm.replace(adpcm.indexOf("data") + 4, 4, QByteArray(reinterpret_cast<const char *>(&length), 4));
    const std::uint32_t riff = static_cast<std::uint32_t>(adpcm.size() - 8);
    adpcm.replace(4, 4, QByteArray(reinterpret_cast<const char *>(&riff), 4));
    const qint64 ms = msToPlay(adpcm, sync);
    EXPECT_GE(ms, 400);
    EXPECT_LE(ms, testwave::longestPlay(400));
}

TEST(WithoutSdl, AsynchronousSoundsAndImagesThatAreNoSoundReturnAtOnce)
{
    const QByteArray sound = testwave::pcm(22050, 16, 1, testwave::frames(22050, 1000), 2000);
    QByteArray badFormat = sound;
    badFormat[20] = 7; // an unknown format tag
    EXPECT_LT(msToPlay(sound, async), 150);
    for (const QByteArray &image : {QByteArray(), sound.left(30), badFormat, testwave::pcm(22050, 16, 1, 0, 0)}) {
        SCOPED_TRACE(image.toHex().left(40).constData());
        EXPECT_LT(msToPlay(image, sync), 150);
    }
}

} // namespace
