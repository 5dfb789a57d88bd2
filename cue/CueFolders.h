// The folders a sheet's image lookups look into, each listed at most once
// per sheet, when a name is first missing there: a sheet with thousands of
// FILE entries tries several names for each, and listing the folder (or
// asking the file system) again for every name made reading it slow.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// The names in a folder, in the order the file system gives them; none when
// there is no such folder; nothing when it exists but cannot be read.
std::optional<std::vector<std::wstring>> ListFolder(const std::wstring& directory);

class CueFolders {
public:
    using Lister = std::function<std::optional<std::vector<std::wstring>>(const std::wstring& directory)>;

    explicit CueFolders(Lister lister = ListFolder) : lister_(std::move(lister)) { }

    // `path` when it exists; otherwise the name in its folder that equals
    // its last component ignoring case (the first listed); otherwise `path`.
    std::wstring FindNoCase(const std::wstring& path);
    // The names in `directory` (with its trailing "/"), listing it if it
    // was not yet; none when it cannot be listed.
    std::vector<std::wstring> Names(const std::wstring& directory);
    // False when the folder was listed and its listing does not hold the
    // path's last component: then it surely does not exist.
    bool MayExist(const std::wstring& path) const;

private:
    struct Folder {
        bool listed = false;
        std::unordered_set<std::wstring> names;
        std::vector<std::wstring> ordered;  // as the file system gives them
        // By case-folded name, the first name listed.
        std::unordered_map<std::wstring, std::wstring> folded;
    };
    const Folder& Listing(const std::wstring& directory);
    const Folder* Listed(const std::wstring& directory) const;

    Lister lister_;
    std::unordered_map<std::wstring, Folder> folders_;
};
