// The settings of one run: the stored ones (or those of --settings FILE)
// with the command line's overrides, in memory only. The batch converts
// with this snapshot; the stored file is never rewritten and no copy of it
// is made.
#pragma once

#include "cli/CommandLine.h"
#include "engine/BatchSettings.h"

class RunSettings {
public:
    explicit RunSettings(const CommandLine& options);

    const BatchSettings& Snapshot() const { return batch_; }
    const ConversionSettings& Stored() const { return batch_.stored; }

private:
    BatchSettings batch_;
    ConversionSettings& settings_ = batch_.stored;
};
