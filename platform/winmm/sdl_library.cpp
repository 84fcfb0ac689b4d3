#include "winmm/sdl_library.h"

#include <dlfcn.h>

#include <optional>

namespace winmm {

namespace {

// The name SDL2's ABI is installed under, by SDL2 itself or by sdl2-compat.
constexpr const char *sdlSoname = "libSDL2-2.0.so.0";

template <typename Function>
bool resolve(void *library, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

std::optional<SdlLibrary> load()
{
    void *library = dlopen(sdlSoname, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return std::nullopt;
    SdlLibrary s{};
    const bool complete = resolve(library, "SDL_InitSubSystem", s.InitSubSystem)
        && resolve(library, "SDL_QuitSubSystem", s.QuitSubSystem)
        && resolve(library, "SDL_SetHintWithPriority", s.SetHintWithPriority)
        && resolve(library, "SDL_OpenAudioDevice", s.OpenAudioDevice)
        && resolve(library, "SDL_PauseAudioDevice", s.PauseAudioDevice)
        && resolve(library, "SDL_CloseAudioDevice", s.CloseAudioDevice)
        && resolve(library, "SDL_RWFromConstMem", s.RWFromConstMem)
        && resolve(library, "SDL_LoadWAV_RW", s.LoadWAV_RW)
        && resolve(library, "SDL_FreeWAV", s.FreeWAV)
        && resolve(library, "SDL_BuildAudioCVT", s.BuildAudioCVT)
        && resolve(library, "SDL_ConvertAudio", s.ConvertAudio);
    if (!complete) {
        dlclose(library);
        return std::nullopt;
    }
    return s;
}

} // namespace

const SdlLibrary *sdl()
{
    // Function pointers only: nothing to tear down at exit, so the sound
    // device's destructor may still use them.
    static const std::optional<SdlLibrary> library = load();
    return library ? &*library : nullptr;
}

} // namespace winmm
