#include "cue/CueFolders.h"

#include "platform/core/Files.h"
#include "platform/core/Strings.h"

#include <cwctype>
#include <filesystem>

namespace {

// Two names are equal ignoring case when these are equal.
std::wstring Folded(const std::wstring& name)
{
    std::wstring folded = name;
    for (wchar_t& c : folded)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return folded;
}

struct Split {
    std::wstring directory;  // with its last "/", "" for a bare name
    std::wstring name;
};

Split SplitPath(const std::wstring& path)
{
    std::size_t slash = path.rfind(L'/');
    if (slash == std::wstring::npos)
        return {L"", path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

}  // namespace

std::optional<std::vector<std::wstring>> ListFolder(const std::wstring& directory)
{
    std::vector<std::wstring> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(win::ToPath(directory.empty() ? L"." : directory), ec), end;
    if (ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory)
        return names;
    for (; !ec && it != end; it.increment(ec))
        names.push_back(win::FromUtf8(it->path().filename().string()));
    if (ec)
        return std::nullopt;
    return names;
}

const CueFolders::Folder& CueFolders::Listing(const std::wstring& directory)
{
    auto folder = folders_.find(directory);
    if (folder != folders_.end())
        return folder->second;
    Folder& added = folders_[directory];
    if (auto names = lister_(directory)) {
        added.listed = true;
        added.ordered = *names;
        for (std::wstring& name : *names) {
            added.folded.emplace(Folded(name), name);
            added.names.insert(std::move(name));
        }
    }
    return added;
}

const CueFolders::Folder* CueFolders::Listed(const std::wstring& directory) const
{
    auto folder = folders_.find(directory);
    return folder == folders_.end() ? nullptr : &folder->second;
}

std::wstring CueFolders::FindNoCase(const std::wstring& path)
{
    if (path.empty())
        return path;
    Split split = SplitPath(path);
    const Folder* folder = Listed(split.directory);
    // Until a name is missing, the folder need not be listed: a sheet
    // beside its image, in a folder of thousands, costs one look-up.
    if (!folder) {
        if (win::FileExists(path))
            return path;
        folder = &Listing(split.directory);
    }
    // What the listing cannot answer, or a name that differs only in case
    // on a file system that ignores case, the file system answers.
    if (!folder->listed || split.name.empty() || split.name == L"." || split.name == L"..")
        return path;
    if (folder->names.contains(split.name))
        return path;
    auto found = folder->folded.find(Folded(split.name));
    if (found == folder->folded.end() || win::FileExists(path))
        return path;
    return split.directory + found->second;
}

std::vector<std::wstring> CueFolders::Names(const std::wstring& directory)
{
    const Folder& folder = Listing(directory);
    return {folder.ordered.begin(), folder.ordered.end()};
}

bool CueFolders::MayExist(const std::wstring& path) const
{
    Split split = SplitPath(path);
    const Folder* folder = Listed(split.directory);
    return !folder || !folder->listed || split.name.empty() || split.name == L"." || split.name == L".." ||
           folder->names.contains(split.name);
}
