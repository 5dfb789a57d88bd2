#include "platform/core/PathParts.h"

std::wstring_view DirectoryOf(std::wstring_view path)
{
    auto slash = path.rfind(L'/');
    return slash == std::wstring_view::npos ? std::wstring_view() : path.substr(0, slash + 1);
}

std::wstring_view FileNameOf(std::wstring_view path) { return path.substr(DirectoryOf(path).size()); }

std::optional<std::wstring_view> ExtensionOf(std::wstring_view path)
{
    auto dot = path.rfind(L'.');
    if (dot == std::wstring_view::npos)
        return std::nullopt;
    return path.substr(dot + 1);
}

std::optional<std::wstring_view> UpToLastDot(std::wstring_view path)
{
    auto dot = path.rfind(L'.');
    if (dot == std::wstring_view::npos)
        return std::nullopt;
    return path.substr(0, dot + 1);
}
