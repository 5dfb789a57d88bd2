// Which charset a sheet that is not UTF-8 was written in.
#pragma once

#include <string>
#include <string_view>

// An iconv name for the charset of `bytes` (a whole sheet without a
// byte-order mark that is not valid UTF-8). uchardet decides where it is
// sure; where it is not (no answer, or a Western or Greek code page that
// short texts often get), the charset whose decoding reads best wins
// (CharsetScore), and Windows-1252 when nothing reads well.
std::string DetectCharset(std::string_view bytes);
