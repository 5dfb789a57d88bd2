// Brook_R: the RealMedia module. It tells how long a RealMedia file plays,
// from the duration in the file's PROP header; it decodes nothing.
//
// An instance belongs to the thread that called Init; that thread's later
// calls act on it. Run reads the header on a thread of the module's and posts
// the answer to the thread named in Init:
//   BROOKM_LENGTH (3257), lParam = length in milliseconds, or
//   BROOKM_GIVEUP (3263) when the file is not a RealMedia file this module
//   understands (missing, short, garbage, no PROP header).
// Stop and Release wait for that reader; after Stop nothing more is posted.
//
// Results are 1 for success and 0 for failure unless said otherwise. The
// module plays nothing, so Pause, Seek, SetAudioCallBack and GetWaveFormatEx
// always answer 0 (not supported).
#pragma once

#include <cstdint>

constexpr unsigned BROOKM_LENGTH = 3257;
constexpr unsigned BROOKM_GIVEUP = 3263;
constexpr unsigned BROOKM_GETWAVEFORMATEX = 3264;  // never posted by this module

using BrookAudioCallBack = void (*)(const void* pcm, std::int32_t bytes, void* context);

// Init(path in the ANSI code page, flags (0), id of the thread to notify):
// 0 for a null path or non-zero flags. Replaces an earlier instance of the
// calling thread.
using BrookInit_t = std::int32_t (*)(const char* path, std::int32_t flags, std::uint32_t threadId);
// Stops the reader and frees the calling thread's instance.
using BrookRelease_t = std::int32_t (*)();
// Starts the reader; 0 without an instance or when it already ran.
using BrookRun_t = std::int32_t (*)();
// Stops the reader and waits for it; the instance stays.
using BrookStop_t = std::int32_t (*)();
using BrookPause_t = std::int32_t (*)();
using BrookSeek_t = std::int32_t (*)(std::int32_t milliseconds);
using BrookSetAudioCallBack_t = std::int32_t (*)(BrookAudioCallBack callBack, void* context);
// 1 once the reader has posted its answer (or was stopped), else 0.
using BrookIsDone_t = std::int32_t (*)();
using BrookGetWaveFormatEx_t = std::int32_t (*)(void* waveFormat);
// The length in milliseconds once known, else 0.
using BrookGetAudioTime_t = std::int32_t (*)();
