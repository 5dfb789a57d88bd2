#include "resample/FileReplace.h"

#include "platform/core/Files.h"

#include <filesystem>

namespace ssrc {

bool SameFile(const std::wstring& a, const std::wstring& b)
{
    if (a == b)
        return true;
    std::error_code ec;
    return std::filesystem::equivalent(win::ToPath(a), win::ToPath(b), ec) && !ec;
}

}  // namespace ssrc
