#include "cli/RunSettings.h"

#include "settings/SettingsCheck.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsPath.h"

#include "cli/DisplayText.h"

#include "platform/core/RegularFile.h"
#include "platform/core/Strings.h"

#include <filesystem>

std::string SettingsFileProblem(const CommandLine& options)
{
    if (options.settingsFile.empty())
        return {};
    std::wstring path = win::FromUtf8(options.settingsFile);
    std::string why = win::RegularFileProblem(path);
    return why.empty() ? why : "--settings " + DisplayText(path) + ": " + why;
}

RunSettings::RunSettings(const CommandLine& options)
{
    std::wstring path = options.settingsFile.empty() ? SettingsPath() : win::FromUtf8(options.settingsFile);
    // A missing file means the built-in defaults, as at the program's start.
    if (!options.defaults)
        SettingsFile::Read(path, settings_);
    // A folder of 0 or 1 characters is none; a damaged or hand-made one
    // that cannot be used is none either, and said so.
    std::wstring stored = settings_.HasOutputDirectory() ? settings_.OutputDirectory() : L"";
    if (options.outputDirectory.empty())
        folderProblem_ = OutputFolderProblem(stored);
    settings_.SetOutputDirectory(folderProblem_.empty() ? stored : L"");

    if (!options.outputDirectory.empty()) {
        std::wstring directory =
            win::FromUtf8(std::filesystem::absolute(options.outputDirectory).lexically_normal().string());
        if (!directory.ends_with(L'/'))
            directory += L'/';
        settings_.SetOutputDirectory(directory);
    }
    if (options.cbrRate) {
        settings_.cbrFlag = 1;
        settings_.mp3.cbrBitRate = static_cast<std::uint32_t>(*options.cbrRate);
    }
    if (options.vbrRange) {
        settings_.cbrFlag = 0;
        settings_.mp3.vbrMinimum = static_cast<std::uint32_t>(options.vbrRange->first);
        settings_.mp3.vbrMaximum = static_cast<std::uint32_t>(options.vbrRange->second);
    }
    if (options.quality)
        settings_.mp3.quality = static_cast<std::uint32_t>(*options.quality);
    if (options.resample)
        settings_.resamplingFlag = *options.resample ? 1 : 0;
    batch_.flacLevel = options.flacLevel;
    batch_.opusKbps = options.opusKbps;
    batch_.resampleFlac = options.resample.value_or(false);
    batch_.embedCover = !options.noArt && !options.noTags;
    if (options.replayGain == "track")
        batch_.replayGain = BatchSettings::ReplayGain::Track;
    else if (options.replayGain == "album")
        batch_.replayGain = BatchSettings::ReplayGain::Album;
    // The help promises 16-bit 44100 Hz, whatever the source's width.
    batch_.requireSixteenBit = true;
    batch_.replaceAppearingFiles = options.overwrite == CommandLine::Answer::Yes;
}
