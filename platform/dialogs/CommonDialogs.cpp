#include "platform/dialogs/CommonDialogs.h"

#include "platform/core/Strings.h"

#include <cwctype>

namespace win {

struct ITEMIDLIST {
    std::wstring path;
};

namespace {

std::vector<std::wstring> Split(const std::wstring& s, wchar_t separator)
{
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || s[i] == separator) {
            parts.push_back(s.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

std::vector<FileFilter> PairsToFilters(const std::vector<std::wstring>& parts)
{
    std::vector<FileFilter> filters;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty() && parts[i + 1].empty())
            break;
        FileFilter filter;
        filter.name = parts[i];
        for (const auto& p : Split(parts[i + 1], L';')) {
            std::wstring pattern = Trim(p);
            if (!pattern.empty())
                filter.patterns.push_back(pattern);
        }
        if (!filter.patterns.empty())
            filters.push_back(std::move(filter));
    }
    return filters;
}

}  // namespace

std::vector<FileFilter> ParseFileFilter(const std::wstring& filter)
{
    return PairsToFilters(Split(filter, L'|'));
}

bool ChooseFilesToOpen(HWND owner, const std::wstring& filter, bool multiSelect,
                       std::vector<std::wstring>* paths)
{
    OpenFileRequest request;
    request.owner = owner;
    request.filters = ParseFileFilter(filter);
    request.multiSelect = multiSelect;
    std::vector<std::wstring> chosen;
    if (!CurrentBackend().OpenFiles(request, &chosen) || chosen.empty())
        return false;
    if (paths)
        *paths = std::move(chosen);
    return true;
}

PIDLIST_ABSOLUTE SHBrowseForFolder(BROWSEINFO* info)
{
    if (!info)
        return nullptr;
    std::wstring path;
    if (!CurrentBackend().BrowseForFolder(info->hwndOwner, info->lpszTitle ? info->lpszTitle : L"", &path))
        return nullptr;
    if (info->pszDisplayName) {
        std::wstring name = path;
        while (name.size() > 1 && name.back() == L'/')
            name.pop_back();
        auto slash = name.find_last_of(L'/');
        if (slash != std::wstring::npos && name.size() > 1)
            name = name.substr(slash + 1);
        CopyToBuffer(name, info->pszDisplayName, MAX_PATH);
    }
    return new ITEMIDLIST{path};
}

BOOL SHGetPathFromIDList(PIDLIST_ABSOLUTE item, LPWSTR path)
{
    if (!item || !path || item->path.empty() || item->path.size() >= MAX_PATH)
        return 0;
    CopyToBuffer(item->path, path, MAX_PATH);
    return 1;
}

void CoTaskMemFree(void* memory) { delete static_cast<ITEMIDLIST*>(memory); }

HINSTANCE ShellExecute(HWND owner, LPCWSTR operation, LPCWSTR file, LPCWSTR, LPCWSTR, int)
{
    constexpr std::uintptr_t SE_ERR_FNF = 2;
    constexpr std::uintptr_t SE_ERR_NOASSOC = 31;
    constexpr std::uintptr_t OK = 42;
    if (operation && *operation && CompareNoCase(operation, L"open") != 0)
        return reinterpret_cast<HINSTANCE>(SE_ERR_NOASSOC);
    if (!file || !*file)
        return reinterpret_cast<HINSTANCE>(SE_ERR_FNF);
    bool opened = CurrentBackend().ShellOpen(owner, file);
    return reinterpret_cast<HINSTANCE>(opened ? OK : SE_ERR_FNF);
}

}  // namespace win
