// RealMedia rows go through the module "Brook_R", which only tells a file's
// length: Init with the path and the thread to notify, Run, then wait on that
// thread's queue for BROOKM_LENGTH or BROOKM_GIVEUP.
#pragma once

#include "engine/ModuleHost.h"
#include "modules/realmedia/BrookR.h"

#include <cstdint>
#include <string>

class BrookSource : public ModuleHost {
public:
    BrookSource() = default;
    ~BrookSource() override;

    // Loads the module and its ten entry points; 0 when any is missing. Only
    // the calls below are ever made: the module plays nothing here.
    int Load(const wchar_t* moduleName) override;

    // The path goes over in the ANSI code page. When `threadId` is the
    // caller's own, its message queue is made to exist first, so that the
    // answer cannot be lost.
    int Init(const std::wstring& path, std::uint32_t threadId);
    int Run();
    int Stop();
    int Release();

private:
    struct EntryPoints {
        BrookInit_t init = nullptr;
        BrookRelease_t release = nullptr;
        BrookRun_t run = nullptr;
        BrookStop_t stop = nullptr;
        BrookPause_t pause = nullptr;
        BrookSeek_t seek = nullptr;
        BrookSetAudioCallBack_t setAudioCallBack = nullptr;
        BrookIsDone_t isDone = nullptr;
        BrookGetWaveFormatEx_t getWaveFormatEx = nullptr;
        BrookGetAudioTime_t getAudioTime = nullptr;
    };

    bool FindEntryPoints();

    EntryPoints api_;
    bool initialised_ = false;
};
