// The start-up's steps that fill the program-wide state: the paths, the
// sounds from the executable's resources and the three settings.
#include "modDeklarationen.h"
#include "modMain.h"
#include "registry/settings.h"
#include "runtime/program.h"
#include "runtime/resources.h"
#include "winmm/wave_image.h"
#include "winmm/winmm.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

using namespace modDeklarationen;

void store(const QString &key, const QString &value)
{
    SaveSetting(App::EXEName(), QStringLiteral("Options"), key, value);
}

struct Settings {
    int sound, help, stdSize;
    bool operator==(const Settings &) const = default;
};

Settings read()
{
    modMain::LeseEinstellungen();
    return {bytSound, bytHelp, bytStdSize};
}

void PrintTo(const Settings &s, std::ostream *os)
{
    *os << "Sound " << s.sound << ", Help " << s.help << ", StdSize " << s.stdSize;
}

TEST(Startup, WithNoSettingsStoredSoundAndHelpAreOnAndTheFieldIsOfSize2)
{
    bytSound = bytHelp = bytStdSize = 0;
    EXPECT_EQ(read(), (Settings{1, 1, 2}));
}

TEST(Startup, StoredSettingsAreReadBack)
{
    store(QStringLiteral("Sound"), QStringLiteral("0"));
    store(QStringLiteral("StdSize"), QStringLiteral("3"));
    store(QStringLiteral("Help"), QStringLiteral("0"));
    EXPECT_EQ(read(), (Settings{0, 0, 3}));
    // Any number up to 255 is a value: "Sound" is on unless 0, "Help" only at 1.
    store(QStringLiteral("Sound"), QStringLiteral("255"));
    store(QStringLiteral("Help"), QStringLiteral(" 7 "));
    store(QStringLiteral("StdSize"), QStringLiteral("1"));
    EXPECT_EQ(read(), (Settings{255, 7, 1}));
}

TEST(Startup, AValueThatIsNoUsableNumberIsTakenAsMissing)
{
    for (const char *bad : {"256", "-1", "1.5", "abc", "", "0x1", "1e2", "+1", "١"}) {
        SCOPED_TRACE(bad);
        store(QStringLiteral("Sound"), QString::fromUtf8(bad));
        store(QStringLiteral("Help"), QString::fromUtf8(bad));
        store(QStringLiteral("StdSize"), QString::fromUtf8(bad));
        EXPECT_EQ(read(), (Settings{1, 1, 2}));
    }
    for (const char *outside : {"0", "4", "255"}) {
        SCOPED_TRACE(outside);
        store(QStringLiteral("StdSize"), QString::fromLatin1(outside));
        EXPECT_EQ(read().stdSize, 2);
    }
}

TEST(Startup, TheFilesLieInTheProgramsFolderWithOneSeparator)
{
    EXPECT_EQ(modMain::DateiImOrdner(QStringLiteral("/"), QStringLiteral("Score.hsc")), QStringLiteral("/Score.hsc"));
    EXPECT_EQ(modMain::DateiImOrdner(QStringLiteral("/opt/murvel"), QStringLiteral("Combo.txt")), QStringLiteral("/opt/murvel/Combo.txt"));
    EXPECT_EQ(modMain::DateiImOrdner(QStringLiteral("//server/spiele"), QStringLiteral("Hilfe.chm")), QStringLiteral("//server/spiele/Hilfe.chm"));
    modMain::BaueDateipfade();
    const QString folder = QCoreApplication::applicationDirPath();
    EXPECT_EQ(strScoreFile, folder + QStringLiteral("/Score.hsc"));
    EXPECT_EQ(strComboFile, folder + QStringLiteral("/Combo.txt"));
    EXPECT_EQ(strHelpFile, folder + QStringLiteral("/Hilfe.chm"));
}

// Format tag, length in seconds and size of a WAVE image.
struct Wave {
    int formatTag = 0;
    double seconds = 0;
};

Wave describe(const QByteArray &image)
{
    Wave wave;
    if (image.size() < 22 || !image.startsWith("RIFF") || image.mid(8, 8) != "WAVEfmt ")
        return wave;
    wave.formatTag = static_cast<unsigned char>(image[20]) | static_cast<unsigned char>(image[21]) << 8;
    SDL_AudioSpec waveFormat{};
    Uint8 *buffer = nullptr;
    Uint32 bytes = 0;
    if (SDL_LoadWAV_RW(SDL_RWFromConstMem(image.constData(), static_cast<int>(image.size())), 1, &waveFormat, &buffer, &bytes)) {
        wave.seconds = double(bytes) / (SDL_AUDIO_BITSIZE(waveFormat.format) / 8 * waveFormat.channels * waveFormat.freq);
        SDL_FreeWAV(buffer);
    }
    return wave;
}

TEST(Startup, TheElevenSoundsAreWaveResourcesOfTheirFormatAndLength)
{
    for (int id = 101; id <= 111; ++id) {
        SCOPED_TRACE(id);
        const Wave wave = describe(LoadResData(id, QStringLiteral("SOUND")));
        EXPECT_EQ(wave.formatTag, id == 101 || id == 106 ? 2 : 1); // MS ADPCM or PCM
        if (id == 110) {
            EXPECT_NEAR(wave.seconds, 19.0, 0.6);
        } else {
            EXPECT_GE(wave.seconds, 0.7);
            EXPECT_LE(wave.seconds, 6.0);
        }
    }
}

TEST(Startup, TheGamesSoundsPlayForTheirWholeLength)
{
    // ADPCM at 22050 Hz, PCM at 11025 Hz, PCM stereo at 44100 Hz.
    for (int id : {101, 105, 106, 109}) {
        SCOPED_TRACE(id);
        const QByteArray image = LoadResData(id, QStringLiteral("SOUND"));
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(sndPlaySoundA(image, SND_NODEFAULT | SND_MEMORY), TRUE);
        const double length = describe(image).seconds * 1000;
        EXPECT_GE(clock.elapsed(), length - 20);
        EXPECT_LE(clock.elapsed(), testwave::longestPlay(length)); // never twice the sound
    }
}

TEST(Startup, AllSoundsButTheTopTenTuneAreLoadedAtStart)
{
    strSnd110.clear();
    modMain::LadeSounds();
    for (const QByteArray *image : {&strSnd101, &strSnd102, &strSnd103, &strSnd104, &strSnd105, &strSnd106,
                                    &strSnd107, &strSnd108, &strSnd109, &strSnd111})
        EXPECT_TRUE(image->startsWith("RIFF"));
    EXPECT_EQ(strSnd105, LoadResData(105, QStringLiteral("SOUND")));
    EXPECT_TRUE(strSnd110.isEmpty());
}

} // namespace
