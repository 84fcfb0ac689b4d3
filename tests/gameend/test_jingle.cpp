// The top-ten tune reaches the audio driver while the dialog is open and
// ends when it closes. SDL's disk driver writes what the device plays, in
// real time, to a file of this process.
#include "gameend/gameend_fixture.h"
#include "winmm/driver_output.h"

#include "frmScore.h"
#include "modDeklarationen.h"

#include <QFile>
#include <QTest>

namespace {

using namespace gameend;

qint64 driverBytes()
{
    return QFile(driveroutput::outputFile()).size();
}

// Samples other than silence that the driver wrote from byte `from` on.
int soundingSamples(qint64 from)
{
    QFile file(driveroutput::outputFile());
    if (!file.open(QIODevice::ReadOnly) || !file.seek(from))
        return 0;
    const QByteArray bytes = file.readAll();
    const auto *samples = reinterpret_cast<const qint16 *>(bytes.constData());
    int count = 0;
    for (qsizetype i = 0; i < bytes.size() / 2; ++i)
        count += samples[i] != 0;
    return count;
}

class Jingle : public GameEnd {};

TEST_F(Jingle, PlaysWhileTheTopTenAreOpenAndStopsWhenTheyClose)
{
    modDeklarationen::bytSound = 1;
    useFieldSize(grNormal);
    const qint64 beforeOpen = driverBytes();
    frmScore::Instance().Show(vbModeless);
    ASSERT_TRUE(QTest::qWaitFor([&] { return soundingSamples(beforeOpen) > 10000; }, Patience));

    frmScore::Instance().Unload();
    EXPECT_TRUE(modDeklarationen::strSnd110.isEmpty());
    // The device plays on (silence, once the tune has stopped). What was
    // mixed before the close reaches the file first, and within a buffered
    // stream's length: so from 32 KB on after the close, only later sound.
    const qint64 atClose = driverBytes();
    ASSERT_TRUE(QTest::qWaitFor([&] { return driverBytes() > atClose + 32768; }, Patience));
    const qint64 afterClose = driverBytes();
    ASSERT_TRUE(QTest::qWaitFor([&] { return driverBytes() > afterClose + 65536; }, Patience));
    EXPECT_EQ(soundingSamples(afterClose), 0);
}

TEST_F(Jingle, WithSoundOffTheDialogOpensSilently)
{
    modDeklarationen::bytSound = 0;
    useFieldSize(grNormal);
    const qint64 beforeOpen = driverBytes();
    frmScore::Instance().Show(vbModeless);
    EXPECT_FALSE(modDeklarationen::strSnd110.isEmpty());
    QTest::qWait(600);
    EXPECT_EQ(soundingSamples(beforeOpen), 0);
}

} // namespace
