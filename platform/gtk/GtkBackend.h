// The GTK 3 display back-end: each top-level window becomes an undecorated
// GTK window showing the window's surface; pointer and keys become our
// messages; common dialogs, message boxes and menus are GTK's own.
#pragma once

#include <string>

namespace win {

// Call on the thread that will own the windows (the program's main
// thread), before creating any. False, with a reason for the person, when
// there is no display to open.
bool InstallGtkBackend(std::string* error);

}  // namespace win

// The same, for a program that loads this library only once it knows it
// has a display to show on (looked up by this name).
extern "C" bool KolvexInstallGtkBackend(std::string* error);
