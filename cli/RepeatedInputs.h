// One file given twice (by the same path, another spelling of it, or a
// link) would be converted twice, the second run racing the first for the
// same outputs or numbering them " (2)". It is converted once instead.
#pragma once

#include <string>
#include <vector>

// `files` without those that name a file given earlier, each left out with
// a warning on stderr. Names that do not exist stay, for the input check
// to report.
std::vector<std::string> DropRepeatedInputs(const std::vector<std::string>& files);
