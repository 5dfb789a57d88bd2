// Which arguments kolvex-convert takes as inputs, decided before anything
// runs: a file it cannot convert is left out with the reason, instead of
// being started and failing, hanging on a pipe or reading a device forever.
#pragma once

#include <string>

struct InputCheck {
    enum Verdict { Take, SkipDirectory, Refuse };
    Verdict verdict = Take;
    std::string reason;  // for SkipDirectory and Refuse
};

// `path` as given on the command line (any bytes).
InputCheck CheckInput(const std::string& path);
