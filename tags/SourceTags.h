// The tags of a source file of any kind the decoder reads, chosen by what
// the file holds rather than its name: a Monkey's Audio file's APEv2 tag,
// a FLAC file's comments, a WavPack or TTA file's APEv2 tag (and ID3),
// a WAV file's INFO and ID3 chunks, an AIFF file's ID3 chunk, an M4A file's
// items. A sheet kept among them (CUESHEET) is a sheet, not a tag of the
// audio: it is left out.
#pragma once

#include "tags/TagRecord.h"

#include <string>

// Empty when the file has no tag, cannot be read, or is of a kind without
// tags that TagLib reads (raw images, RF64, W64).
TagRecord ReadSourceTags(const std::wstring& path);
