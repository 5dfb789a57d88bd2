#include "cli/PartialOutput.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace partial_output {

namespace {

// Two buffers so the handler never reads one that is being rewritten.
char g_paths[2][4096];
std::atomic<int> g_current{-1};

void OnSignal(int signal)
{
    int which = g_current.load();
    if (which >= 0)
        unlink(g_paths[which]);
    const char message[] = "\ninterrupted: the unfinished output file was removed\n";
    ssize_t ignored = write(STDERR_FILENO, message, sizeof message - 1);
    (void)ignored;
    _exit(128 + signal);
}

}  // namespace

void Install()
{
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

void Watch(const std::string& path)
{
    if (path.empty() || path.size() >= sizeof g_paths[0]) {
        g_current.store(-1);
        return;
    }
    int next = g_current.load() == 0 ? 1 : 0;
    std::memcpy(g_paths[next], path.c_str(), path.size() + 1);
    g_current.store(next);
}

}  // namespace partial_output
