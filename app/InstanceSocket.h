// One window per display: a second `kolvex FILE…` hands its files to the
// window already running and leaves, through a Unix socket in
// $XDG_RUNTIME_DIR (or /tmp/kolvex-$UID, made private to the user). When
// anything about that fails, the second program simply opens its own window.
#pragma once

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace instance_socket {

// The socket's path for this user and display; empty when no private
// folder can be had for it.
std::string SocketPath();

// Hands `files` (absolute paths) to the running window. True once that
// window has taken them; false when there is none or it does not answer.
bool HandOff(const std::string& socketPath, const std::vector<std::wstring>& files);

// The running window's end: listens on the socket and calls `received` on
// its own thread with each set of files another program hands over.
class Listener {
public:
    using Received = std::function<void(std::vector<std::wstring>)>;
    Listener(std::string socketPath, Received received);
    // Stops listening and removes the socket.
    ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    bool Listening() const { return fd_ >= 0; }

private:
    void Run();
    void Serve(int client);

    std::string path_;
    Received received_;
    int fd_ = -1;
    int wake_[2] = {-1, -1};
    std::thread thread_;
};

}  // namespace instance_socket
