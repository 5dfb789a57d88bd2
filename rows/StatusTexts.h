// The texts the window shows about rows and the chosen output.
#pragma once

#include <cstdint>
#include <string>

// "hh:mm:ss" of a row's length.
std::wstring DurationText(std::uint32_t lengthMs);

std::wstring Mp3FormatLine(bool constantBitrate, int cbrRate, int vbrMinimum, int vbrMaximum, int quality);
std::wstring WaveFormatLine(bool resample);
std::wstring OutputDirectoryLine(const std::wstring& directory);
