#include "engine/Mp3SourceCheck.h"

#include "modules/mp3enc/InputLimits.h"

#include <algorithm>

std::wstring Mp3SourceProblem(const WAVEFORMATEX& format)
{
    unsigned channels = std::min<unsigned>(format.nChannels, 2);
    return Mp3InputProblem(format.nSamplesPerSec, channels, format.wBitsPerSample);
}
