// The three token patterns of a sheet line: a keyword, a quoted text and one
// blank-separated field. Each finds its first match anywhere in the text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

struct CueMatch {
    std::wstring token;
    std::size_t position = 0;  // of the whole match in the line
    std::size_t length = 0;    // of the whole match
};

std::optional<CueMatch> FindWord(const std::wstring& line);
// The text after the opening quote, without the closing quote if any.
std::optional<CueMatch> FindQuoted(const std::wstring& line);
// Searches from `from`: one white character, then the run of non-white
// characters that follows it (empty when a second white character follows at
// once), then optionally one more white character.
std::optional<CueMatch> FindField(const std::wstring& line, std::size_t from);
