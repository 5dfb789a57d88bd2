#include "settings/SettingsCheck.h"

#include <algorithm>
#include <initializer_list>

namespace {

constexpr std::uint32_t kMpegRates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
// What the encoder takes; it picks the nearest rate MP3 has.
bool IsBitRate(std::uint32_t kbps) { return kbps >= 8 && kbps <= 320; }

// Resets `field` when `usable` says no; counts it.
void Check(std::uint32_t& field, bool usable, std::uint32_t fallback, int& reset)
{
    if (!usable) {
        field = fallback;
        ++reset;
    }
}

// "/", "//", "/./", "/a/../": a stored "/" means no folder at all, and a
// damaged record must not spell it some other way.
bool NamesTheRoot(const std::wstring& folder)
{
    int depth = 0;
    std::size_t start = 0;
    while (start < folder.size()) {
        std::size_t slash = folder.find(L'/', start);
        std::wstring_view part(folder.data() + start, (slash == std::wstring::npos ? folder.size() : slash) - start);
        if (part == L"..")
            depth = depth > 0 ? depth - 1 : 0;
        else if (!part.empty() && part != L".")
            ++depth;
        if (slash == std::wstring::npos)
            break;
        start = slash + 1;
    }
    return depth == 0;
}

}  // namespace

int ValidateSettings(ConversionSettings& record)
{
    const ConversionSettings defaults;
    Mp3OutputType& mp3 = record.mp3;
    int reset = 0;
    Check(mp3.sampleRate,
          mp3.sampleRate == 0 || std::find(std::begin(kMpegRates), std::end(kMpegRates), mp3.sampleRate) !=
                                     std::end(kMpegRates),
          defaults.mp3.sampleRate, reset);
    Check(mp3.cbrBitRate, IsBitRate(mp3.cbrBitRate), defaults.mp3.cbrBitRate, reset);
    if (!IsBitRate(mp3.vbrMinimum) || !IsBitRate(mp3.vbrMaximum) || mp3.vbrMinimum > mp3.vbrMaximum) {
        Check(mp3.vbrMinimum, false, defaults.mp3.vbrMinimum, reset);
        Check(mp3.vbrMaximum, false, defaults.mp3.vbrMaximum, reset);
    }
    Check(mp3.quality, mp3.quality <= 9, defaults.mp3.quality, reset);
    Check(mp3.mode, mp3.mode <= 1, defaults.mp3.mode, reset);
    Check(mp3.crcFlag, mp3.crcFlag <= 1, defaults.mp3.crcFlag, reset);
    Check(mp3.copyrightFlag, mp3.copyrightFlag <= 1, defaults.mp3.copyrightFlag, reset);
    Check(mp3.originalFlag, mp3.originalFlag <= 1, defaults.mp3.originalFlag, reset);
    Check(record.cbrFlag, record.cbrFlag <= 1, defaults.cbrFlag, reset);
    Check(record.resamplingFlag, record.resamplingFlag <= 1, defaults.resamplingFlag, reset);
    return reset;
}

std::wstring NormaliseOutputFolder(std::wstring folder)
{
    if (!folder.empty() && folder.back() != L'/')
        folder += L'/';
    return folder;
}

std::wstring OutputFolderProblem(const std::wstring& folder)
{
    if (folder.empty())
        return {};
    const std::wstring quoted = L"the output folder \"" + folder + L"\"";
    if (std::any_of(folder.begin(), folder.end(), [](wchar_t c) { return c < 0x20 || c == 0x7F; }))
        return quoted + L" holds control characters";
    if (folder.front() != L'/')
        return quoted + L" is not an absolute path";
    if (folder.back() != L'/')
        return quoted + L" is too long";
    if (NamesTheRoot(folder))
        return quoted + L" is the root folder";
    return {};
}
