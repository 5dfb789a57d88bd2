#include "cli/RunSettings.h"

#include "settings/SettingsFile.h"
#include "settings/SettingsPath.h"

#include "platform/core/Strings.h"

#include <filesystem>

RunSettings::RunSettings(const CommandLine& options)
{
    std::wstring path = options.settingsFile.empty() ? SettingsPath() : win::FromUtf8(options.settingsFile);
    // A missing file means the built-in defaults, as at the program's start.
    if (!options.defaults)
        SettingsFile::Read(path, settings_);

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
    // The help promises 16-bit 44100 Hz, whatever the source's width.
    batch_.requireSixteenBit = true;
}
