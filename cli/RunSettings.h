// The settings of one run: the stored ones (or those of --settings FILE)
// with the command line's overrides, in memory only. The batch converts
// with this snapshot; the stored file is never rewritten and no copy of it
// is made.
#pragma once

#include "cli/CommandLine.h"
#include "settings/ConversionSettings.h"

class RunSettings {
public:
    explicit RunSettings(const CommandLine& options);

    const ConversionSettings& Snapshot() const { return settings_; }

private:
    ConversionSettings settings_;
};
