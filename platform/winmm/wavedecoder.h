#pragma once
// A WAVE image in memory, checked and decoded. The decoder (SDL) trusts the
// lengths an image gives its chunks, so an image is checked against its own
// size before the decoder sees it: a chunk that claims more than the image
// holds, or a sound without samples, makes it no sound at all.
#include "winmm/sdl_library.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace winmm {

// True when the `size` bytes at `image` are a RIFF WAVE image whose chunks
// all lie inside it, with a "fmt " chunk of at least 16 bytes and a "data"
// chunk that holds at least one byte.
bool isSoundWaveImage(const char *image, std::size_t size);

struct DecodedWave {
    bool ok = false;
    std::vector<std::uint8_t> samples; // in `device`'s format when one was given
    std::chrono::milliseconds length{0};
};

// The sound of a checked image, converted to the device's format (when
// `device` is not null); not ok when the image is no sound. Without SDL
// only the length of a PCM or MS ADPCM sound is known (no samples), and
// with a device the image is not ok.
DecodedWave decodeWave(const char *image, std::size_t size, const SDL_AudioSpec *device);

} // namespace winmm
