// Sizes of the screen and of things the system draws.
#pragma once

#include "platform/core/Types.h"

namespace win {

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
int GetSystemMetrics(int index);

constexpr UINT SPI_GETWORKAREA = 0x0030;
// SPI_GETWORKAREA: the screen less the desktop's panels, into a RECT.
BOOL SystemParametersInfo(UINT action, UINT param, void* data, UINT winIni);

}  // namespace win
