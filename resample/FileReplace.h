// Whether two names lead to one file: converting a file onto itself must go
// through a temporary file, and a conversion must never write over its own
// source.
#pragma once

#include <string>

namespace ssrc {

// True when both names lead to the same file (or are the same name),
// following links.
bool SameFile(const std::wstring& a, const std::wstring& b);

}  // namespace ssrc
