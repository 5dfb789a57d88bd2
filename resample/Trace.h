// Diagnostics of the resampler: off unless KOLVEX_TRACE=1 is set in the
// environment, then one line each on standard error. Users never see them.
#pragma once

namespace ssrc {

bool TraceEnabled();
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace ssrc
