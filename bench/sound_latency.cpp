// How soon a sound starts after its request when the audio device had been
// closed at rest, and when it was still open: the time from the request
// until its first samples are handed to the driver. Run by hand:
//   SDL_AUDIODRIVER=dummy build/bench_sound_latency [ROUNDS]
#include "winmm/sound_device.h"
#include "winmm/winmm.h"

#include <QByteArray>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

// A 100 ms PCM sound at 44100 Hz, 16-bit stereo.
QByteArray sound()
{
    const int frames = 4410;
    QByteArray image("RIFF");
    auto le = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            image.append(static_cast<char>(v >> (8 * i)));
    };
    le(36 + frames * 4, 4);
    image.append("WAVEfmt ");
    le(16, 4), le(1, 2), le(2, 2), le(44100, 4), le(44100 * 4, 4), le(4, 2), le(16, 2);
    image.append("data");
    le(frames * 4, 4);
    image.append(QByteArray(frames * 4, '\x10'));
    return image;
}

double ms(std::chrono::steady_clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void report(const char *what, std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    std::printf("%s: median %.2f ms, min %.2f ms, max %.2f ms (%zu sounds)\n", what, v[v.size() / 2], v.front(), v.back(), v.size());
}

} // namespace

int main(int argc, char **argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    auto &device = winmm::SoundDevice::instance();
    const QByteArray image = sound();
    sndPlaySoundA(image, SND_NODEFAULT | SND_MEMORY); // loads SDL and opens the device the first time
    std::vector<double> closed, open;
    for (int i = 0; i < rounds; ++i) {
        while (device.isOpen())
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        sndPlaySoundA(image, SND_NODEFAULT | SND_MEMORY);
        closed.push_back(ms(device.lastStartDelay()));
        sndPlaySoundA(image, SND_NODEFAULT | SND_MEMORY);
        open.push_back(ms(device.lastStartDelay()));
    }
    report("device closed at rest", closed);
    report("device open", open);
}
