// Rewriting a file in place without ever putting it at risk: the new
// contents go to a temporary file beside it, which replaces the original
// in one rename only when it is complete.
#pragma once

#include <cstdio>
#include <string>

namespace ssrc {

// True when both names lead to the same file (or are the same name).
bool SameFile(const std::wstring& a, const std::wstring& b);

// Creates a new file named `base` + ".tmp", or, when a file of that name
// exists already, another unused name beside it; never opens an existing
// file. Null when no file can be created.
std::FILE* CreateTemporary(const std::wstring& base, std::wstring* path);

// Gives `to` the permission bits of the file `from` is open on.
void CopyPermissions(std::FILE* from, std::FILE* to);

// True when `file` is open on an ordinary file (not a device or a pipe):
// only such a file may be deleted when a conversion into it fails.
bool IsRegularFile(std::FILE* file);

// Flushes `file` to the disk and closes it; false when anything failed.
bool CommitAndClose(std::FILE* file);

}  // namespace ssrc
