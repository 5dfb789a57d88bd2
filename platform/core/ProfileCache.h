// Profile files parsed once and kept by path: a skin asks its definition
// file for a hundred values at start-up. A kept file is used again while
// the file on disk is the same one, of the same size, with the same change
// times. A file changed less than two seconds before it was read may change
// again within the same clock tick, keeping its times and size: until it
// has settled, its bytes are read and compared on every use.
#pragma once

#include <sys/stat.h>

#include <chrono>
#include <cstddef>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace win::internal {

struct ProfileEntry {
    std::wstring key;
    std::wstring value;
};

struct ProfileSection {
    std::wstring name;
    std::vector<ProfileEntry> entries;
};

using ProfileSections = std::vector<ProfileSection>;

// UTF-16 with a byte-order mark, otherwise the "ANSI code page".
ProfileSections ParseProfile(const std::string& bytes);

class ProfileCache {
public:
    explicit ProfileCache(std::chrono::milliseconds settle = std::chrono::seconds(2)) : settle_(settle) { }

    // Null when the file cannot be read.
    std::shared_ptr<const ProfileSections> Get(const std::wstring& path);
    // How often a file was read from disk: for tests of the cache.
    std::size_t Reads() const;

    // The one the profile functions use.
    static ProfileCache& Shared();

private:
    struct Stamp {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{}, changed{};
        bool operator==(const Stamp& other) const;
    };
    struct Kept {
        Stamp stamp;
        std::string bytes;  // while the file may still change unnoticed
        bool settled = false;
        std::shared_ptr<const ProfileSections> sections;
    };

    std::chrono::milliseconds settle_;
    mutable std::mutex mutex_;
    std::map<std::wstring, Kept> kept_;
    std::size_t reads_ = 0;
};

}  // namespace win::internal
