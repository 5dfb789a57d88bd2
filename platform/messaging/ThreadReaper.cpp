#include "platform/messaging/internal/ThreadReaper.h"

#include <cstdlib>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace win::internal {

namespace {

struct Reaper {
    std::mutex mutex;
    std::unordered_map<std::thread::id, std::thread> running;
    // Threads that ended before their creator handed them over.
    std::unordered_set<std::thread::id> endedEarly;
    std::vector<std::thread> ended;
};

// Never destroyed: threads may end while static objects are destroyed.
Reaper& TheReaper()
{
    static auto* reaper = new Reaper;
    return *reaper;
}

void JoinAll(std::vector<std::thread>& threads)
{
    for (std::thread& thread : threads)
        if (thread.joinable() && thread.get_id() != std::this_thread::get_id())
            thread.join();
}

}  // namespace

void AdoptThread(std::thread thread)
{
    // Registered after the sanitizers' own exit handlers, so it runs first.
    static const bool atExit = std::atexit(ReapEndedThreads) == 0;
    (void)atExit;
    Reaper& reaper = TheReaper();
    std::vector<std::thread> finished;
    {
        std::lock_guard lock(reaper.mutex);
        std::thread::id id = thread.get_id();
        if (reaper.endedEarly.erase(id))
            reaper.ended.push_back(std::move(thread));
        else
            reaper.running.emplace(id, std::move(thread));
        finished.swap(reaper.ended);
    }
    // Outside the lock: an ending thread takes it to say so.
    JoinAll(finished);
}

void ThreadEnding()
{
    Reaper& reaper = TheReaper();
    std::lock_guard lock(reaper.mutex);
    auto it = reaper.running.find(std::this_thread::get_id());
    if (it == reaper.running.end()) {
        reaper.endedEarly.insert(std::this_thread::get_id());
        return;
    }
    reaper.ended.push_back(std::move(it->second));
    reaper.running.erase(it);
}

void ReapEndedThreads()
{
    Reaper& reaper = TheReaper();
    std::vector<std::thread> finished;
    {
        std::lock_guard lock(reaper.mutex);
        finished.swap(reaper.ended);
    }
    JoinAll(finished);
}

}  // namespace win::internal
