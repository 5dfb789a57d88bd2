// An interrupted run (Ctrl-C, a hang-up) must not leave a half-written file
// that looks like a finished conversion: the file of the row in progress is
// removed before the program ends.
#pragma once

#include <string>

namespace partial_output {

// Installs the handlers for SIGINT, SIGTERM and SIGHUP.
void Install();
// The file being written now; empty when none.
void Watch(const std::string& path);

}  // namespace partial_output
