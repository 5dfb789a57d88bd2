// Where the settings file lives: "configure.dat" beside the executable,
// unless a caller (a command-line run on a private copy, a test) points
// elsewhere. KOLVEX_SETTINGS names another file; a program folder that
// cannot be written (an install under /usr) keeps it in the user's
// configuration folder instead, so the settings are not silently lost.
#pragma once

#include <string>

std::wstring SettingsPath();
// An empty path goes back to the default above. Set it before any worker
// starts.
void SetSettingsPath(std::wstring path);

// The default for a program in `programFolder` (ending in "/"), from the
// environment: KOLVEX_SETTINGS, else the folder when it can be written,
// else $XDG_CONFIG_HOME/kolvex/ (~/.config/kolvex/), made when missing.
std::wstring DefaultSettingsPath(const std::wstring& programFolder);
