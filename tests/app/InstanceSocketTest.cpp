// Handing files to the running window through its socket, and every way
// that can fail without losing the files (the caller then opens its own
// window).
#include "app/InstanceSocket.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>

using namespace instance_socket;
namespace fs = std::filesystem;

namespace {

struct Inbox {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::vector<std::wstring>> received;

    Listener::Received Taker()
    {
        return [this](std::vector<std::wstring> files) {
            std::lock_guard lock(mutex);
            received.push_back(std::move(files));
            changed.notify_all();
        };
    }
};

// A socket file nobody listens on, as a program that was killed leaves.
void LeaveStaleSocket(const std::string& path)
{
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(fd);
}

}  // namespace

TEST(InstanceSocket, FilesReachTheRunningWindowInOrder)
{
    testing_support::TempDir dir;
    std::string path = (dir / "k.socket").string();
    Inbox inbox;
    {
        Listener listener(path, inbox.Taker());
        ASSERT_TRUE(listener.Listening());
        struct stat st {};
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);

        std::vector<std::wstring> files = {L"/music/a.flac", L"/music/Ünïcode €.ape", L"/music/c.cue"};
        EXPECT_TRUE(HandOff(path, files));
        ASSERT_EQ(inbox.received.size(), 1u);
        EXPECT_EQ(inbox.received[0], files);
        EXPECT_TRUE(HandOff(path, {}));  // nothing to add: the window only comes forward
        EXPECT_EQ(inbox.received.size(), 2u);

        // A second listener finds the window running and stays out of its way.
        Listener second(path, inbox.Taker());
        EXPECT_FALSE(second.Listening());
        EXPECT_TRUE(HandOff(path, {L"/x.ape"}));
        EXPECT_EQ(inbox.received.size(), 3u);
    }
    EXPECT_FALSE(fs::exists(path)) << "the socket goes with its window";
    EXPECT_FALSE(HandOff(path, {L"/x.ape"})) << "no window: the caller opens its own";
}

TEST(InstanceSocket, AStaleSocketIsTakenOverAndGarbageIsRefused)
{
    testing_support::TempDir dir;
    std::string path = (dir / "k.socket").string();
    LeaveStaleSocket(path);
    EXPECT_FALSE(HandOff(path, {L"/x.ape"}));
    Inbox inbox;
    Listener listener(path, inbox.Taker());
    ASSERT_TRUE(listener.Listening());

    // Not a hand-off: nothing is added, and the window goes on listening.
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const char junk[] = "GET / HTTP/1.0\r\n\r\n";
    ASSERT_GT(send(fd, junk, sizeof junk - 1, 0), 0);
    shutdown(fd, SHUT_WR);
    char answer = 0;
    EXPECT_LE(recv(fd, &answer, 1, 0), 0);
    close(fd);
    EXPECT_TRUE(inbox.received.empty());
    EXPECT_TRUE(HandOff(path, {L"/y.ape"}));
    EXPECT_EQ(inbox.received.size(), 1u);
}

TEST(InstanceSocket, TheSocketLivesInAFolderOnlyItsUserCanEnter)
{
    testing_support::TempDir dir;
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    std::string keep = saved ? saved : "";
    fs::path runtime = dir / "runtime";
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    EXPECT_EQ(SocketPath().rfind(runtime.string() + "/kolvex-", 0), 0u) << SocketPath();

    // A runtime folder others may enter is not used; the fallback is made private.
    fs::permissions(runtime, fs::perms::all, fs::perm_options::replace);
    std::string fallback = SocketPath();
    std::string own = "/tmp/kolvex-" + std::to_string(getuid());
    EXPECT_EQ(fallback.rfind(own + "/kolvex-", 0), 0u) << fallback;
    struct stat st {};
    ASSERT_EQ(lstat(own.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 077, 0u);
    saved ? setenv("XDG_RUNTIME_DIR", keep.c_str(), 1) : unsetenv("XDG_RUNTIME_DIR");
}
