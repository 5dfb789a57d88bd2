// Opening a file to read that someone named: a pipe or a device under the
// name would block the open (a FIFO waits for a writer) or never end, so
// only an ordinary file is opened, and the open itself never waits.
#pragma once

#include <cstdio>
#include <string>

namespace win {

// An open descriptor (close it) for reading the ordinary file at `path`, or
// -1 with the reason in `why` (when given), in the words inputs are refused
// with: "not an ordinary file (a pipe or a device)", "is a folder",
// "cannot be read: No such file or directory".
int OpenRegularFile(const std::wstring& path, std::string* why = nullptr);
// The same as a stream ("rb"); null with the reason.
std::FILE* OpenRegularStream(const std::wstring& path, std::string* why = nullptr);
// Checks that `path` is an ordinary file that can be opened for reading,
// without keeping it open: "" or the reason, as above. For a library that
// opens the file by its name itself.
std::string RegularFileProblem(const std::wstring& path);

}  // namespace win
