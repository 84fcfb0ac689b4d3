#include "winmm/sound_device.h"

#include <dlfcn.h>

#include <chrono>
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
    if (void *alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL))
        if (auto set = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler")))
            set(&silent);
}

} // namespace

SoundDevice &SoundDevice::instance()
{
    static SoundDevice device;
    return device;
}

SoundDevice::SoundDevice() : m_sdl(sdl())
{
    if (!m_sdl)
        return;
    quietenAlsa();
    if (open())
        return;
    // No usable device with the chosen driver (typically ALSA without sound
    // hardware): play through the silent driver instead.
    m_sdl->SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    open();
}

SoundDevice::~SoundDevice()
{
    if (m_device == 0)
        return;
    m_sdl->CloseAudioDevice(m_device);
    m_sdl->QuitSubSystem(SDL_INIT_AUDIO);
}

bool SoundDevice::open()
{
    if (m_sdl->InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024; // 23 ms: short enough that a sound starts at once
    want.callback = &SoundDevice::fill;
    want.userdata = this;
    m_device = m_sdl->OpenAudioDevice(nullptr, 0, &want, &m_spec,
                                     SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (m_device == 0) {
        m_sdl->QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    m_sdl->PauseAudioDevice(m_device, 0);
    return true;
}

void SDLCALL SoundDevice::fill(void *self, Uint8 *stream, int len)
{
    auto *device = static_cast<SoundDevice *>(self);
    std::lock_guard lock(device->m_mutex);
    std::size_t copied = 0;
    switch (device->m_state) {
    case State::Playing: {
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
        device->m_state = State::Idle;
        device->m_samples.clear();
        device->m_finished = device->m_started;
        device->m_ended.notify_all();
        break;
    case State::Idle:
        break;
    }
    std::memset(stream + copied, device->m_spec.silence, static_cast<std::size_t>(len) - copied);
}

void SoundDevice::play(std::vector<std::uint8_t> samples, bool wait)
{
    if (m_device == 0)
        return;
    std::unique_lock lock(m_mutex);
    m_samples = std::move(samples);
    m_position = 0;
    m_state = m_samples.empty() ? State::Draining : State::Playing;
    const std::uint64_t sound = ++m_started;
    if (!wait)
        return;
    // The audio thread always comes back; the bound only guards against a
    // driver that stops calling, so a game can never hang on a sound.
    const int frameBytes = SDL_AUDIO_BITSIZE(m_spec.format) / 8 * m_spec.channels;
    const auto length = std::chrono::milliseconds(1000LL * static_cast<long long>(m_samples.size()) / (static_cast<long long>(frameBytes) * m_spec.freq));
    if (!m_ended.wait_for(lock, length + std::chrono::seconds(2), [&] { return m_finished >= sound; })) {
        m_state = State::Idle;
        m_samples.clear();
        m_finished = sound;
    }
}

void SoundDevice::stop()
{
    if (m_device == 0)
        return;
    std::lock_guard lock(m_mutex);
    m_state = State::Idle;
    m_samples.clear();
    m_position = 0;
    m_finished = m_started;
    m_ended.notify_all();
}

} // namespace winmm
