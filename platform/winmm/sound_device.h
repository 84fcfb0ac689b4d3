#pragma once
// The one audio device of the process. It is opened on the first sound and
// kept open (running silence while idle) until the process ends, so a
// sound starts without the delay of opening the device. Without a usable
// audio device it falls back to SDL's silent "dummy" driver, which takes
// the same real time to play, so the pacing of a game stays the same.
// Without SDL it never opens.
#include "winmm/sdl_library.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

namespace winmm {

class SoundDevice {
public:
    static SoundDevice &instance();

    // The format every sound is converted to before it plays; valid only
    // when isOpen().
    const SDL_AudioSpec &format() const { return m_spec; }
    bool isOpen() const { return m_device != 0; }

    // Ends what plays and starts `samples` (in format()'s layout). With
    // `wait` the call returns once the last sample has been played.
    void play(std::vector<std::uint8_t> samples, bool wait);
    // Ends what plays, if anything.
    void stop();

    SoundDevice(const SoundDevice &) = delete;
    SoundDevice &operator=(const SoundDevice &) = delete;

private:
    SoundDevice();
    ~SoundDevice();
    bool open();
    static void SDLCALL fill(void *self, Uint8 *stream, int len);

    enum class State { Idle, Playing, Draining };

    const SdlLibrary *m_sdl;
    SDL_AudioDeviceID m_device = 0;
    SDL_AudioSpec m_spec{};

    std::mutex m_mutex;
    std::condition_variable m_ended;
    std::vector<std::uint8_t> m_samples;
    std::size_t m_position = 0;
    State m_state = State::Idle;
    std::uint64_t m_started = 0; // sounds started so far
    std::uint64_t m_finished = 0; // the last of them that has ended
};

} // namespace winmm
