#include "cli/DisplayText.h"

#include "platform/core/Strings.h"

std::string DisplayText(std::wstring_view text)
{
    std::wstring shown = win::ForDisplay(text);
    for (auto& c : shown)
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0))
            c = L'\uFFFD';
    return win::ToUtf8(shown);
}
