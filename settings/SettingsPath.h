// Where the settings file lives: "configure.dat" beside the executable,
// unless a caller (a command-line run on a private copy, a test) points
// elsewhere.
#pragma once

#include <string>

std::wstring SettingsPath();
// An empty path goes back to the file beside the executable. Set it before
// any worker starts.
void SetSettingsPath(std::wstring path);
