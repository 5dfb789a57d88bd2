// The window that workers report to. The application publishes it once its
// window exists; worker threads read it for every message.
#pragma once

#include "platform/core/Types.h"

#include <atomic>

inline std::atomic<win::HWND> g_mainWindow{nullptr};
