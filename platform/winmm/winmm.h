#pragma once
// The platform's play-a-sound call, on SDL2 audio. One sound plays at a
// time: every request first ends the sound that is playing.
#include "base/wintypes.h"

#include <QByteArray>

#include <cstddef>

constexpr UINT SND_SYNC = 0x0000;      // return when the sound has been heard to its end
constexpr UINT SND_ASYNC = 0x0001;     // return at once; the sound plays on
constexpr UINT SND_NODEFAULT = 0x0002; // no default sound when the request holds none
constexpr UINT SND_MEMORY = 0x0004;    // the argument is the WAVE image itself

// Plays a WAVE image ("RIFF" with "fmt " and "data": PCM of 8 or 16 bits,
// mono or stereo, any rate, or MS ADPCM). With SND_MEMORY, `sound` points at
// the image and its length is the one the RIFF header gives; only SND_MEMORY
// requests are supported (a name of a file or alias plays nothing). An
// image that is no sound (among them one whose chunks claim more than it
// holds, or whose data chunk is empty), or a null pointer, plays nothing and ends what
// plays; there is no default sound, so SND_NODEFAULT changes nothing. The
// image is copied: the caller may change or free it as soon as the call
// returns. Returns TRUE when the sound started (or, synchronously, ended).
BOOL sndPlaySoundA(const char *sound, UINT flags);

// The same for an image whose extent is known: never reads beyond `image`.
BOOL sndPlaySoundA(const QByteArray &image, UINT flags);
