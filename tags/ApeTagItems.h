// The text items of a file's APEv2 tag, read from the bytes themselves.
// The format says UTF-8, but taggers on Windows wrote the ANSI code page;
// TagLib drops such a value without a word. Here a value that is not
// UTF-8 is read as Windows-1252, as CUE sheets are.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

struct ApeTagItem {
    std::string key;                  // as stored ("Title", "Year", ...)
    std::vector<std::wstring> values; // NUL-separated values of one item
};

// The text items of the APEv2 tag at the end of `file` (before an ID3v1
// tag, when there is one); empty when there is none or it is damaged.
std::vector<ApeTagItem> ReadApeTagItems(std::FILE* file);
