// The box at the end of a batch that lists every row that wrote no file,
// with why. However many there are, the box fits the screen: the list
// scrolls and its OK stays in reach.
#pragma once

#include "platform/core/Types.h"

#include <string>
#include <utility>
#include <vector>

namespace failure_summary {

// Output file name and reason, in the order the rows failed.
using Failures = std::vector<std::pair<std::wstring, std::wstring>>;

std::wstring Text(const Failures& failures);
// Nothing when there are no failures.
void Show(win::HWND owner, const Failures& failures);

}  // namespace failure_summary
