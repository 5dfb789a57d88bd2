#include "cli/RunSettings.h"

#include "settings/ConversionSettings.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsPath.h"

#include "platform/core/Strings.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

RunSettings::RunSettings(const CommandLine& options)
{
    if (!options.settingsFile.empty())
        SetSettingsPath(win::FromUtf8(options.settingsFile));
    // A missing file means the built-in defaults, as at the program's start.
    SettingsFile::Read(SettingsPath(), g_settings);

    if (!options.outputDirectory.empty()) {
        std::wstring directory =
            win::FromUtf8(std::filesystem::absolute(options.outputDirectory).lexically_normal().string());
        if (!directory.ends_with(L'/'))
            directory += L'/';
        g_settings.SetOutputDirectory(directory);
    }
    if (options.cbrRate) {
        g_settings.cbrFlag = 1;
        g_settings.mp3.cbrBitRate = static_cast<std::uint32_t>(*options.cbrRate);
    }
    if (options.vbrRange) {
        g_settings.cbrFlag = 0;
        g_settings.mp3.vbrMinimum = static_cast<std::uint32_t>(options.vbrRange->first);
        g_settings.mp3.vbrMaximum = static_cast<std::uint32_t>(options.vbrRange->second);
    }
    if (options.quality)
        g_settings.mp3.quality = static_cast<std::uint32_t>(*options.quality);
    if (options.resample)
        g_settings.resamplingFlag = *options.resample ? 1 : 0;

    std::error_code ec;
    std::string folder = std::filesystem::temp_directory_path(ec).string();  // $TMPDIR, else /tmp
    std::string name = (ec ? std::string("/tmp") : folder) + "/kolvex-settings-XXXXXX";
    int fd = mkstemp(name.data());
    if (fd < 0) {
        error_ = "cannot create a private settings file in " + name.substr(0, name.rfind('/'));
        return;
    }
    close(fd);
    privateCopy_ = name;
    if (!SettingsFile::Write(win::FromUtf8(privateCopy_), g_settings)) {
        error_ = "cannot write the private settings file " + privateCopy_;
        return;
    }
    SetSettingsPath(win::FromUtf8(privateCopy_));
}

RunSettings::~RunSettings()
{
    if (!privateCopy_.empty())
        unlink(privateCopy_.c_str());
    SetSettingsPath(L"");
}
