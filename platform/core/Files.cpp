#include "platform/core/Files.h"

#include "platform/core/Strings.h"

#include <system_error>
#include <unistd.h>

namespace win {

std::filesystem::path ToPath(const std::wstring& name)
{
    return std::filesystem::path(ToUtf8(name));
}

FILE* _wfopen(const wchar_t* name, const wchar_t* mode)
{
    if (!name || !mode)
        return nullptr;
    return std::fopen(ToUtf8(name).c_str(), ToUtf8(mode).c_str());
}

int _wremove(const wchar_t* name)
{
    return name ? std::remove(ToUtf8(name).c_str()) : -1;
}

int _wrename(const wchar_t* from, const wchar_t* to)
{
    return from && to ? std::rename(ToUtf8(from).c_str(), ToUtf8(to).c_str()) : -1;
}

bool FileExists(const std::wstring& name)
{
    std::error_code ec;
    return std::filesystem::exists(ToPath(name), ec);
}

bool NameTaken(const std::wstring& name)
{
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(ToPath(name), ec));
}

std::wstring GetModuleFileName()
{
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::wstring() : FromUtf8(exe.string());
}

std::wstring ExecutableDirectory()
{
    std::wstring path = GetModuleFileName();
    auto slash = path.rfind(L'/');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

}  // namespace win
