#include "cli/SignalWatcher.h"

#include "engine/BatchController.h"

#include "platform/core/TemporaryFiles.h"

#include <csignal>
#include <pthread.h>
#include <unistd.h>

namespace {

// SIGUSR2 only tells the watching thread to end.
sigset_t WatchedSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR2})
        sigaddset(&set, s);
    return set;
}

void Say(const char* text)
{
    ssize_t ignored = write(STDERR_FILENO, text, __builtin_strlen(text));
    (void)ignored;
}

}  // namespace

SignalWatcher::SignalWatcher()
{
    std::signal(SIGPIPE, SIG_IGN);
    sigset_t set = WatchedSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    thread_ = std::thread([this] { Run(); });
}

SignalWatcher::~SignalWatcher()
{
    pthread_kill(thread_.native_handle(), SIGUSR2);
    thread_.join();
}

void SignalWatcher::Watch(BatchController* batch)
{
    std::lock_guard guard(lock_);
    batch_ = batch;
}

void SignalWatcher::Run()
{
    sigset_t set = WatchedSignals();
    for (;;) {
        int s = 0;
        if (sigwait(&set, &s) != 0 || s == SIGUSR2)
            return;
        std::lock_guard guard(lock_);
        if (signal_.exchange(s) != 0 || !batch_) {
            // No time for the rows to stop: their unfinished files go now.
            win::UnlinkLiveTemporaries();
            Say("\ninterrupted\n");
            _exit(128 + s);
        }
        Say("\ninterrupted: stopping\n");
        batch_->Cancel();
    }
}
