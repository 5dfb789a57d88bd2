// Output names from a pattern of the user's (kolvex-convert --name): fields
// of the row's tags and source name, "/" for sub-folders. The result never
// leaves the folder it is made for.
#pragma once

#include "engine/ConversionItem.h"

#include <optional>
#include <string>

// Why `pattern` cannot be used, or nothing when it can. Fields: %n track
// number (two digits), %t title, %a artist, %A album, %y year, %f source
// file name without extension, %% a "%".
std::optional<std::wstring> CheckNamePattern(const std::wstring& pattern);

// `directory` (ending in "/") + the pattern filled from `item` + "." +
// `extension`. Every field is made safe as track titles are ("/" and
// control characters become "_"); components that are empty, "." or ".."
// are dropped or replaced, a leading "/" is dropped, and each component is
// cut to 255 bytes on a character boundary, the extension included.
std::wstring PatternOutputPath(const std::wstring& pattern, const ConversionItem& item,
                               const std::wstring& directory, const std::wstring& extension);
