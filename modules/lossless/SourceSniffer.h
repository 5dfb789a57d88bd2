// Tells what a sound file holds from its first bytes, whatever its name:
// a renamed file still goes to the decoder that reads it, and a lossy file
// is known for one before any decoder is loaded.
#pragma once

#include <cstddef>
#include <string>

enum class SourceKind {
    Unreadable,  // the file cannot be opened or is empty
    Unknown,     // none of the signatures below
    Ape,
    Flac,
    WavPack,
    Tta,
    Wave,    // RIFF, RF64 or BW64
    Wave64,  // Sony Wave64
    Aiff,    // AIFF and AIFF-C
    Mp4,     // ISO media: ALAC, or AAC and the like
    Caf,
    Tak,
    Ogg,
    Matroska,
    MpegAudio,  // MPEG layer 1-3 frames
    Adts,       // AAC in ADTS frames
};

// From the first bytes of a file (`size` of them), after any ID3v2 tags
// in front of the audio.
SourceKind SniffBytes(const unsigned char* bytes, std::size_t size);
SourceKind SniffFile(const std::wstring& path);

// FFmpeg's name for the demuxer that reads this kind; null when it has none
// we would trust with it (Unknown, Unreadable).
const char* DemuxerName(SourceKind kind);
