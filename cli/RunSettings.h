// The settings of one run: the stored ones with the command line's
// overrides, in g_settings (which the workers read) and in a private copy of
// the settings file (which the encoder reads), so the stored file is never
// rewritten.
#pragma once

#include "cli/CommandLine.h"

#include <string>

class RunSettings {
public:
    explicit RunSettings(const CommandLine& options);
    ~RunSettings();
    RunSettings(const RunSettings&) = delete;
    RunSettings& operator=(const RunSettings&) = delete;

    // Empty when the run can go on; otherwise what went wrong.
    const std::string& Error() const { return error_; }

private:
    std::string privateCopy_;
    std::string error_;
};
