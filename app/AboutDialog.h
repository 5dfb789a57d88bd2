// "About Kolvex": the program icon, its name and one line about it.
#pragma once

#include "platform/dialogs/Dialog.h"
#include "platform/core/Types.h"

namespace about_box {

constexpr int kIcon = 1040;
constexpr int kNameLine = 1041;
constexpr int kSecondLine = 1042;

win::DialogTemplate Template();
// Runs the box modally over `owner`.
void Show(win::HWND owner, win::HICON icon);

}  // namespace about_box
