#pragma once
// The one audio device of the process. It is open only while sounds play:
// the first request opens it, and once the last sound has ended and a
// grace period has passed without a new one, it is closed and SDL's audio
// system shut down, so that a game at rest costs no wakeups. The next
// request opens it again; a freshly opened device asks for its first
// buffer at once, so the sound starts without waiting for a device period.
//
// Opening and closing happen on a thread of the device's own, never on the
// caller's: starting SDL's audio system can take seconds (its D-Bus set-up
// without a session bus, a sound server that does not answer). A request
// waits for the device a bounded time only; a sound that would start later
// than that is not played. Without a usable audio device the device falls
// back to SDL's silent "dummy" driver, which takes the same real time to
// play, so the pacing of a game stays the same. Without SDL it never opens.
#include "winmm/sdl_library.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace winmm {

class SoundDevice {
public:
    using Clock = std::chrono::steady_clock;

    // How long the device stays open after the last sound has ended.
    static constexpr std::chrono::milliseconds gracePeriod{2000};
    // How long a request waits for the device to open.
    static constexpr std::chrono::milliseconds openAllowance{1000};

    static SoundDevice &instance();

    // The format every sound is converted to before it plays: the device
    // is always opened in it (SDL converts when the hardware differs).
    static const SDL_AudioSpec &format();

    // Ends what plays and starts `samples` (in format()'s layout), opening
    // the device when it is closed. With `wait` the call returns once the
    // last sample has been played, and false when the sound cannot be
    // heard: no device could be opened within openAllowance. Without
    // `wait` it returns true at once; the sound starts when the device is
    // open, or is dropped when that takes longer than openAllowance.
    bool play(std::vector<std::uint8_t> samples, bool wait);
    // Ends what plays, if anything.
    void stop();

    // Whether the device is open now.
    bool isOpen();
    // The time from the last request until its first samples were handed
    // to the driver; zero until a sound has started.
    Clock::duration lastStartDelay();

    SoundDevice(const SoundDevice &) = delete;
    SoundDevice &operator=(const SoundDevice &) = delete;

private:
    SoundDevice() = default;
    ~SoundDevice() = delete; // lives until the process ends, with its thread
    void keep();
    SDL_AudioDeviceID open();
    SDL_AudioDeviceID openWithCurrentDriver();
    void close(SDL_AudioDeviceID device);
    void endSound();
    static void SDLCALL fill(void *self, Uint8 *stream, int len);

    enum class State { Idle, Playing, Draining };

    // Only the keeper thread touches these two.
    const SdlLibrary *m_sdl = nullptr;
    bool m_fallback = false;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::thread m_keeper;
    SDL_AudioDeviceID m_device = 0;
    bool m_closing = false;
    bool m_openStalled = false; // a request has given up on the opening under way

    std::vector<std::uint8_t> m_samples;
    std::size_t m_position = 0;
    State m_state = State::Idle;
    std::uint64_t m_started = 0; // sounds requested so far
    std::uint64_t m_finished = 0; // the last of them that has ended
    Clock::time_point m_requested;
    Clock::time_point m_idleSince;
    Clock::duration m_startDelay{};
};

} // namespace winmm
