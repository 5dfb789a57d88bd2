#include "cli/CollectionRun.h"

#include "cli/DisplayText.h"
#include "cli/OutputChoice.h"
#include "cli/Plan.h"

#include "platform/core/Strings.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <unistd.h>

namespace {

void Warn(const std::string& path, const std::string& why)
{
    std::fprintf(stderr, "kolvex-convert: %s: warning: %s\n", DisplayText(win::FromUtf8(path)).c_str(), why.c_str());
}

std::string Absolute(const std::string& path)
{
    std::string absolute = std::filesystem::absolute(path).lexically_normal().string();
    while (absolute.size() > 1 && absolute.back() == '/')
        absolute.pop_back();
    return absolute;
}

std::string_view FolderOf(const std::string& path) { return std::string_view(path).substr(0, path.rfind('/')); }

std::string ThisProgram()
{
    std::error_code ec;
    auto program = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("kolvex-convert") : program.string();
}

}  // namespace

bool CollectionRun::MadeBefore(const std::wstring& output) const { return madeBefore_.count(win::ToUtf8(output)) > 0; }

CollectionRun::CollectionRun(const CommandLine& options, const std::wstring& destination,
                             std::vector<std::string> settings)
    : options_(options),
      destination_(Absolute(win::ToUtf8(destination))),
      settings_(std::move(settings)),
      fingerprint_(SettingsFingerprint(settings_)),
      albumGain_(options.replayGain == "album"),
      withoutAlbumGain_(SettingsFingerprint(WithTrackGainOnly(settings_))),
      manifest_(destination_)
{
}

bool CollectionRun::Scan()
{
    std::vector<std::string> roots;
    for (const auto& file : options_.files) {
        std::error_code ec;
        if (!std::filesystem::is_directory(file, ec)) {
            std::fprintf(stderr, "kolvex-convert: %s: not a folder; -r walks folders\n",
                         DisplayText(win::FromUtf8(file)).c_str());
            return false;
        }
        roots.push_back(Absolute(file));
    }
    manifest_.Load();
    std::vector<Found> folder;
    ScanCollection(roots, destination_, Warn, [&](CollectionInput input) {
        // A folder's inputs come one after the other.
        if (!folder.empty() && FolderOf(folder.front().input.path) != FolderOf(input.path))
            Take(folder);
        auto stamps = StampsOf(input.sources);
        bool current = !options_.force && manifest_.UpToDate(input.path, stamps, fingerprint_);
        folder.push_back({std::move(input), std::move(stamps), current});
    });
    Take(folder);
    return true;
}

void CollectionRun::Take(std::vector<Found>& folder)
{
    bool whole = albumGain_ && std::any_of(folder.begin(), folder.end(), [](const Found& f) { return !f.current; });
    for (auto& found : folder) {
        if (found.current && !whole) {
            ++upToDate_;
            if (!options_.jsonFile.empty())
                current_.push_back(std::move(found.input.path));
            continue;
        }
        for (auto& output : manifest_.OutputsOf(found.input.path))
            madeBefore_.insert(std::move(output));
        todo_.push_back({std::move(found.input), std::move(found.stamps), {}});
    }
    folder.clear();
}

void CollectionRun::PrintPlan(std::FILE* out) const
{
    std::vector<const CollectionInput*> inputs;
    for (const auto& pending : todo_)
        inputs.push_back(&pending.input);
    ::PrintPlan(out, ThisProgram(), destination_, settings_, inputs, Warn);
}

int CollectionRun::AddTo(RowTable& rows, const std::function<int(const std::vector<std::string>&)>& add)
{
    int result = 0;
    for (auto& pending : todo_) {
        std::int32_t first = rows.empty() ? 0 : rows.rbegin()->first + 1;
        result += add({pending.input.path});
        for (auto it = rows.lower_bound(first); it != rows.end(); ++it)
            pending.keys.push_back(it->first);
    }
    return result;
}

std::vector<std::vector<std::int32_t>> CollectionRun::Albums() const
{
    std::vector<std::vector<std::int32_t>> albums;
    for (const auto& pending : todo_)
        albums.push_back(pending.keys);
    return albums;
}

void CollectionRun::Mirror(RowTable& rows) const
{
    std::wstring base = win::FromUtf8(destination_ + "/");
    for (const auto& pending : todo_) {
        if (pending.input.folder.empty())
            continue;
        std::wstring folder = win::FromUtf8(pending.input.folder) + L"/";
        for (std::int32_t key : pending.keys) {
            std::wstring& output = rows.at(key)->outputPath;
            if (output.starts_with(base))
                output.insert(base.size(), folder);
        }
    }
}

bool CollectionRun::Remember(const RowTable& rows, const std::map<std::int32_t, RunStatus::Row>& status,
                             std::string& error)
{
    auto made = [&status](std::int32_t key) {
        auto it = status.find(key);
        return it != status.end() && it->second.ok;
    };
    for (const auto& pending : todo_) {
        manifest_.Forget(pending.input.path);
        // One record per input: if one of its files lacks the album gain, all count as made without it.
        bool gained = !albumGain_ || std::all_of(pending.keys.begin(), pending.keys.end(), [&](std::int32_t key) {
            return !made(key) || rows.at(key)->albumGainWritten;
        });
        for (std::int32_t key : pending.keys)
            if (made(key))
                manifest_.Remember(win::ToUtf8(rows.at(key)->outputPath), pending.input.path,
                                   static_cast<int>(pending.keys.size()), gained ? fingerprint_ : withoutAlbumGain_,
                                   pending.stamps);
    }
    std::error_code ec;
    std::filesystem::create_directories(destination_, ec);
    return manifest_.Save(error);
}

std::vector<ReportRecord> CollectionRun::UpToDateRecords() const
{
    std::vector<ReportRecord> records;
    for (const auto& input : current_)
        for (const auto& output : manifest_.OutputsOf(input))
            records.push_back({input, output, "up to date", "", 0.0});
    return records;
}
