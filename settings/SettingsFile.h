// Reading and writing the settings record as a whole file.
#pragma once

#include "settings/ConversionSettings.h"

#include <string>

class SettingsFile {
public:
    // 1 when the file was opened: up to 3200 bytes replace the start of
    // `record` (a short file leaves the rest as it was), then fields out of
    // range take their defaults and a stored output folder gets its final
    // "/" (see SettingsCheck.h). 0 when it cannot be opened or is not an
    // ordinary file (a pipe is never waited for); `record` is then untouched.
    static int Read(const std::wstring& path, ConversionSettings& record);
    // Replaces the file by one holding the whole record; 1 or 0 (the file
    // is then as it was).
    static int Write(const std::wstring& path, const ConversionSettings& record);

};
