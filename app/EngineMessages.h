// The window messages the main window hears of a batch by (WindowRowEvents
// turns the engine's reports into them): progress is sent (the worker
// waits), the rest posted. Per row: start, progress, done; the batch's done
// comes last.
#pragma once

#include "platform/messaging/Messages.h"

constexpr win::UINT WM_CONVERT_PROGRESS = 2024;  // wParam row key, lParam: const int64_t* position in ms
constexpr win::UINT WM_WAVE_START = 2025;        // wParam row key
constexpr win::UINT WM_WAVE_DONE = 2026;         // wParam row key, lParam 0 = file written, 1 = failed
constexpr win::UINT WM_MP3_START = 2027;         // wParam row key
constexpr win::UINT WM_MP3_DONE = 2028;          // wParam row key, lParam 0 = file written, 1 = failed
constexpr win::UINT WM_BATCH_DONE = 2029;
