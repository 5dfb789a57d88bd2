#include "settings/ConversionSettings.h"

#include "settings/Utf16.h"

#include <algorithm>

ConversionSettings g_settings;

namespace {

std::size_t StoredTextLength(const char16_t* text, std::size_t capacity)
{
    return std::find(text, text + capacity - 1, u'\0') - text;
}

}  // namespace

std::wstring ConversionSettings::OutputDirectory() const
{
    return FromUtf16({outputDirectory, StoredTextLength(outputDirectory, kDirectoryCapacity)});
}

void ConversionSettings::SetOutputDirectory(std::wstring_view directory)
{
    std::u16string text = ToUtf16(directory);
    std::size_t n = std::min(text.size(), kDirectoryCapacity - 1);
    // Never leave half of a surrogate pair at the cut.
    if (n > 0 && n < text.size() && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF)
        --n;
    std::fill(std::begin(outputDirectory), std::end(outputDirectory), u'\0');
    std::copy_n(text.begin(), n, outputDirectory);
    outputDirectoryLength = static_cast<std::uint32_t>(n);
}

void ConversionSettings::Normalise()
{
    outputDirectory[kDirectoryCapacity - 1] = u'\0';
    auto text = static_cast<std::uint32_t>(StoredTextLength(outputDirectory, kDirectoryCapacity));
    outputDirectoryLength = std::min(outputDirectoryLength, text);
}
