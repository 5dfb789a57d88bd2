// A run's output settings stated in full as kolvex-convert's own options:
// what a planned command passes so that every host makes the same files,
// and, joined, the fingerprint that tells whether an output was made with
// the settings of this run. A new output format adds its options here.
#pragma once

#include "cli/CommandLine.h"
#include "settings/ConversionSettings.h"

#include <cstdint>
#include <string>
#include <vector>

std::vector<std::string> OutputArguments(const CommandLine& options, std::int32_t outputKind,
                                         const ConversionSettings& settings);

// The arguments joined by spaces.
std::string SettingsFingerprint(const std::vector<std::string>& arguments);

// The arguments of a run that asked for album gain, as they stand for a
// file that did not get it (its album had a failed track, say): such a file
// is just what a run with track gain makes.
std::vector<std::string> WithTrackGainOnly(std::vector<std::string> arguments);
