#include "cli/OutputPlan.h"

#include "platform/core/PathParts.h"

#include "platform/core/Files.h"
#include "platform/core/Strings.h"

#include <cstring>
#include <filesystem>
#include <set>
#include <unistd.h>

namespace {

// "dir/name (n).ext", or "dir/name (n)" for a name without extension.
std::wstring Numbered(const std::wstring& path, int n)
{
    std::wstring_view name = FileNameOf(path);
    std::size_t dot = name.rfind(L'.');
    std::size_t cut = dot == std::wstring_view::npos || dot == 0 ? path.size() : path.size() - name.size() + dot;
    return path.substr(0, cut) + L" (" + std::to_wstring(n) + L")" + path.substr(cut);
}

// A folder takes new files when one can be created there (as the program
// would create its temporary files), whoever runs it.
std::string TakesNewFiles(const std::string& folder)
{
    std::string name = folder + "/.kolvex-check-XXXXXX";
    int fd = mkstemp(name.data());
    if (fd < 0)
        return std::strerror(errno);
    close(fd);
    unlink(name.c_str());
    return {};
}

}  // namespace

void GiveDistinctNames(RowTable& rows)
{
    std::set<std::wstring> used;
    for (auto& [key, row] : rows) {
        if (!row->marked)
            continue;
        std::wstring path = row->outputPath;
        for (int n = 2; used.count(path); ++n)
            path = Numbered(row->outputPath, n);
        row->outputPath = path;
        used.insert(path);
    }
}

std::string PrepareOutputFolders(const RowTable& rows)
{
    std::set<std::string> folders;
    for (const auto& [key, row] : rows)
        if (row->marked)
            folders.insert(win::ToUtf8(DirectoryOf(row->outputPath)));
    for (const std::string& folder : folders) {
        std::string shown = win::ToUtf8(win::ForDisplay(win::FromUtf8(folder)));
        std::error_code ec;
        std::filesystem::create_directories(folder.empty() ? "." : folder, ec);
        if (ec)
            return "cannot create the output folder " + shown + ": " + ec.message();
        if (std::string why = TakesNewFiles(folder.empty() ? "." : folder); !why.empty())
            return "cannot write to the output folder " + shown + ": " + why;
    }
    return {};
}

std::vector<std::int32_t> LeaveOutKeptFiles(RowTable& rows, const std::function<bool(const std::wstring&)>& keep)
{
    std::vector<std::int32_t> left;
    for (auto& [key, row] : rows) {
        if (row->marked && win::FileExists(row->outputPath) && keep(row->outputPath)) {
            row->marked = 0;
            left.push_back(key);
        }
    }
    return left;
}
