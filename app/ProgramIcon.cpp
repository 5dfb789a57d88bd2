#include "app/ProgramIcon.h"

#include "platform/graphics/Icon.h"

const wchar_t* const kProgramTitle = L"Verdo Ape to MP3 WAV Converter pro v1.1 ";

win::HICON LoadProgramIcon(const std::wstring& programFolder)
{
    if (win::HICON icon = win::LoadIconFile(programFolder + L"kolvex.png"))
        return icon;
    return win::LoadIcon(nullptr, win::MAKEINTRESOURCE(128));
}
