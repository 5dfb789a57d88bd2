#include "cue/AudioExtensions.h"
#include "cue/CueSheet.h"

const wchar_t* ImageFoundText(ImageFound how)
{
    switch (how) {
    case ImageFound::Named:
        return L"found by its name";
    case ImageFound::ByExtension:
        return L"found by its name with another extension";
    case ImageFound::BySheetName:
        return L"found by the sheet's name";
    case ImageFound::OnlyAudioFile:
        return L"the only audio file beside the sheet";
    case ImageFound::Embedded:
        return L"the sheet inside the image";
    case ImageFound::Missing:
        break;
    }
    return L"not found";
}

bool IsRawCdImage(const CueFile& file)
{
    return (file.kind == CueFileKind::Binary || file.kind == CueFileKind::Motorola) && !HasAudioExtension(file.path);
}
