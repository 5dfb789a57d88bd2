#include "platform/messaging/Thread.h"

#include "platform/core/HandleTable.h"
#include "platform/messaging/ThreadQueue.h"
#include "platform/messaging/WindowHooks.h"
#include "platform/messaging/internal/ThreadReaper.h"

#include <chrono>
#include <thread>
#include <unistd.h>
#include <sys/syscall.h>

namespace win {

namespace {

struct ThreadObject {
    std::mutex mutex;
    bool finished = false;
    DWORD exitCode = STILL_ACTIVE;
    DWORD id = 0;
    std::vector<std::weak_ptr<internal::ThreadQueue>> waiters;

    void Finish(DWORD code)
    {
        std::vector<std::weak_ptr<internal::ThreadQueue>> toWake;
        {
            std::lock_guard lock(mutex);
            finished = true;
            exitCode = code;
            toWake.swap(waiters);
        }
        for (auto& weak : toWake)
            if (auto queue = weak.lock())
                queue->Wake();
    }
};

internal::HandleTable<ThreadObject>& Threads()
{
    static auto* table = new internal::HandleTable<ThreadObject>;
    return *table;
}

}  // namespace

DWORD GetCurrentThreadId()
{
    thread_local DWORD id = static_cast<DWORD>(::syscall(SYS_gettid));
    return id;
}

HANDLE CreateThread(void*, std::size_t, LPTHREAD_START_ROUTINE start, void* parameter, DWORD,
                    DWORD* threadId)
{
    if (!start)
        return nullptr;
    auto object = std::make_shared<ThreadObject>();
    std::mutex started;
    std::condition_variable startedCv;
    bool ready = false;

    std::thread thread([object, start, parameter, &started, &startedCv, &ready] {
        internal::CurrentQueue();
        {
            // Notify under the lock: the creator's condition variable lives
            // on its stack and is gone once the creator sees `ready`.
            std::lock_guard lock(started);
            object->id = GetCurrentThreadId();
            ready = true;
            startedCv.notify_one();
        }
        DWORD code = start(parameter);
        if (auto ending = internal::WindowLayer().threadEnding)
            ending();
        // Handed to the reaper before anyone can see it finished: a
        // process that exits right after waiting for it then joins it
        // instead of leaving it half-way out for the leak checker.
        internal::ThreadEnding();
        object->Finish(code);
    });
    {
        std::unique_lock lock(started);
        startedCv.wait(lock, [&] { return ready; });
    }
    internal::AdoptThread(std::move(thread));
    if (threadId)
        *threadId = object->id;
    return reinterpret_cast<HANDLE>(Threads().Insert(object));
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds)
{
    auto object = Threads().Find(reinterpret_cast<std::uintptr_t>(handle));
    if (!object)
        return WAIT_FAILED;
    auto self = internal::CurrentQueue();
    std::optional<internal::Clock::time_point> deadline;
    if (milliseconds != INFINITE)
        deadline = internal::Clock::now() + std::chrono::milliseconds(milliseconds);
    {
        std::lock_guard lock(object->mutex);
        object->waiters.push_back(self);
    }
    for (;;) {
        auto seen = self->Generation();
        {
            std::lock_guard lock(object->mutex);
            if (object->finished)
                return WAIT_OBJECT_0;
        }
        if (self->DispatchSent())
            continue;
        if (deadline && internal::Clock::now() >= *deadline)
            return WAIT_TIMEOUT;
        self->WaitChange(seen, deadline);
    }
}

BOOL CloseHandle(HANDLE handle)
{
    return Threads().Remove(reinterpret_cast<std::uintptr_t>(handle)) ? 1 : 0;
}

DWORD GetTickCount()
{
    using namespace std::chrono;
    return static_cast<DWORD>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace win
