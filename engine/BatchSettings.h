// What a batch converts with, fixed when it starts: the stored settings
// (the MP3 block, the CBR and resampling flags, the output folder) and the
// choices a run makes beyond them. Workers read only this, never the
// settings file or the process's settings.
#pragma once

#include "settings/ConversionSettings.h"

struct BatchSettings {
    ConversionSettings stored;
    // Resampling brings every WAV to 16-bit 44100 Hz, also one that is only
    // wider or narrower than 16 bits. Off: a 44100 Hz stereo file is left
    // as it is, whatever its width.
    bool requireSixteenBit = false;
    // The user agreed beforehand to replace whatever is under an output's
    // name, also a file that appears there while its row converts
    // (kolvex-convert --yes). Off: such a file stays and the row fails.
    bool replaceAppearingFiles = false;
};
