#include "winmm/wavedecoder.h"

#include <climits>
#include <cstring>
#include <optional>

namespace winmm {

namespace {

constexpr std::size_t chunkHeaderSize = 8; // four-letter id and a 32-bit length
constexpr std::size_t waveHeaderSize = 12; // "RIFF", its length, "WAVE"
constexpr std::uint32_t smallestFormat = 16;

std::uint16_t le16(const char *p)
{
    const auto *b = reinterpret_cast<const unsigned char *>(p);
    return static_cast<std::uint16_t>(b[0] | b[1] << 8);
}

std::uint32_t le32(const char *p)
{
    const auto *b = reinterpret_cast<const unsigned char *>(p);
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

bool isId(const char *p, const char *id)
{
    return std::memcmp(p, id, 4) == 0;
}

// The first "fmt " and "data" chunks of an image, when all its chunks lie
// inside it and those two are usable.
struct WaveChunks {
    const char *format = nullptr;
    std::uint32_t formatLength = 0;
    std::uint32_t dataLength = 0;
};

bool findChunks(const char *image, std::size_t size, WaveChunks &found)
{
    // The decoder takes its input length as an int.
    if (!image || size < waveHeaderSize || size > INT_MAX || !isId(image, "RIFF") || !isId(image + 8, "WAVE"))
        return false;
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
            if (!found.format) {
                found.format = chunk + chunkHeaderSize;
                found.formatLength = length;
            }
        } else if (isId(chunk, "data")) {
            if (length == 0)
                return false;
            if (!data)
                found.dataLength = length;
            data = true;
        }
        // A chunk of odd length is followed by a pad byte.
        pos += chunkHeaderSize + length + (length & 1);
        if (pos > size)
            break;
    }
    return found.format && data;
}

constexpr std::uint16_t pcmTag = 1;
constexpr std::uint16_t msAdpcmTag = 2;

// How long a sound lasts by its "fmt " chunk alone, for when there is no
// decoder; none for a format that is not played or a sound without a
// whole frame.
std::optional<std::chrono::milliseconds> lengthByHeader(const WaveChunks &chunks)
{
    const char *f = chunks.format;
    const std::uint16_t tag = le16(f);
    const std::uint16_t channels = le16(f + 2);
    const std::uint32_t rate = le32(f + 4);
    const std::uint16_t blockAlign = le16(f + 12);
    const std::uint16_t bits = le16(f + 14);
    if (channels == 0 || rate == 0 || blockAlign == 0)
        return std::nullopt;
    long long frames = 0;
    if (tag == pcmTag && (bits == 8 || bits == 16)) {
        frames = chunks.dataLength / blockAlign;
    } else if (tag == msAdpcmTag && chunks.formatLength >= 20) {
        frames = static_cast<long long>(chunks.dataLength / blockAlign) * le16(f + 18); // samples per block
    }
    if (frames == 0)
        return std::nullopt;
    return std::chrono::milliseconds(1000LL * frames / rate);
}

} // namespace

bool isSoundWaveImage(const char *image, std::size_t size)
{
    WaveChunks chunks;
    return findChunks(image, size, chunks);
}

DecodedWave decodeWave(const char *image, std::size_t size, const SDL_AudioSpec *device)
{
    DecodedWave result;
    WaveChunks chunks;
    if (!findChunks(image, size, chunks))
        return result;
    const SdlLibrary *sdl = winmm::sdl();
    if (!sdl) {
        const auto length = lengthByHeader(chunks);
        result.ok = length && !device;
        result.length = length.value_or(std::chrono::milliseconds(0));
        return result;
    }
    SDL_AudioSpec waveFormat{};
    Uint8 *buffer = nullptr;
    Uint32 bytes = 0;
    if (!sdl->LoadWAV_RW(sdl->RWFromConstMem(image, static_cast<int>(size)), 1, &waveFormat, &buffer, &bytes))
        return result;
    // 64-bit: a header may claim any rate up to INT_MAX and 255 channels.
    const long long bytesPerSecond = static_cast<long long>(SDL_AUDIO_BITSIZE(waveFormat.format) / 8) * waveFormat.channels * waveFormat.freq;
    if (!buffer || bytes == 0 || bytesPerSecond <= 0) {
        sdl->FreeWAV(buffer);
        return result;
    }
    result.length = std::chrono::milliseconds(1000LL * bytes / bytesPerSecond);
    if (device) {
        // One conversion of the whole sound, so nothing stays in a
        // resampler's history at its end.
        SDL_AudioCVT cvt;
        if (sdl->BuildAudioCVT(&cvt, waveFormat.format, waveFormat.channels, waveFormat.freq, device->format, device->channels, device->freq) >= 0) {
            cvt.len = static_cast<int>(bytes);
            result.samples.resize(static_cast<std::size_t>(cvt.len) * static_cast<std::size_t>(cvt.len_mult));
            std::memcpy(result.samples.data(), buffer, bytes);
            cvt.buf = result.samples.data();
            if (cvt.needed == 0 || sdl->ConvertAudio(&cvt) == 0) {
                result.samples.resize(static_cast<std::size_t>(cvt.needed ? cvt.len_cvt : cvt.len));
                result.ok = true;
            }
        }
    } else {
        result.ok = true;
    }
    sdl->FreeWAV(buffer);
    return result;
}

} // namespace winmm
