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
    // FLAC: libFLAC's compression level, 0 (fastest) to 8 (smallest).
    int flacLevel = 5;
    // Opus: the average bit rate of its variable-rate encoding, kbit/s.
    int opusKbps = 160;
    // FLAC is resampled to 16-bit 44100 Hz only when the run asks for it
    // itself: a lossless copy keeps the source's rate unless told otherwise.
    bool resampleFlac = false;
    // MP3, FLAC and Opus get the source's front cover (from its tags, else
    // an image file beside it).
    bool embedCover = false;
    // ReplayGain 2.0 tags (R128 gains in Opus), measured as rows convert:
    // per track, or per track and per album.
    enum class ReplayGain { Off, Track, Album };
    ReplayGain replayGain = ReplayGain::Off;
};
