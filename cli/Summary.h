// The end of a kolvex-convert run: one line per row that was to be
// converted, saying what became of it and why.
#pragma once

#include "cli/OutputPlan.h"
#include "cli/ProgressDisplay.h"

#include "rows/PlainList.h"
#include "engine/ConversionItem.h"

#include <cstdio>
#include <set>

// Prints the summary to `out`; returns how many rows failed. Rows in
// `leftOut` were left out before the batch, for the reason given.
int PrintSummary(FILE* out, const RowTable& rows, const PlainList& list,
                 const std::map<std::int32_t, RowOutcome>& outcomes, const LeftOutRows& leftOut);
