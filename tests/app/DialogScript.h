// Drives modal dialogs from inside their own message loop: a step runs on a
// thread timer once the dialog with the given title is up.
#pragma once

#include "platform/core/Types.h"

#include <functional>
#include <string>

namespace testing_app {

using Step = std::function<void(win::HWND dialog)>;

// Arms `step` to run on the calling thread as soon as a visible top-level
// window titled `title` exists (checked from the running message loop).
void WhenShown(const std::wstring& title, Step step);
// The visible top-level window titled `title`, or null.
win::HWND FindShown(const std::wstring& title);
// Presses the button `id` of `dialog` as a click would.
void Press(win::HWND dialog, int id);
// Handles every pending message of this thread.
void Pump();
// Pumps until `done` holds, at most `seconds`; false on time-out.
bool PumpUntil(const std::function<bool()>& done, double seconds = 60);

}  // namespace testing_app
