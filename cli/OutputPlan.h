// Settles what each marked row of a kolvex-convert run will write before
// the batch starts: distinct names within the run, folders that take new
// files, and the user's answer for every file that already exists. Rows
// that cannot or need not be converted are unmarked and left out, each with
// its reason; the others go on.
#pragma once

#include "cli/ProgressDisplay.h"

#include "engine/ConversionItem.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

using LeftOutRows = std::map<std::int32_t, LeftOut>;

// Rows of one run that would write the same name get " (2)", " (3)" … before
// the extension, in key order, instead of overwriting each other.
void GiveDistinctNames(RowTable& rows);

// The folders a run made for its outputs, deepest first, so that those a
// failed row left empty can go again.
class MadeFolders {
public:
    // `keep`: the folder the user named for the outputs, which stays.
    explicit MadeFolders(std::string keep) : keep_(std::move(keep)) { }
    void Add(const std::string& folder) { folders_.push_back(folder); }
    // Removes every folder the run made that is empty now.
    void RemoveEmpty() const;

private:
    std::string keep_;
    std::vector<std::string> folders_;
};

// Creates the output folders of the marked rows (with their parents),
// checks that each takes a new file and removes the temporary files that
// killed runs left there. A row whose folder does not is left
// out as failed, with the reason; the folders made are noted in `made`.
void PrepareOutputFolders(RowTable& rows, LeftOutRows& leftOut, MadeFolders& made);

// For every marked row whose output name is taken (a dangling link
// included), `keep(path)` says whether what is there stays; such rows are
// left out. A kept WAV that is not 16-bit 44100 Hz stereo when the run
// resamples is not what the user asked for: it stays, and the row fails.
void LeaveOutKeptFiles(RowTable& rows, bool resampling, const std::function<bool(const std::wstring&)>& keep,
                       LeftOutRows& leftOut);
