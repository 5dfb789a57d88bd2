// The output kinds kolvex-convert writes beyond the window's MP3 and WAVE,
// and how a run names its choice.
#pragma once

#include "cli/CommandLine.h"
#include "engine/BatchSettings.h"

#include <cstdint>
#include <string>

// kOutputMp3 unless --wav, --flac or --opus chose another.
std::int32_t ChosenOutputKind(const CommandLine& options);

// The run's format line for FLAC and Opus, after the MP3 and WAVE lines:
// "Output Audio Info: Output Format FLAC level 5" (", 16-bit 44100 Hz" when
// resampled), "Output Audio Info: Output Format Opus 160 kbit/s VBR".
std::wstring EncodedFormatLine(std::int32_t kind, const BatchSettings& batch);
