#include "cli/OutputPlan.h"

#include "platform/core/PathParts.h"

#include "platform/core/FileNameFit.h"
#include "platform/core/Files.h"
#include "platform/core/Strings.h"
#include "platform/core/TemporaryFiles.h"
#include "resample/WavInput.h"

#include <cstring>
#include <filesystem>
#include <set>
#include <unistd.h>

namespace {

// "dir/name (n).ext", or "dir/name (n)" for a name without extension. A
// name that is as long as a name can be loses the end of its stem to make
// room, so the number is never cut off.
std::wstring Numbered(const std::wstring& path, int n)
{
    std::wstring_view name = FileNameOf(path);
    std::size_t dot = name.rfind(L'.');
    std::size_t cut = dot == std::wstring_view::npos || dot == 0 ? path.size() : path.size() - name.size() + dot;
    std::size_t folder = path.size() - name.size();
    const std::wstring number = L" (" + std::to_wstring(n) + L")";
    const std::wstring extension = path.substr(cut);
    std::size_t used = win::ToUtf8(number + extension).size();
    std::size_t room = used < win::kMaxNameBytes ? win::kMaxNameBytes - used : 0;
    std::wstring stem = win::FitFileName(path.substr(folder, cut - folder), room);
    return path.substr(0, folder) + stem + number + extension;
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

void MadeFolders::RemoveEmpty() const
{
    for (const std::string& folder : folders_) {
        // The named folder and those above it stay, as the user asked for them.
        if (keep_.starts_with(folder) && (keep_.size() == folder.size() || keep_[folder.size()] == '/'))
            continue;
        rmdir(folder.c_str());  // only an empty folder goes
    }
}

namespace {

// The folders create_directories would make for `folder`, deepest first.
std::vector<std::string> Missing(const std::filesystem::path& folder)
{
    std::vector<std::string> missing;
    std::error_code ec;
    for (auto at = folder; !at.empty() && !std::filesystem::exists(std::filesystem::symlink_status(at, ec));
         at = at.parent_path()) {
        missing.push_back(at.string());
        if (at == at.parent_path())
            break;
    }
    return missing;
}

// Why `folder` cannot take the run's files; empty when it can.
std::string UseFolder(const std::string& folder, MadeFolders& made)
{
    std::string shown = win::ToUtf8(win::ForDisplay(win::FromUtf8(folder)));
    auto missing = Missing(folder);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    for (const std::string& created : missing)
        made.Add(created);
    if (ec)
        return "cannot create the output folder " + shown + ": " + ec.message();
    if (std::string why = TakesNewFiles(folder); !why.empty())
        return "cannot write to the output folder " + shown + ": " + why;
    // What a killed run left here goes before this run writes its own.
    win::RemoveStaleTemporaries(win::FromUtf8(folder));
    return {};
}

// The existing WAV file is 16-bit 44100 Hz stereo.
bool IsCdAudio(const std::wstring& path)
{
    FILE* file = win::_wfopen(path.c_str(), L"rb");
    if (!file)
        return false;
    WavFormat format;
    bool read = ssrc::ReadWavFormat(file, &format);
    std::fclose(file);
    return read && format.samplesPerSec == 44100 && format.channels == 2 && format.bitsPerSample == 16;
}

}  // namespace

void PrepareOutputFolders(RowTable& rows, LeftOutRows& leftOut, MadeFolders& made)
{
    std::map<std::string, std::string> verdicts;  // folder -> why it cannot be used
    for (auto& [key, row] : rows) {
        if (!row->marked)
            continue;
        std::string folder = win::ToUtf8(DirectoryOf(row->outputPath));
        while (folder.size() > 1 && folder.back() == '/')
            folder.pop_back();
        if (folder.empty())
            folder = ".";
        auto it = verdicts.find(folder);
        if (it == verdicts.end())
            it = verdicts.emplace(folder, UseFolder(folder, made)).first;
        if (!it->second.empty()) {
            row->marked = 0;
            leftOut[key] = LeftOut{true, win::FromUtf8(it->second)};
        }
    }
}

void LeaveOutKeptFiles(RowTable& rows, bool resampling, const std::function<bool(const std::wstring&)>& keep,
                       LeftOutRows& leftOut)
{
    for (auto& [key, row] : rows) {
        if (!row->marked || !win::NameTaken(row->outputPath) || !keep(row->outputPath))
            continue;
        row->marked = 0;
        bool wav = row->outputKind == kOutputWav;
        if (wav && resampling && !IsCdAudio(row->outputPath))
            leftOut[key] = LeftOut{true, L"kept the existing file, which is not 16-bit 44100 Hz stereo"};
        else
            leftOut[key] = LeftOut{false, L"kept the existing file"};
    }
}
