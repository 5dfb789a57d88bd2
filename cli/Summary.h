// The end of a kolvex-convert run: one line per row that was to be
// converted, saying what became of it and why.
#pragma once

#include "cli/ProgressDisplay.h"

#include "rows/PlainList.h"
#include "engine/ConversionItem.h"

#include <cstdio>
#include <set>

// Prints the summary to `out`; returns how many rows failed. Rows in
// `skipped` were left out because their existing file stays.
int PrintSummary(FILE* out, const RowTable& rows, const PlainList& list,
                 const std::map<std::int32_t, RowOutcome>& outcomes, const std::set<std::int32_t>& skipped);
