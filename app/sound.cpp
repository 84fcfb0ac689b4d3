#include "modMain.h"
#include "modDeklarationen.h"

#include "user32/user32.h"
#include "winmm/winmm.h"

#include <cmath>

namespace modMain {

namespace {

// The image handed to the platform for asynchronous play, kept until the
// next request replaces it, so the caller may clear its own at once.
QByteArray laufenderSound;

} // namespace

int SoundPauseMs(qsizetype bytes)
{
    // 22158 bytes make 800 ms, whatever the sound's real format; the
    // quotient passes through single precision and is rounded to even.
    const auto q = static_cast<float>(static_cast<double>(bytes) / 22158.0 * 800.0);
    return static_cast<int>(std::nearbyint(q));
}

void SpieleSound(const QByteArray &Wav, bool Async)
{
    using modDeklarationen::bytSound;
    if (Async) {
        if (bytSound == 0)
            return;
        laufenderSound = Wav;
        sndPlaySoundA(laufenderSound, SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
    } else if (bytSound != 0) {
        // Ends the asynchronous sound before its image is let go.
        sndPlaySoundA(Wav, SND_NODEFAULT | SND_MEMORY);
        laufenderSound.clear();
    } else {
        Sleep(static_cast<DWORD>(SoundPauseMs(Wav.size())));
    }
}

} // namespace modMain
