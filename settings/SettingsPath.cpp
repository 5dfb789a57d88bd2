#include "settings/SettingsPath.h"

#include "platform/core/Files.h"

#include <mutex>

namespace {

std::mutex g_pathLock;
std::wstring g_pathOverride;

}  // namespace

std::wstring SettingsPath()
{
    {
        std::lock_guard lock(g_pathLock);
        if (!g_pathOverride.empty())
            return g_pathOverride;
    }
    return win::ExecutableDirectory() + L"configure.dat";
}

void SetSettingsPath(std::wstring path)
{
    std::lock_guard lock(g_pathLock);
    g_pathOverride = std::move(path);
}
