#include "cli/CollectionScan.h"

#include "cue/AudioExtensions.h"
#include "cue/CueReader.h"
#include "modules/lossless/EmbeddedSheet.h"
#include "platform/core/PathParts.h"
#include "platform/core/Strings.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <set>
#include <sys/stat.h>

namespace {

using FolderId = std::pair<dev_t, ino_t>;

struct Entries {
    std::vector<std::string> files;    // names, sorted
    std::vector<std::string> folders;  // names, sorted
};

bool IsSheet(const std::string& name)
{
    const std::wstring wide = win::FromUtf8(name);  // the extension is a view into it
    auto extension = ExtensionOf(wide);
    return extension && win::CompareNoCase(*extension, L"cue") == 0;
}

std::string Stem(const std::string& path)
{
    std::string name = path.substr(path.rfind('/') + 1);
    return name.substr(0, name.rfind('.'));
}

// album.cue for album.flac
bool NamedAfterImage(const CollectionInput& sheet)
{
    return sheet.sources.size() > 1 && Stem(sheet.sources[0]) == Stem(sheet.sources[1]);
}

class Walker {
public:
    Walker(const std::string& skip, const ScanWarning& warn, const ScanFound& found) : warn_(warn), found_(found)
    {
        struct stat st;
        if (stat(skip.c_str(), &st) == 0)
            skip_ = FolderId{st.st_dev, st.st_ino};
    }

    void Walk(const std::string& root)
    {
        // Folders still to visit, as (absolute, relative); depth first, in name order.
        std::vector<std::pair<std::string, std::string>> pending{{root, ""}};
        while (!pending.empty()) {
            auto [folder, relative] = std::move(pending.back());
            pending.pop_back();
            Entries entries;
            if (!Read(folder, entries))
                continue;
            Classify(folder, relative, entries.files);
            for (auto it = entries.folders.rbegin(); it != entries.folders.rend(); ++it)
                pending.emplace_back(folder + "/" + *it, relative.empty() ? *it : relative + "/" + *it);
        }
    }

private:
    bool Read(const std::string& folder, Entries& entries)
    {
        struct stat st;
        if (stat(folder.c_str(), &st) != 0) {
            warn_(folder, std::strerror(errno));
            return false;
        }
        FolderId id{st.st_dev, st.st_ino};
        // Entered already (a link back up the tree), or where the outputs go.
        if (id == skip_ || !visited_.insert(id).second)
            return false;
        DIR* dir = opendir(folder.c_str());
        if (!dir) {
            warn_(folder, std::string("cannot be read: ") + std::strerror(errno) + "; skipped");
            return false;
        }
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + "/" + name;
            struct stat target;
            if (stat(path.c_str(), &target) != 0) {
                warn_(path, std::string("cannot be followed: ") + std::strerror(errno) + "; skipped");
                continue;
            }
            if (S_ISDIR(target.st_mode))
                entries.folders.push_back(name);
            else if (S_ISREG(target.st_mode))
                entries.files.push_back(name);
        }
        closedir(dir);
        std::sort(entries.files.begin(), entries.files.end());
        std::sort(entries.folders.begin(), entries.folders.end());
        return true;
    }

    // Sheets first: the images they name are theirs, not loose tracks.
    void Classify(const std::string& folder, const std::string& relative, const std::vector<std::string>& files)
    {
        std::vector<CollectionInput> sheets;
        for (const auto& name : files) {
            if (!IsSheet(name))
                continue;
            std::string path = folder + "/" + name;
            CueReader reader;
            const CueTrackList* tracks = reader.Parse(win::FromUtf8(path).c_str()) ? reader.Tracks() : nullptr;
            if (!tracks || tracks->empty()) {
                warn_(path, "lists no tracks; its image is converted as one file");
                continue;
            }
            CollectionInput album{CollectionInput::Album, path, relative, {path}};
            for (const auto& track : *tracks) {
                std::string image = win::ToUtf8(track->imagePath);
                if (std::find(album.sources.begin(), album.sources.end(), image) == album.sources.end())
                    album.sources.push_back(image);
            }
            sheets.push_back(std::move(album));
        }
        // Of two sheets for the same images (another charset, say), the
        // one named after its image wins, whatever else comes and goes.
        std::stable_sort(sheets.begin(), sheets.end(), [](const CollectionInput& a, const CollectionInput& b) {
            return NamedAfterImage(a) && !NamedAfterImage(b);
        });
        std::set<std::string> covered;
        for (auto& album : sheets) {
            bool taken = std::all_of(album.sources.begin() + 1, album.sources.end(),
                                     [&](const std::string& image) { return covered.count(image) > 0; });
            if (taken) {
                warn_(album.path, "its images are converted by another sheet in the folder; skipped");
                continue;
            }
            covered.insert(album.sources.begin() + 1, album.sources.end());
            // An image in a sub-folder is met later in the walk.
            for (auto image = album.sources.begin() + 1; image != album.sources.end(); ++image)
                if (image->compare(0, folder.size() + 1, folder + "/") == 0 &&
                    image->find('/', folder.size() + 1) != std::string::npos)
                    coveredBelow_.insert(*image);
            found_(std::move(album));
        }
        for (const auto& name : files) {
            std::string path = folder + "/" + name;
            if (!HasAudioExtension(win::FromUtf8(name)) || covered.count(path) || coveredBelow_.erase(path))
                continue;
            bool sheetInside = !EmbeddedCueSheet(win::FromUtf8(path)).empty();
            found_({sheetInside ? CollectionInput::Album : CollectionInput::Track, path, relative, {path}});
        }
    }

    const ScanWarning& warn_;
    const ScanFound& found_;
    std::set<FolderId> visited_;
    std::set<std::string> coveredBelow_;  // images of sheets in folders above theirs
    FolderId skip_{0, 0};
};

}  // namespace

void ScanCollection(const std::vector<std::string>& roots, const std::string& skip, const ScanWarning& warn,
                    const ScanFound& found)
{
    Walker walker(skip, warn, found);
    for (const auto& root : roots)
        walker.Walk(root);
}
