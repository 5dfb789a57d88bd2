// --list shows the rows a run would convert; a sheet whose image is missing
// or that names none still makes a row (of no length), which the run would
// then fail. The listing says so instead of passing it as convertible.
#pragma once

#include "engine/ConversionItem.h"

// Opens the source of every Monkey's Audio row that has no length and
// prints on stderr why it cannot be read. Returns how many sources could
// not be (each counted once).
int ReportUnreadableSources(const RowTable& rows);
