#include "resample/FileReplace.h"

#include "platform/core/Files.h"

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace ssrc {

bool SameFile(const std::wstring& a, const std::wstring& b)
{
    if (a == b)
        return true;
    std::error_code ec;
    return std::filesystem::equivalent(win::ToPath(a), win::ToPath(b), ec) && !ec;
}

std::FILE* CreateTemporary(const std::wstring& base, std::wstring* path)
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        std::wstring name = base + (attempt == 0 ? L"" : L"." + std::to_wstring(attempt)) + L".tmp";
        // "x": fail rather than open a file that is already there.
        std::FILE* f = win::_wfopen(name.c_str(), L"w+bx");
        if (f) {
            *path = name;
            return f;
        }
        if (errno != EEXIST)
            return nullptr;
    }
    return nullptr;
}

void CopyPermissions(std::FILE* from, std::FILE* to)
{
    struct stat st;
    if (fstat(fileno(from), &st) == 0)
        (void)fchmod(fileno(to), st.st_mode & 07777);
}

bool IsRegularFile(std::FILE* file)
{
    struct stat st;
    return fstat(fileno(file), &st) == 0 && S_ISREG(st.st_mode);
}

bool CommitAndClose(std::FILE* file)
{
    bool ok = std::fflush(file) == 0 && (fsync(fileno(file)) == 0 || !IsRegularFile(file));
    return std::fclose(file) == 0 && ok;
}

}  // namespace ssrc
