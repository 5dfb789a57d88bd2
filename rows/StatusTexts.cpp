#include "rows/StatusTexts.h"

#include <cwchar>

namespace {

template <class... Args>
std::wstring Format(const wchar_t* format, Args... args)
{
    wchar_t buffer[512];
    int n = std::swprintf(buffer, std::size(buffer), format, args...);
    return n < 0 ? std::wstring() : std::wstring(buffer, static_cast<std::size_t>(n));
}

}  // namespace

std::wstring DurationText(std::uint32_t lengthMs)
{
    unsigned seconds = lengthMs / 1000;
    unsigned minutes = seconds / 60;
    unsigned hours = 0;
    if (minutes > 59) {
        hours = minutes / 60;
        minutes %= 60;
    }
    return Format(L"%02u:%02u:%02u", hours, minutes, seconds % 60);
}

std::wstring Mp3FormatLine(bool constantBitrate, int cbrRate, int vbrMinimum, int vbrMaximum, int quality)
{
    std::wstring rates = constantBitrate ? Format(L"%d", cbrRate) : Format(L"%d-%d", vbrMinimum, vbrMaximum);
    const wchar_t* mode = constantBitrate ? L"Constant Bitrate" : L"Variable Bitrate";
    return Format(L"Output Audio Info: Output Format MP3 %ls: %ls Quality: %d", mode, rates.c_str(), quality);
}

std::wstring WaveFormatLine(bool resample)
{
    return Format(L"Output Audio Info: Output Format WAVE SSRC 44100:%ls", resample ? L"ON" : L"OFF");
}

std::wstring OutputDirectoryLine(const std::wstring& directory)
{
    return L"Output Directory: " + directory;
}
