#include "engine/BrookSource.h"

#include "platform/core/Strings.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Thread.h"

// The module's reader thread must be gone before the module is unloaded.
BrookSource::~BrookSource()
{
    if (initialised_ && HasModule())
        api_.release();
}

int BrookSource::Load(const wchar_t* moduleName)
{
    api_ = EntryPoints();
    initialised_ = false;
    if (LoadWithExports(moduleName, [this] { return FindEntryPoints(); }))
        return 1;
    api_ = EntryPoints();
    return 0;
}

bool BrookSource::FindEntryPoints()
{
    auto find = [this](auto& entry, const char* name) { return FindExport(entry, name); };
    bool all = find(api_.init, "Init");
    all &= find(api_.release, "Release");
    all &= find(api_.run, "Run");
    all &= find(api_.stop, "Stop");
    all &= find(api_.pause, "Pause");
    all &= find(api_.seek, "Seek");
    all &= find(api_.setAudioCallBack, "SetAudioCallBack");
    all &= find(api_.isDone, "IsDone");
    all &= find(api_.getWaveFormatEx, "GetWaveFormatEx");
    all &= find(api_.getAudioTime, "GetAudioTime");
    return all;
}

int BrookSource::Init(const std::wstring& path, std::uint32_t threadId)
{
    if (!HasModule())
        return 0;
    if (threadId == win::GetCurrentThreadId()) {
        win::MSG msg;
        win::PeekMessage(&msg, nullptr, 0, 0, win::PM_NOREMOVE);
    }
    int result = api_.init(win::ToAnsi(path).c_str(), 0, threadId);
    initialised_ = initialised_ || result != 0;
    return result;
}

int BrookSource::Run() { return HasModule() ? api_.run() : 0; }

int BrookSource::Stop() { return HasModule() ? api_.stop() : 0; }

int BrookSource::Release()
{
    if (!HasModule())
        return 0;
    initialised_ = false;
    return api_.release();
}
