#include "winmm/winmm.h"
#include "winmm/sound_device.h"
#include "winmm/wavedecoder.h"

#include <chrono>
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

BOOL play(const char *image, std::size_t size, UINT flags)
{
    auto &device = winmm::SoundDevice::instance();
    // Every request ends the sound that plays, also one that holds none.
    device.stop();
    // Checked before SDL is loaded for it: no sound, no loading.
    if (!(flags & SND_MEMORY) || !image || size <= riffHeaderSize || !winmm::isSoundWaveImage(image, size))
        return FALSE;
    const bool haveSdl = winmm::sdl() != nullptr;
    winmm::DecodedWave sound = winmm::decodeWave(image, size, haveSdl ? &winmm::SoundDevice::format() : nullptr);
    if (!sound.ok)
        return FALSE;
    const bool wait = !(flags & SND_ASYNC);
    const auto requested = std::chrono::steady_clock::now();
    if (haveSdl && device.play(std::move(sound.samples), wait))
        return TRUE;
    // Not heard (no SDL, no device in time): keep the time a synchronous
    // sound takes.
    if (wait)
        std::this_thread::sleep_until(requested + sound.length);
    return FALSE;
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
