#include "app/InstanceSocket.h"

#include "platform/core/Strings.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace instance_socket {

namespace {

// What a hand-off says: this line, then each path followed by a NUL; the
// window answers one byte once it has the files.
constexpr char kHello[] = "kolvex-files 1\n";
constexpr char kTaken = 'k';
// Enough for thousands of paths; a peer sending more is cut off.
constexpr std::size_t kMostBytes = 16u << 20;
constexpr int kAnswerMs = 3000;

// A folder only this user can enter, or not at all.
bool PrivateFolder(const std::string& folder)
{
    struct stat st {};
    if (lstat(folder.c_str(), &st) != 0) {
        if (errno != ENOENT || mkdir(folder.c_str(), 0700) != 0 || lstat(folder.c_str(), &st) != 0)
            return false;
    }
    return S_ISDIR(st.st_mode) && st.st_uid == getuid() && (st.st_mode & 077) == 0;
}

// Each display has its own window.
std::string DisplayName()
{
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* x = std::getenv("DISPLAY");
    std::string name = wayland && *wayland ? wayland : x && *x ? x : "none";
    for (char& c : name)
        if (c == '/')
            c = '_';
    return name;
}

bool Fits(const std::string& path) { return path.size() < sizeof(sockaddr_un::sun_path); }

sockaddr_un Address(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Waits for `fd` to be readable for at most `ms`.
bool Readable(int fd, int ms)
{
    pollfd p{fd, POLLIN, 0};
    int r;
    do
        r = poll(&p, 1, ms);
    while (r < 0 && errno == EINTR);
    return r > 0;
}

int Connect(const std::string& path)
{
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_un address = Address(path);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::string SocketPath()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string folder;
    if (runtime && *runtime == '/' && PrivateFolder(runtime))
        folder = runtime;
    else if (std::string fallback = "/tmp/kolvex-" + std::to_string(getuid()); PrivateFolder(fallback))
        folder = fallback;
    else
        return {};
    std::string path = folder + "/kolvex-" + DisplayName() + ".socket";
    return Fits(path) ? path : std::string();
}

bool HandOff(const std::string& socketPath, const std::vector<std::wstring>& files)
{
    if (socketPath.empty() || !Fits(socketPath))
        return false;
    int fd = Connect(socketPath);
    if (fd < 0)
        return false;
    std::string message = kHello;
    for (const std::wstring& file : files) {
        message += win::ToUtf8(file);
        message += '\0';
    }
    bool sent = WriteAll(fd, message.data(), message.size());
    shutdown(fd, SHUT_WR);
    char answer = 0;
    bool taken = sent && Readable(fd, kAnswerMs) && recv(fd, &answer, 1, 0) == 1 && answer == kTaken;
    close(fd);
    return taken;
}

Listener::Listener(std::string socketPath, Received received)
    : path_(std::move(socketPath)), received_(std::move(received))
{
    if (path_.empty() || !Fits(path_))
        return;
    // A socket left by a program that is gone answers nobody: it is ours to
    // replace. One that answers belongs to a window still running.
    if (int other = Connect(path_); other >= 0) {
        close(other);
        return;
    }
    unlink(path_.c_str());
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    sockaddr_un address = Address(path_);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || chmod(path_.c_str(), 0600) != 0 ||
        listen(fd, 8) != 0 || pipe2(wake_, O_CLOEXEC) != 0) {
        close(fd);
        return;
    }
    fd_ = fd;
    thread_ = std::thread([this] { Run(); });
}

Listener::~Listener()
{
    if (fd_ < 0)
        return;
    char stop = 0;
    (void)!write(wake_[1], &stop, 1);
    thread_.join();
    close(fd_);
    close(wake_[0]);
    close(wake_[1]);
    unlink(path_.c_str());
}

void Listener::Run()
{
    for (;;) {
        pollfd p[2] = {{fd_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (poll(p, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (p[1].revents)
            return;
        int client = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client >= 0) {
            Serve(client);
            close(client);
        }
    }
}

// One peer at a time, each given a few seconds: a peer that sends nothing
// cannot hold the window's files up for long.
void Listener::Serve(int client)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    if (getsockopt(client, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.uid != getuid())
        return;
    std::string message;
    char buffer[65536];
    while (message.size() <= kMostBytes && Readable(client, kAnswerMs)) {
        ssize_t n = recv(client, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        message.append(buffer, static_cast<std::size_t>(n));
    }
    if (message.size() > kMostBytes || message.compare(0, sizeof kHello - 1, kHello) != 0)
        return;
    std::vector<std::wstring> files;
    std::size_t at = sizeof kHello - 1;
    while (at < message.size()) {
        std::size_t end = message.find('\0', at);
        if (end == std::string::npos)
            return;  // cut short: take nothing rather than a broken name
        if (end > at)
            files.push_back(win::FromUtf8(std::string_view(message).substr(at, end - at)));
        at = end + 1;
    }
    received_(std::move(files));
    (void)WriteAll(client, &kTaken, 1);
}

}  // namespace instance_socket
