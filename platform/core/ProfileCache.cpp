#include "platform/core/ProfileCache.h"

#include "platform/core/Files.h"
#include "platform/core/Strings.h"

#include <fstream>
#include <iterator>

namespace win::internal {

namespace {

// More files than a skin and its fallbacks: beyond this, all are read again.
constexpr std::size_t kMaxKept = 32;

std::wstring Unquote(const std::wstring& s)
{
    if (s.size() >= 2 && (s.front() == L'"' || s.front() == L'\'') && s.back() == s.front())
        return s.substr(1, s.size() - 2);
    return s;
}

std::wstring Decode(const std::string& bytes)
{
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::wstring text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            char32_t unit = static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
            char32_t low = i + 3 < bytes.size()
                               ? static_cast<unsigned char>(bytes[i + 2]) | (static_cast<unsigned char>(bytes[i + 3]) << 8)
                               : 0;
            if (unit >= 0xD800 && unit < 0xDC00 && low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            } else if (unit >= 0xD800 && unit < 0xE000) {
                // A half pair stands alone: the character after it is kept.
                unit = 0xFFFD;
            }
            text += static_cast<wchar_t>(unit);
        }
        return text;
    }
    return FromAnsi(bytes);
}

bool Older(const timespec& time, std::chrono::system_clock::time_point than)
{
    auto at = std::chrono::system_clock::time_point(std::chrono::duration_cast<std::chrono::system_clock::duration>(
        std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec)));
    return at < than;
}

}  // namespace

ProfileSections ParseProfile(const std::string& bytes)
{
    ProfileSections sections;
    std::wstring text = Decode(bytes);
    ProfileSection* current = nullptr;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == L';')
            continue;
        if (line[0] == L'[') {
            auto close = line.find(L']');
            sections.push_back({Trim(line.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1)), {}});
            current = &sections.back();
            continue;
        }
        auto eq = line.find(L'=');
        if (!current || eq == std::wstring::npos)
            continue;
        current->entries.push_back({Trim(line.substr(0, eq)), Unquote(Trim(line.substr(eq + 1)))});
    }
    return sections;
}

bool ProfileCache::Stamp::operator==(const Stamp& other) const
{
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec &&
           changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
}

std::shared_ptr<const ProfileSections> ProfileCache::Get(const std::wstring& path)
{
    std::string name = ToPath(path).string();
    struct stat st;
    if (::stat(name.c_str(), &st) != 0)
        return nullptr;
    Stamp stamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
    // Taken before the bytes are read: a change after this moment gives
    // the file new times.
    auto now = std::chrono::system_clock::now();
    {
        std::lock_guard lock(mutex_);
        auto kept = kept_.find(path);
        if (kept != kept_.end() && kept->second.settled && kept->second.stamp == stamp)
            return kept->second.sections;
    }

    std::ifstream in(name, std::ios::binary);
    if (!in)
        return nullptr;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    bool settled = Older(stamp.modified, now - settle_) && Older(stamp.changed, now - settle_);

    std::lock_guard lock(mutex_);
    ++reads_;
    auto kept = kept_.find(path);
    if (kept == kept_.end() || kept->second.settled || kept->second.bytes != bytes) {
        if (kept == kept_.end() && kept_.size() >= kMaxKept)
            kept_.clear();
        Kept fresh;
        fresh.sections = std::make_shared<const ProfileSections>(ParseProfile(bytes));
        kept = kept_.insert_or_assign(path, std::move(fresh)).first;
    }
    kept->second.stamp = stamp;
    kept->second.settled = settled;
    kept->second.bytes = settled ? std::string() : std::move(bytes);
    return kept->second.sections;
}

std::size_t ProfileCache::Reads() const
{
    std::lock_guard lock(mutex_);
    return reads_;
}

ProfileCache& ProfileCache::Shared()
{
    static ProfileCache cache;
    return cache;
}

}  // namespace win::internal
