// What the desktop program takes in: the filter of "Add files" (its two
// entries as they always were, and after the first one "All supported" and
// one entry per format) and which dropped or named paths it adds, folders
// searched through.
#pragma once

#include <string>
#include <vector>

namespace source_formats {

// The filter text of "Add files" ("name|patterns|...||").
const std::wstring& AddFilter();
// Whether `path` names a kind of file "Add files" offers (by extension).
bool IsSupported(const std::wstring& path);
// The ordinary files among `paths` that are there, in order (a file dialog
// may return what was typed, a folder or a name that is not there).
std::vector<std::wstring> ExistingFiles(const std::vector<std::wstring>& paths);
// What a drop adds, in order: the supported files, and in place of each
// folder the supported files under it, sorted by path.
std::vector<std::wstring> DroppedFiles(const std::vector<std::wstring>& paths);

}  // namespace source_formats
