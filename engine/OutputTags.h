// Tags a row's finished output file with the row's tag record, in the form
// its output kind takes: ID3v2.4 + ID3v1 for MP3, INFO + ID3 chunks for WAV,
// Vorbis comments for FLAC and Opus.
#pragma once

#include "engine/ConversionItem.h"
#include "platform/core/OutputFile.h"

#include <string>

// `output` is the row's output file, complete but not yet under its name;
// the tags are written through its stream. Returns "" when there was
// nothing to write or the tags were written, else why they were not
// ("could not be written: no space left on device"); the file must then be
// dropped.
std::wstring TagOutput(const ConversionItem& item, win::OutputFile& output);
// The same with a record of the caller's (the row's tags and its cover).
std::wstring TagOutput(const TagRecord& tags, std::int32_t outputKind, win::OutputFile& output);

// The output kinds that hold a cover picture: MP3, FLAC and Opus.
bool TakesCover(std::int32_t outputKind);
