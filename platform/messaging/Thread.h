// Threads as the program sees them: ids, handles, waiting for an end.
#pragma once

#include "platform/core/Types.h"

namespace win {

DWORD GetCurrentThreadId();

// Starts `start(parameter)` at once on a new thread that already has its
// message queue; `threadId` (optional) receives the new thread's id before
// this returns. The handle stays valid until CloseHandle.
HANDLE CreateThread(void* security, std::size_t stackSize, LPTHREAD_START_ROUTINE start,
                    void* parameter, DWORD flags, DWORD* threadId);

// Waits for a thread to end. While waiting, the caller keeps handling messages
// that other threads send to it, so a thread blocked in SendMessage towards
// the waiter cannot deadlock it.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
BOOL CloseHandle(HANDLE handle);

constexpr DWORD STILL_ACTIVE = 259;

DWORD GetTickCount();

}  // namespace win
