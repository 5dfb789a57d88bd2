// Text for the terminal: names as UTF-8 with every control character (ESC,
// BEL, …) and every byte that was not UTF-8 shown as U+FFFD, so a title or
// a file name can never drive the terminal.
#pragma once

#include <string>
#include <string_view>

std::string DisplayText(std::wstring_view text);
