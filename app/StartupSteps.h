// Where start-up time goes. Once enabled (kolvex does it for
// KOLVEX_REPORT_FIRST_PAINT=1), each step of the start prints a line when it
// ends:
//   step NAME SECONDS.NANOSECONDS PROCESSOR_MS MAIN_THREAD_MS
// the wall clock, as the first-paint line gives it (so bench/startup can
// measure from its exec), the processor time the process has used so far
// (all threads), and the part of it the main thread used: on a busy machine
// the wall clock says little, and the main thread's time is the work that
// other threads cannot take off the start.
#pragma once

namespace startup_steps {

void Enable();
void Note(const char* step);

}  // namespace startup_steps
