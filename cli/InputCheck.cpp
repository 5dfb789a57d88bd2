#include "cli/InputCheck.h"

#include "cue/AudioExtensions.h"
#include "cue/CueLines.h"
#include "platform/core/PathParts.h"

#include "platform/core/Strings.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

InputCheck CheckInput(const std::string& path)
{
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return {InputCheck::Refuse, std::string("cannot be read: ") + std::strerror(errno)};
    if (S_ISDIR(st.st_mode))
        return {InputCheck::SkipDirectory, "is a folder; give the files in it instead"};
    if (!S_ISREG(st.st_mode))
        return {InputCheck::Refuse, "not an ordinary file (a pipe or a device)"};
    std::wstring name(FileNameOf(win::FromUtf8(path)));
    std::wstring extension = win::ToLower(ExtensionOf(name).value_or(L""));
    if (extension == L"cue" && static_cast<std::size_t>(st.st_size) > kCueSheetMaxBytes)
        return {InputCheck::Refuse, "too large for a CUE sheet"};
    if (IsAudioExtension(extension))
        return {};
    for (const wchar_t* known : {L"cue", L"rm", L"rmvb", L"ram", L"ra"})
        if (extension == known)
            return {};
    for (const wchar_t* lossy : {L"mp3", L"mp2", L"ogg", L"oga", L"opus", L"aac", L"wma", L"mpc", L"mka"})
        if (extension == lossy)
            return {InputCheck::Refuse, "lossy source: converting it again would lose quality"};
    if (extension == kRawImageExtension)
        return {InputCheck::Refuse, "a raw CD image: give the CUE sheet that names it"};
    return {InputCheck::Refuse, "not a sound file we can convert, nor a CUE album sheet (nor a RealMedia file)"};
}
