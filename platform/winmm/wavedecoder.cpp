#include "winmm/wavedecoder.h"

#include <climits>
#include <cstring>

namespace winmm {

namespace {

constexpr std::size_t chunkHeaderSize = 8; // four-letter id and a 32-bit length
constexpr std::size_t waveHeaderSize = 12; // "RIFF", its length, "WAVE"
constexpr std::uint32_t smallestFormat = 16;

std::uint32_t le32(const char *p)
{
    const auto *b = reinterpret_cast<const unsigned char *>(p);
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

bool isId(const char *p, const char *id)
{
    return std::memcmp(p, id, 4) == 0;
}

} // namespace

bool isSoundWaveImage(const char *image, std::size_t size)
{
    // The decoder takes its input length as an int.
    if (!image || size < waveHeaderSize || size > INT_MAX || !isId(image, "RIFF") || !isId(image + 8, "WAVE"))
        return false;
    bool format = false;
    bool data = false;
    std::size_t pos = waveHeaderSize;
    // Bytes too few for a chunk header at the end are padding, not a chunk.
    while (size - pos >= chunkHeaderSize) {
        const char *chunk = image + pos;
        const std::uint32_t length = le32(chunk + 4);
        if (length > size - pos - chunkHeaderSize)
            return false;
        if (isId(chunk, "fmt ")) {
            if (length < smallestFormat)
                return false;
            format = true;
        } else if (isId(chunk, "data")) {
            if (length == 0)
                return false;
            data = true;
        }
        // A chunk of odd length is followed by a pad byte.
        pos += chunkHeaderSize + length + (length & 1);
        if (pos > size)
            break;
    }
    return format && data;
}

DecodedWave decodeWave(const char *image, std::size_t size, const SDL_AudioSpec *device)
{
    DecodedWave result;
    if (!isSoundWaveImage(image, size))
        return result;
    SDL_AudioSpec waveFormat{};
    Uint8 *buffer = nullptr;
    Uint32 bytes = 0;
    if (!SDL_LoadWAV_RW(SDL_RWFromConstMem(image, static_cast<int>(size)), 1, &waveFormat, &buffer, &bytes))
        return result;
    // 64-bit: a header may claim any rate up to INT_MAX and 255 channels.
    const long long bytesPerSecond = static_cast<long long>(SDL_AUDIO_BITSIZE(waveFormat.format) / 8) * waveFormat.channels * waveFormat.freq;
    if (!buffer || bytes == 0 || bytesPerSecond <= 0) {
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

} // namespace winmm
