#include "settings/SettingsPath.h"

#include "platform/core/Files.h"
#include "platform/core/Strings.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>

#include <unistd.h>

namespace {

std::mutex g_pathLock;
std::wstring g_pathOverride;

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::filesystem::path UserConfigFolder()
{
    std::string base = Environment("XDG_CONFIG_HOME");
    if (base.empty() || base[0] != '/') {
        std::string home = Environment("HOME");
        if (home.empty())
            return {};
        base = home + "/.config";
    }
    return std::filesystem::path(base) / "kolvex";
}

}  // namespace

std::wstring DefaultSettingsPath(const std::wstring& programFolder)
{
    if (std::string named = Environment("KOLVEX_SETTINGS"); !named.empty())
        return win::FromUtf8(named);
    std::wstring beside = programFolder + L"configure.dat";
    std::string besideUtf8 = win::ToUtf8(beside);
    bool exists = ::access(besideUtf8.c_str(), F_OK) == 0;
    if (exists ? ::access(besideUtf8.c_str(), W_OK) == 0 : ::access(win::ToUtf8(programFolder).c_str(), W_OK) == 0)
        return beside;
    std::filesystem::path folder = UserConfigFolder();
    if (folder.empty())
        return beside;
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return win::FromUtf8((folder / "configure.dat").string());
}

std::wstring SettingsPath()
{
    {
        std::lock_guard lock(g_pathLock);
        if (!g_pathOverride.empty())
            return g_pathOverride;
    }
    return DefaultSettingsPath(win::ExecutableDirectory());
}

void SetSettingsPath(std::wstring path)
{
    std::lock_guard lock(g_pathLock);
    g_pathOverride = std::move(path);
}
