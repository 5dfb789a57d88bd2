// Loading the outside components. Names are given without a suffix
// ("lame_enc"); the platform's is added, and the folder of the executable is
// searched before the system's library path.
#pragma once

#include "platform/core/Types.h"

namespace win {

HMODULE LoadLibrary(LPCWSTR name);
void* GetProcAddress(HMODULE module, const char* name);
BOOL FreeLibrary(HMODULE module);

}  // namespace win
