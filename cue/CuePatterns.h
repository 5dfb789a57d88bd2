// The three token patterns of a sheet line: a keyword, a quoted text and one
// blank-separated field. Each finds its first match anywhere in the text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The token points into the line searched: it lives as long as the line.
struct CueMatch {
    std::wstring_view token;
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
// A match would outlive a temporary line.
std::optional<CueMatch> FindWord(std::wstring&&) = delete;
std::optional<CueMatch> FindQuoted(std::wstring&&) = delete;
std::optional<CueMatch> FindField(std::wstring&&, std::size_t) = delete;
