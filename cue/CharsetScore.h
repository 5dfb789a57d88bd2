// How much a text decoded in a charset looks like what people write in it:
// the tie-break between charsets when the detector is unsure, as it is on
// short sheets (three one-word titles say little about their code page).
#pragma once

#include <string>
#include <string_view>

// Points per non-ASCII byte of `bytes` for `text`, their decoding in
// `charset`: letters in words of a sound shape (one script, a sensible
// case pattern, frequent letters; common ideographs for the charset) earn
// points, symbols, box drawing, private-use and control characters and
// mixed scripts lose them. 0 for a text without non-ASCII bytes.
double CharsetScore(std::string_view bytes, std::wstring_view text, const std::string& charset);
