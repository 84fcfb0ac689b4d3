// Plays a long sound, says so on standard output, and waits: the process
// that the signal test ends.
#include "winmm/wave_image.h"
#include "winmm/winmm.h"

#include <cstdio>
#include <unistd.h>

int main()
{
    // A synchronous sound first: once it has played, the device is open.
    const QByteArray shortSound = testwave::pcm(22050, 16, 1, testwave::frames(22050, 100), 2000);
    const QByteArray longSound = testwave::pcm(22050, 16, 1, testwave::frames(22050, 30000), 2000);
    const BOOL played = sndPlaySoundA(shortSound, SND_NODEFAULT | SND_MEMORY)
        && sndPlaySoundA(longSound, SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
    std::printf("%s\n", played ? "playing" : "silent");
    std::fflush(stdout);
    for (;;)
        pause();
}
