// SpieleSound as the game calls it, heard through SDL's disk driver.
#include "modDeklarationen.h"
#include "modMain.h"
#include "winmm/driver_output.h"
#include "winmm/wave_image.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

namespace {

using driveroutput::Output;
using modDeklarationen::bytSound;
using modMain::SpieleSound;

qint64 msFor(const QByteArray &image, bool async)
{
    QElapsedTimer clock;
    clock.start();
    SpieleSound(image, async);
    return clock.elapsed();
}

QByteArray sound(int ms, int level)
{
    return testwave::pcm(44100, 16, 1, testwave::frames(44100, ms), level);
}

TEST(SpieleSound, WithSoundOffASynchronousSoundBecomesAPauseOfItsSize)
{
    // The game's own sounds 102, 105, 106, 107 and 108, and the edges.
    EXPECT_EQ(modMain::SoundPauseMs(33280), 1202);
    EXPECT_EQ(modMain::SoundPauseMs(9636), 348);
    EXPECT_EQ(modMain::SoundPauseMs(10972), 396);
    EXPECT_EQ(modMain::SoundPauseMs(16556), 598);
    EXPECT_EQ(modMain::SoundPauseMs(39104), 1412);
    EXPECT_EQ(modMain::SoundPauseMs(13), 0);
    EXPECT_EQ(modMain::SoundPauseMs(14), 1);
    EXPECT_EQ(modMain::SoundPauseMs(0), 0);

    bytSound = 0;
    Output out;
    const qint64 pause = msFor(sound(100, 3000), false); // 8864 bytes: 320 ms
    EXPECT_GE(pause, 320);
    EXPECT_LE(pause, 550);
    EXPECT_LE(msFor(QByteArray(), false), 100);
    EXPECT_LE(msFor(sound(500, 3000), true), 100);
    EXPECT_EQ(out.framesAt(3000), 0);
    bytSound = 1;
}

TEST(SpieleSound, ASynchronousSoundIsHeardToItsEndBeforeTheCallReturns)
{
    bytSound = 1;
    Output out;
    SpieleSound(sound(20, 0), false); // the first sound opens the device
    const qint64 ms = msFor(sound(400, 2500), false);
    EXPECT_GE(ms, 400);
    EXPECT_LE(ms, 650);
    EXPECT_EQ(out.settle(2500, testwave::frames(44100, 400)), testwave::frames(44100, 400));
}

TEST(SpieleSound, AnAsynchronousSoundIsCutOffByTheNextAndByTheEmptyImage)
{
    bytSound = 1;
    Output out;
    SpieleSound(sound(20, 0), false); // the first sound opens the device
    EXPECT_LE(msFor(sound(3000, 4500), true), 200);
    ASSERT_TRUE(out.reaches(4500, testwave::frames(44100, 150)));
    SpieleSound(sound(2000, -4500), true); // the computer's answer
    ASSERT_TRUE(out.reaches(-4500, testwave::frames(44100, 150)));
    QByteArray strSnd = sound(1, 0);
    strSnd.clear(); // how the callers stop a sound: their variable emptied
    SpieleSound(strSnd, true);
    // Time for more of the answer than the bound below, had it not been
    // stopped (the idle device plays silence for a while before it closes).
    ASSERT_TRUE(out.playsOn(testwave::frames(44100, 1200)));
    const int first = out.framesAt(4500), second = out.framesAt(-4500);
    EXPECT_GT(first, testwave::frames(44100, 150));
    EXPECT_LT(first, testwave::frames(44100, 1500)); // all of it would be 3000
    EXPECT_GT(second, testwave::frames(44100, 150));
    EXPECT_LT(second, testwave::frames(44100, 1200)); // and 2000
}

TEST(SpieleSound, SwitchingSoundOffSilencesTheNextRequestNotThePlayingOne)
{
    bytSound = 1;
    Output out;
    SpieleSound(sound(600, 3500), true);
    bytSound = 0;
    SpieleSound(QByteArray(), true); // the stop request does nothing now
    SpieleSound(sound(600, -3500), true);
    EXPECT_EQ(out.settle(3500, testwave::frames(44100, 600)), testwave::frames(44100, 600));
    EXPECT_EQ(out.framesAt(-3500), 0);
    bytSound = 1;
}

TEST(SpieleSound, TheCallerMayClearItsVariableWhileTheSoundPlays)
{
    bytSound = 1;
    Output out;
    modDeklarationen::strSnd109 = sound(500, -2500);
    SpieleSound(modDeklarationen::strSnd109, true);
    modDeklarationen::strSnd109.fill('\0');
    modDeklarationen::strSnd109.clear();
    EXPECT_EQ(out.settle(-2500, testwave::frames(44100, 500)), testwave::frames(44100, 500));
}

} // namespace
