#pragma once
// WAVE images made in memory for the sound tests: a constant level is easy
// to find again in what reaches the audio driver.
#include <QByteArray>
#include <QtEndian>

#include <algorithm>
#include <cstdint>

namespace testwave {

inline void appendLe(QByteArray &out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A PCM image of `frames` frames, every sample at `level` (8-bit samples
// are unsigned, 16-bit ones signed).
inline QByteArray pcm(int rate, int bits, int channels, int frames, int level)
{
    QByteArray data;
    for (int i = 0; i < frames * channels; ++i)
        appendLe(data, static_cast<std::uint32_t>(level), bits / 8);
    QByteArray image("RIFF");
    appendLe(image, static_cast<std::uint32_t>(4 + 8 + 16 + 8 + data.size()), 4);
    image.append("WAVEfmt ");
    appendLe(image, 16, 4);
    appendLe(image, 1, 2); // PCM
    appendLe(image, static_cast<std::uint32_t>(channels), 2);
    appendLe(image, static_cast<std::uint32_t>(rate), 4);
    // 64-bit: a test may claim a rate whose byte rate overflows 32 bits.
    appendLe(image, static_cast<std::uint32_t>(static_cast<std::int64_t>(rate) * channels * bits / 8), 4);
    appendLe(image, static_cast<std::uint32_t>(channels * bits / 8), 2);
    appendLe(image, static_cast<std::uint32_t>(bits), 2);
    image.append("data");
    appendLe(image, static_cast<std::uint32_t>(data.size()), 4);
    return image + data;
}

// Milliseconds to frames at a rate.
inline int frames(int rate, int ms) { return rate * ms / 1000; }

// The longest a synchronous play of a sound of `ms` milliseconds may take
// once the device is open: the sound, its last device buffers, and a busy
// machine. Without sound hardware the silent driver paces itself by
// sleeping a buffer at a time, so late wake-ups add up over a long sound.
inline qint64 longestPlay(double ms) { return static_cast<qint64>(ms + std::max(600.0, ms * 0.3)); }

} // namespace testwave
