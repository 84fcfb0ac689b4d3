#include "winmm/winmm.h"
#include "winmm/sound_device.h"

#include <SDL.h>

#include <chrono>
#include <cstring>
#include <cstdint>
#include <thread>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t riffHeaderSize = 8; // "RIFF" and the size of what follows

// The length a RIFF image gives itself, or 0 when `image` is no RIFF
// image. The tag is compared byte by byte so that a shorter, terminated
// text is never read beyond its end.
std::size_t riffLength(const char *image)
{
    if (!(image[0] == 'R' && image[1] == 'I' && image[2] == 'F' && image[3] == 'F'))
        return 0;
    const auto *size = reinterpret_cast<const unsigned char *>(image + 4);
    const std::uint32_t rest = size[0] | size[1] << 8 | size[2] << 16 | static_cast<std::uint32_t>(size[3]) << 24;
    return riffHeaderSize + rest;
}

// The sound decoded and converted to the device's format; empty on failure.
struct Decoded {
    bool ok = false;
    std::vector<std::uint8_t> samples;
    std::chrono::milliseconds length{0};
};

Decoded decode(const char *image, std::size_t size, const SDL_AudioSpec *device)
{
    Decoded result;
    SDL_AudioSpec waveFormat{};
    Uint8 *buffer = nullptr;
    Uint32 bytes = 0;
    if (!SDL_LoadWAV_RW(SDL_RWFromConstMem(image, static_cast<int>(size)), 1, &waveFormat, &buffer, &bytes))
        return result;
    // 64-bit: a header may claim any rate up to INT_MAX and 255 channels.
    const long long bytesPerSecond = static_cast<long long>(SDL_AUDIO_BITSIZE(waveFormat.format) / 8) * waveFormat.channels * waveFormat.freq;
    if (bytesPerSecond <= 0) {
        SDL_FreeWAV(buffer);
        return result;
    }
    result.length = std::chrono::milliseconds(1000LL * bytes / bytesPerSecond);
    if (device) {
        // One conversion of the whole sound, so nothing stays in a
        // resampler's history at its end.
        SDL_AudioCVT cvt;
        if (SDL_BuildAudioCVT(&cvt, waveFormat.format, waveFormat.channels, waveFormat.freq, device->format, device->channels, device->freq) >= 0) {
            cvt.len = static_cast<int>(bytes);
            result.samples.resize(static_cast<std::size_t>(cvt.len) * static_cast<std::size_t>(cvt.len_mult));
            std::memcpy(result.samples.data(), buffer, bytes);
            cvt.buf = result.samples.data();
            if (cvt.needed == 0 || SDL_ConvertAudio(&cvt) == 0) {
                result.samples.resize(static_cast<std::size_t>(cvt.needed ? cvt.len_cvt : cvt.len));
                result.ok = true;
            }
        }
    } else {
        result.ok = true;
    }
    SDL_FreeWAV(buffer);
    return result;
}

BOOL play(const char *image, std::size_t size, UINT flags)
{
    auto &device = winmm::SoundDevice::instance();
    // Every request ends the sound that plays, also one that holds none.
    device.stop();
    if (!(flags & SND_MEMORY) || !image || size <= riffHeaderSize)
        return FALSE;
    Decoded sound = decode(image, size, device.isOpen() ? &device.format() : nullptr);
    if (!sound.ok)
        return FALSE;
    const bool wait = !(flags & SND_ASYNC);
    if (!device.isOpen()) {
        // Not even the silent driver: keep the time a synchronous sound takes.
        if (wait)
            std::this_thread::sleep_for(sound.length);
        return FALSE;
    }
    device.play(std::move(sound.samples), wait);
    return TRUE;
}

} // namespace

BOOL sndPlaySoundA(const char *sound, UINT flags)
{
    if (!(flags & SND_MEMORY) || !sound)
        return play(nullptr, 0, flags);
    return play(sound, riffLength(sound), flags);
}

BOOL sndPlaySoundA(const QByteArray &image, UINT flags)
{
    if (static_cast<std::size_t>(image.size()) <= riffHeaderSize)
        return play(nullptr, 0, flags);
    const std::size_t claimed = riffLength(image.constData());
    const std::size_t size = std::min(claimed, static_cast<std::size_t>(image.size()));
    return play(image.constData(), size, flags);
}
