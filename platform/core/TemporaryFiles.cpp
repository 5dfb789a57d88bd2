#include "platform/core/TemporaryFiles.h"

#include "platform/core/Files.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <random>
#include <system_error>
#include <unistd.h>

namespace win {

namespace {

constexpr char kPrefix[] = ".kolvex-";
constexpr char kSuffix[] = ".tmp";
// A host name longer than this is cut, to keep the name short.
constexpr std::size_t kHostBytes = 64;

// Far more than the rows and settings files a process writes at once.
constexpr int kSlots = 64;
enum SlotState : int { kFree = 0, kFilling = 1, kLive = 2 };

struct Slot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX];
};
Slot g_slots[kSlots];

// Only characters that cannot be mistaken for the name's own separators or
// be refused by a file system.
std::string HostName()
{
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0 || host[0] == '\0')
        std::strcpy(host, "localhost");
    std::string name;
    for (const char* c = host; *c && name.size() < kHostBytes; ++c) {
        bool plain = (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9') ||
                     *c == '.' || *c == '-';
        name += plain ? *c : '_';
    }
    return name;
}

std::string FolderOf(const std::string& path)
{
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The process id in `name` when it is a temporary file of `host`; 0 otherwise.
pid_t OwnerOf(const std::string& name, const std::string& host)
{
    const std::string start = kPrefix + host + "-";
    if (name.size() <= start.size() + std::strlen(kSuffix) || name.compare(0, start.size(), start) != 0 ||
        !name.ends_with(kSuffix))
        return 0;
    std::string rest = name.substr(start.size(), name.size() - start.size() - std::strlen(kSuffix));
    auto dash = rest.find('-');
    if (dash == 0 || dash == std::string::npos || dash > 10)
        return 0;
    long long pid = 0;
    for (std::size_t i = 0; i < dash; ++i) {
        if (rest[i] < '0' || rest[i] > '9')
            return 0;
        pid = pid * 10 + (rest[i] - '0');
    }
    if (rest.find('-', dash + 1) != std::string::npos || pid <= 0 || pid > INT_MAX)
        return 0;
    return static_cast<pid_t>(pid);
}

}  // namespace

std::string TemporaryNameFor(const std::string& finalPath)
{
    thread_local std::mt19937_64 random{std::random_device{}()};
    char tag[17];
    std::snprintf(tag, sizeof tag, "%016llx", static_cast<unsigned long long>(random()));
    return FolderOf(finalPath) + kPrefix + HostName() + "-" + std::to_string(getpid()) + "-" + tag + kSuffix;
}

int RemoveStaleTemporaries(const std::wstring& folder)
{
    namespace fs = std::filesystem;
    const std::string host = HostName();
    int removed = 0;
    std::error_code error;
    for (fs::directory_iterator it(ToPath(folder), error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        pid_t owner = OwnerOf(name, host);
        if (owner == 0 || owner == getpid())
            continue;
        // ESRCH: no such process. EPERM means one runs under that id.
        if (kill(owner, 0) != 0 && errno == ESRCH && unlink(it->path().c_str()) == 0)
            ++removed;
    }
    return removed;
}

void UnlinkLiveTemporaries()
{
    for (Slot& slot : g_slots)
        if (slot.state.load(std::memory_order_acquire) == kLive)
            unlink(slot.path);
}

bool RegisterLiveTemporary(const std::string& path, int* slot)
{
    *slot = -1;
    if (path.size() >= PATH_MAX)
        return false;
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (g_slots[i].state.compare_exchange_strong(expected, kFilling, std::memory_order_acquire)) {
            std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
            g_slots[i].state.store(kLive, std::memory_order_release);
            *slot = i;
            return true;
        }
    }
    return false;
}

void ReleaseLiveTemporary(int slot)
{
    if (slot >= 0 && slot < kSlots)
        g_slots[slot].state.store(kFree, std::memory_order_release);
}

}  // namespace win
