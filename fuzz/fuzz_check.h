#pragma once
// What every fuzz target shares: the libFuzzer entry point, a property check
// that stops at once (libFuzzer keeps the input that broke it), and the
// small readers of the input's leading parameter bytes.
#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

#define FUZZ_CHECK(condition)                                                                                 \
    do {                                                                                                      \
        if (!(condition)) {                                                                                   \
            std::fprintf(stderr, "%s:%d: property does not hold: %s\n", __FILE__, __LINE__, #condition);      \
            std::abort();                                                                                     \
        }                                                                                                     \
    } while (0)

namespace fuzz {

// The input as bytes, parameter bytes taken off its front one by one.
class Input {
public:
    Input(const std::uint8_t *data, std::size_t size)
        : m_bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)) {}

    // The next byte, 0 once the input is used up.
    std::uint8_t byte()
    {
        if (m_bytes.isEmpty())
            return 0;
        const auto b = static_cast<std::uint8_t>(m_bytes.front());
        m_bytes.remove(0, 1);
        return b;
    }
    // A piece of at most n bytes off the front.
    QByteArray take(qsizetype n)
    {
        const QByteArray piece = m_bytes.left(n);
        m_bytes.remove(0, piece.size());
        return piece;
    }
    const QByteArray &rest() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// Qt for the targets that need it: the offscreen platform, created once.
void needGuiApplication();
void needCoreApplication();

} // namespace fuzz
