// The module's exports. Instances are kept per calling thread; the registry
// outlives every reader thread, so unloading the module never leaves one
// running.
#include "modules/realmedia/BrookR.h"

#include "modules/realmedia/LengthReader.h"
#include "platform/messaging/Thread.h"

#include <map>
#include <memory>
#include <mutex>
#include <type_traits>

#define BROOK_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

class Registry {
public:
    ~Registry()
    {
        std::lock_guard lock(mutex_);
        readers_.clear();
    }

    void Set(std::unique_ptr<LengthReader> reader)
    {
        std::unique_ptr<LengthReader> old;
        std::lock_guard lock(mutex_);
        old = std::move(readers_[win::GetCurrentThreadId()]);
        readers_[win::GetCurrentThreadId()] = std::move(reader);
    }

    std::unique_ptr<LengthReader> Take()
    {
        std::lock_guard lock(mutex_);
        auto it = readers_.find(win::GetCurrentThreadId());
        if (it == readers_.end())
            return nullptr;
        auto reader = std::move(it->second);
        readers_.erase(it);
        return reader;
    }

    // The caller's reader stays registered; only its own thread uses it.
    LengthReader* Find()
    {
        std::lock_guard lock(mutex_);
        auto it = readers_.find(win::GetCurrentThreadId());
        return it == readers_.end() ? nullptr : it->second.get();
    }

private:
    std::mutex mutex_;
    std::map<win::DWORD, std::unique_ptr<LengthReader>> readers_;
};

Registry g_registry;

}  // namespace

BROOK_EXPORT std::int32_t Init(const char* path, std::int32_t flags, std::uint32_t threadId)
{
    if (!path || flags != 0)
        return 0;
    g_registry.Set(std::make_unique<LengthReader>(path, threadId));
    return 1;
}

BROOK_EXPORT std::int32_t Release()
{
    return g_registry.Take() ? 1 : 0;
}

BROOK_EXPORT std::int32_t Run()
{
    LengthReader* reader = g_registry.Find();
    return reader && reader->Run() ? 1 : 0;
}

BROOK_EXPORT std::int32_t Stop()
{
    LengthReader* reader = g_registry.Find();
    if (!reader)
        return 0;
    reader->Stop();
    return 1;
}

BROOK_EXPORT std::int32_t Pause() { return 0; }

BROOK_EXPORT std::int32_t Seek(std::int32_t) { return 0; }

BROOK_EXPORT std::int32_t SetAudioCallBack(BrookAudioCallBack, void*) { return 0; }

BROOK_EXPORT std::int32_t IsDone()
{
    LengthReader* reader = g_registry.Find();
    return reader && reader->IsDone() ? 1 : 0;
}

BROOK_EXPORT std::int32_t GetWaveFormatEx(void*) { return 0; }

BROOK_EXPORT std::int32_t GetAudioTime()
{
    LengthReader* reader = g_registry.Find();
    return reader && reader->IsDone() ? static_cast<std::int32_t>(reader->Length()) : 0;
}

static_assert(std::is_same_v<decltype(&Init), BrookInit_t>);
static_assert(std::is_same_v<decltype(&Release), BrookRelease_t>);
static_assert(std::is_same_v<decltype(&Run), BrookRun_t>);
static_assert(std::is_same_v<decltype(&Stop), BrookStop_t>);
static_assert(std::is_same_v<decltype(&Pause), BrookPause_t>);
static_assert(std::is_same_v<decltype(&Seek), BrookSeek_t>);
static_assert(std::is_same_v<decltype(&SetAudioCallBack), BrookSetAudioCallBack_t>);
static_assert(std::is_same_v<decltype(&IsDone), BrookIsDone_t>);
static_assert(std::is_same_v<decltype(&GetWaveFormatEx), BrookGetWaveFormatEx_t>);
static_assert(std::is_same_v<decltype(&GetAudioTime), BrookGetAudioTime_t>);
