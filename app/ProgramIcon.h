// The program's icon (resource 128 of the design): the picture installed
// beside the executable, or the platform's application icon without it.
#pragma once

#include "platform/core/Types.h"

#include <string>

win::HICON LoadProgramIcon(const std::wstring& programFolder);

// The program's name as its windows show it.
extern const wchar_t* const kProgramTitle;
