// The settings of one run: the stored ones (or those of --settings FILE)
// with the command line's overrides, in memory only. The batch converts
// with this snapshot; the stored file is never rewritten and no copy of it
// is made.
#pragma once

#include "cli/CommandLine.h"
#include "engine/BatchSettings.h"

#include <string>

// Why the file --settings names cannot be read (a pipe or a device would
// be waited for or read forever), for a user; empty when it can, or when
// the stored file is used.
std::string SettingsFileProblem(const CommandLine& options);

class RunSettings {
public:
    explicit RunSettings(const CommandLine& options);

    const BatchSettings& Snapshot() const { return batch_; }
    const ConversionSettings& Stored() const { return batch_.stored; }
    // Why the stored output folder was not used (the run then writes
    // beside each source); empty when it was, or when -o named one.
    const std::wstring& FolderProblem() const { return folderProblem_; }

private:
    BatchSettings batch_;
    std::wstring folderProblem_;
    ConversionSettings& settings_ = batch_.stored;
};
