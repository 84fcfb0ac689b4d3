#include "winmm/sound_device.h"

#include <dlfcn.h>

#include <cstring>

namespace winmm {

namespace {

// ALSA's library writes its complaints to stderr (eight lines where there
// is no sound card) while SDL tries it; SDL reports the failure anyway, and
// the sound falls back to silence. Its error handler, where it is installed.
void silent(const char *, int, const char *, int, const char *, ...) {}

void quietenAlsa()
{
    using Handler = void (*)(const char *, int, const char *, int, const char *, ...);
    // Kept loaded: SDL loads the same library and it keeps the handler.
    static const bool quiet = [] {
        void *alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
        auto set = alsa ? reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler")) : nullptr;
        return set && set(&silent) == 0;
    }();
    (void)quiet;
}

} // namespace

SoundDevice &SoundDevice::instance()
{
    // Never destroyed: its thread may be inside SDL when the program ends.
    static SoundDevice *const device = new SoundDevice;
    return *device;
}

const SDL_AudioSpec &SoundDevice::format()
{
    static const SDL_AudioSpec wanted = [] {
        SDL_AudioSpec s{};
        s.freq = 44100;
        s.format = AUDIO_S16SYS;
        s.channels = 2;
        // 10 ms: a sound starts within a frame of its request. A whole number
        // of milliseconds, since drivers that pace themselves by the clock
        // (SDL's silent one) wait buffer length in whole milliseconds, and
        // 512 frames (11.6 ms, waited as 11) made every sound 5 % short.
        s.samples = 441;
        s.callback = &SoundDevice::fill;
        s.userdata = &instance();
        return s;
    }();
    return wanted;
}

// Opens the device whenever a sound waits for it, and closes it once it has
// been idle for the grace period. Waits without a timeout otherwise, so a
// closed device costs no wakeups.
void SoundDevice::keep()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_device == 0 && m_state == State::Playing) {
            lock.unlock();
            const SDL_AudioDeviceID device = open();
            lock.lock();
            m_device = device;
            m_openStalled = false;
            // A sound that could not start in time is not played late.
            const bool late = m_position == 0 && Clock::now() - m_requested > openAllowance;
            if (m_state == State::Playing && (device == 0 || late))
                endSound();
            m_changed.notify_all();
        } else if (m_device != 0 && m_state == State::Idle) {
            const Clock::time_point closeAt = m_idleSince + gracePeriod;
            if (Clock::now() < closeAt) {
                m_changed.wait_until(lock, closeAt);
                continue;
            }
            const SDL_AudioDeviceID device = m_device;
            m_device = 0;
            m_closing = true;
            lock.unlock();
            close(device);
            lock.lock();
            m_closing = false;
        } else {
            m_changed.wait(lock);
        }
    }
}

SDL_AudioDeviceID SoundDevice::open()
{
    if (!m_sdl)
        m_sdl = sdl();
    if (!m_sdl)
        return 0;
    quietenAlsa();
    // SDL would turn SIGINT and SIGTERM into quit events that nobody here
    // reads, and the program would no longer end on them.
    m_sdl->SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_OVERRIDE);
    const SDL_AudioDeviceID device = openWithCurrentDriver();
    if (device != 0 || m_fallback)
        return device;
    // No usable device with the chosen driver (typically ALSA without sound
    // hardware): play through the silent driver from now on.
    m_fallback = true;
    m_sdl->SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    return openWithCurrentDriver();
}

SDL_AudioDeviceID SoundDevice::openWithCurrentDriver()
{
    if (m_sdl->InitSubSystem(SDL_INIT_AUDIO) != 0)
        return 0;
    // Without a format to take back, SDL converts to what the hardware takes.
    const SDL_AudioDeviceID device = m_sdl->OpenAudioDevice(nullptr, 0, &format(), nullptr, 0);
    if (device == 0) {
        m_sdl->QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    m_sdl->PauseAudioDevice(device, 0);
    return device;
}

void SoundDevice::close(SDL_AudioDeviceID device)
{
    m_sdl->CloseAudioDevice(device);
    // Also the audio system: some drivers keep a thread that polls for new
    // devices while it runs.
    m_sdl->QuitSubSystem(SDL_INIT_AUDIO);
}

void SoundDevice::endSound()
{
    m_state = State::Idle;
    std::vector<std::uint8_t>().swap(m_samples);
    m_position = 0;
    m_finished = m_started;
    m_idleSince = Clock::now();
    m_changed.notify_all();
}

void SDLCALL SoundDevice::fill(void *self, Uint8 *stream, int len)
{
    auto *device = static_cast<SoundDevice *>(self);
    std::lock_guard lock(device->m_mutex);
    std::size_t copied = 0;
    switch (device->m_closing ? State::Idle : device->m_state) {
    case State::Playing: {
        if (device->m_position == 0)
            device->m_startDelay = Clock::now() - device->m_requested;
        const std::size_t left = device->m_samples.size() - device->m_position;
        copied = std::min(left, static_cast<std::size_t>(len));
        std::memcpy(stream, device->m_samples.data() + device->m_position, copied);
        device->m_position += copied;
        // The buffer that holds the last samples is still to be heard.
        if (device->m_position == device->m_samples.size())
            device->m_state = State::Draining;
        break;
    }
    case State::Draining:
        // The device asks for more: the last buffer has been played.
        device->endSound();
        break;
    case State::Idle:
        break;
    }
    std::memset(stream + copied, format().silence, static_cast<std::size_t>(len) - copied);
}

bool SoundDevice::play(std::vector<std::uint8_t> samples, bool wait)
{
    std::unique_lock lock(m_mutex);
    if (!m_keeper.joinable())
        m_keeper = std::thread(&SoundDevice::keep, this);
    const std::uint64_t sound = ++m_started;
    if (samples.empty()) {
        endSound();
        return true;
    }
    m_samples = std::move(samples);
    m_position = 0;
    m_state = State::Playing;
    m_requested = Clock::now();
    m_changed.notify_all();
    // An asynchronous sound starts when the device has opened, if that is
    // within the allowance.
    if (!wait)
        return true;
    if (m_device == 0) {
        // Once a request has waited in vain for this opening, the next ones
        // do not wait again.
        const bool opened = !m_openStalled
            && m_changed.wait_for(lock, openAllowance, [&] { return m_device != 0 || m_finished >= sound; });
        if (!opened) {
            m_openStalled = true;
            if (m_started == sound)
                endSound();
            return false;
        }
        if (m_device == 0)
            return false;
    }
    // The audio thread always comes back; the bound only guards against a
    // driver that stops calling, so a game can never hang on a sound.
    const SDL_AudioSpec &played = format();
    const long long bytesPerSecond = SDL_AUDIO_BITSIZE(played.format) / 8 * played.channels * played.freq;
    const auto length = std::chrono::milliseconds(1000LL * static_cast<long long>(m_samples.size()) / bytesPerSecond);
    if (!m_changed.wait_for(lock, length + std::chrono::seconds(2), [&] { return m_finished >= sound; }) && m_started == sound)
        endSound();
    return true;
}

void SoundDevice::stop()
{
    std::lock_guard lock(m_mutex);
    if (m_state != State::Idle)
        endSound();
}

bool SoundDevice::isOpen()
{
    std::lock_guard lock(m_mutex);
    return m_device != 0;
}

SoundDevice::Clock::duration SoundDevice::lastStartDelay()
{
    std::lock_guard lock(m_mutex);
    return m_startDelay;
}

} // namespace winmm
