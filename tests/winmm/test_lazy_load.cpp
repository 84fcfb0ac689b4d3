// SDL is loaded by the first sound, not with the program, and sounds still
// reach the driver through it.
#include "winmm/driver_output.h"
#include "winmm/wave_image.h"
#include "winmm/winmm.h"

#include <gtest/gtest.h>

#include <cstring>
#include <link.h>

namespace {

bool sdlIsLoaded()
{
    return dl_iterate_phdr([](dl_phdr_info *info, std::size_t, void *) { return std::strstr(info->dlpi_name, "libSDL2") ? 1 : 0; }, nullptr) != 0;
}

TEST(LazySdl, TheFirstSoundLoadsSdlAndItsSamplesReachTheDriver)
{
    EXPECT_FALSE(sdlIsLoaded());
    driveroutput::Output out;
    EXPECT_EQ(sndPlaySoundA(testwave::pcm(44100, 16, 1, 4410, 5000), SND_NODEFAULT | SND_MEMORY), TRUE);
    EXPECT_TRUE(sdlIsLoaded());
    EXPECT_EQ(out.settle(5000, 4410), 4410);
}

} // namespace
