// The temporary files output files are written to before they take their
// names: short names of their own in the final file's folder, that say which
// host and process made them, so a later run can clear what a killed one
// left, and a process can remove its own from a signal handler.
#pragma once

#include <string>

namespace win {

// ".kolvex-<host>-<pid>-<random>.tmp" in the folder of `finalPath`, whatever
// the length of the final name: never longer than the file system takes.
std::string TemporaryNameFor(const std::string& finalPath);

// Removes from `folder` the temporary files made on this host by processes
// that are gone (killed, crashed); those of running processes and of other
// hosts (a shared folder) stay. Returns how many it removed.
int RemoveStaleTemporaries(const std::wstring& folder);

// Removes every temporary file of this process that is still open for
// writing. Async-signal-safe: for a handler that ends the program at once
// (a second Ctrl-C), which leaves no half-written file behind.
void UnlinkLiveTemporaries();

// The table UnlinkLiveTemporaries reads: a path is registered before its
// file is created and released once it was renamed or removed. False when
// the table is full; the file is then only removed the ordinary way.
// Returns the slot through `slot`.
bool RegisterLiveTemporary(const std::string& path, int* slot);
void ReleaseLiveTemporary(int slot);

}  // namespace win
