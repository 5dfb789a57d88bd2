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
    for (const wchar_t* known : {L"ape", L"cue", L"rm", L"rmvb", L"ram", L"ra"})
        if (extension == known)
            return {};
    if (IsAudioExtension(extension))
        return {};
    return {InputCheck::Refuse, "not an APE file or CUE album image (nor a RealMedia file)"};
}
