#include "modules/mp3enc/InputLimits.h"

std::wstring Mp3InputProblem(std::uint32_t sampleRate, unsigned channels, unsigned bitsPerSample)
{
    if (channels == 0)
        return L"audio without channels cannot be encoded";
    if (channels > 2)
        return std::to_wstring(channels) + L" channels are more than MP3 can hold";
    if (bitsPerSample != 8 && bitsPerSample != 16 && bitsPerSample != 24 && bitsPerSample != 32)
        return L"samples of " + std::to_wstring(bitsPerSample) + L" bits are not a width the MP3 encoder can take";
    if (sampleRate < mp3_limits::kLowestRate)
        return L"sample rate " + std::to_wstring(sampleRate) + L" Hz is below what MP3 can hold";
    if (sampleRate > mp3_limits::kHighestRate)
        return L"sample rate " + std::to_wstring(sampleRate) + L" Hz is above what the MP3 encoder can take";
    return {};
}
