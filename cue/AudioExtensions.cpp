#include "cue/AudioExtensions.h"

#include "platform/core/PathParts.h"
#include "platform/core/Strings.h"

bool IsAudioExtension(std::wstring_view extension)
{
    for (std::wstring_view known : kAudioExtensions)
        if (win::CompareNoCase(extension, known) == 0)
            return true;
    return false;
}

bool HasAudioExtension(std::wstring_view path)
{
    auto extension = ExtensionOf(FileNameOf(path));
    return extension && IsAudioExtension(*extension);
}
