// Where start-up time goes. Once enabled (kolvex does it for
// KOLVEX_REPORT_FIRST_PAINT=1), each step of the start prints a line when it
// ends:
//   step NAME SECONDS.NANOSECONDS PROCESSOR_MS
// the wall clock, as the first-paint line gives it (so bench/startup can
// measure from its exec), and the processor time the process has used so far.
#pragma once

namespace startup_steps {

void Enable();
void Note(const char* step);

}  // namespace startup_steps
