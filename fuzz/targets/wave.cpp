// WAVE images from outside: only an image whose chunks lie inside it is
// decoded; what it decodes to is whole frames of the device's format, as
// long as the sound says it lasts.
#include "fuzz_check.h"

#include "winmm/wavedecoder.h"

#include <cmath>
#include <cstring>

namespace {

// The sample rate its "fmt " chunk gives (the image's chunks are known to
// lie inside it).
double rateOf(const char *image, std::size_t size)
{
    auto le32 = [image](std::size_t at) {
        const auto *b = reinterpret_cast<const unsigned char *>(image + at);
        return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
    };
    for (std::size_t pos = 12; pos + 8 <= size; pos += 8 + le32(pos + 4) + (le32(pos + 4) & 1))
        if (std::memcmp(image + pos, "fmt ", 4) == 0)
            return le32(pos + 12);
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto *image = reinterpret_cast<const char *>(data);
    SDL_AudioSpec device{};
    device.freq = 44100;
    device.format = AUDIO_S16SYS;
    device.channels = 2;
    constexpr std::size_t frameSize = 4;

    const bool sound = winmm::isSoundWaveImage(image, size);
    const winmm::DecodedWave decoded = winmm::decodeWave(image, size, &device);
    FUZZ_CHECK(sound || !decoded.ok);
    if (!decoded.ok)
        return 0;
    FUZZ_CHECK(decoded.samples.size() % frameSize == 0);
    // The length is whole milliseconds, and resampling may add or drop a
    // frame of the sound's own rate at each end.
    const double frames = static_cast<double>(decoded.samples.size() / frameSize);
    const double expected = static_cast<double>(decoded.length.count()) * device.freq / 1000.0;
    const double rate = rateOf(image, size);
    FUZZ_CHECK(rate > 0);
    FUZZ_CHECK(std::fabs(frames - expected) <= device.freq / 1000.0 + 2 * device.freq / rate + 8 + expected / 100.0);
    return 0;
}
