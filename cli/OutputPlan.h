// Settles what each marked row of a kolvex-convert run will write before
// the batch starts: distinct names within the run, folders that take new
// files, and the user's answer for every file that already exists.
#pragma once

#include "engine/ConversionItem.h"

#include <functional>
#include <string>

// Rows of one run that would write the same name get " (2)", " (3)" … before
// the extension, in key order, instead of overwriting each other.
void GiveDistinctNames(RowTable& rows);

// Creates the output folders of the marked rows (with their parents) and
// checks that each takes a new file. Empty when all do; else why not.
std::string PrepareOutputFolders(const RowTable& rows);

// For every marked row whose output exists, `keep(path)` says whether the
// existing file stays; such rows are unmarked and left out of the batch.
// Returns the keys of the rows left out.
std::vector<std::int32_t> LeaveOutKeptFiles(RowTable& rows, const std::function<bool(const std::wstring&)>& keep);
