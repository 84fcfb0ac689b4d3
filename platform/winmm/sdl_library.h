#pragma once
// SDL2, loaded on the first sound instead of with the program: linked, it
// and the many libraries it needs cost every start of the game time in the
// dynamic loader. Only SDL's types and macros come from its headers; every
// call goes through this table.
#include <SDL.h>

namespace winmm {

struct SdlLibrary {
    decltype(&SDL_InitSubSystem) InitSubSystem;
    decltype(&SDL_QuitSubSystem) QuitSubSystem;
    decltype(&SDL_SetHintWithPriority) SetHintWithPriority;
    decltype(&SDL_OpenAudioDevice) OpenAudioDevice;
    decltype(&SDL_PauseAudioDevice) PauseAudioDevice;
    decltype(&SDL_CloseAudioDevice) CloseAudioDevice;
    decltype(&SDL_RWFromConstMem) RWFromConstMem;
    decltype(&SDL_LoadWAV_RW) LoadWAV_RW;
    decltype(&SDL_FreeWAV) FreeWAV;
    decltype(&SDL_BuildAudioCVT) BuildAudioCVT;
    decltype(&SDL_ConvertAudio) ConvertAudio;
};

// SDL, loaded by the first call; null when it is missing or lacks one of
// the functions above, and then every sound is silent. The library stays
// loaded until the process ends.
const SdlLibrary *sdl();

} // namespace winmm
