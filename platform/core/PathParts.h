// The pieces of a path that the naming rules cut it into. "/" separates
// folders; the last "." of the whole path starts its extension, wherever it
// stands, because that is how the rules were written.
#pragma once

#include <optional>
#include <string_view>

// Up to and including the last "/"; empty when there is none.
std::wstring_view DirectoryOf(std::wstring_view path);
// After the last "/"; the whole path when there is none.
std::wstring_view FileNameOf(std::wstring_view path);
// The text after the last "."; none when the path has no ".".
std::optional<std::wstring_view> ExtensionOf(std::wstring_view path);
// The path up to and including its last "."; none when it has no ".".
std::optional<std::wstring_view> UpToLastDot(std::wstring_view path);
