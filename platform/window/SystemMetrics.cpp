#include "platform/window/SystemMetrics.h"

#include "platform/backend/Backend.h"
#include "platform/window/NonClient.h"

namespace win {

int GetSystemMetrics(int index)
{
    switch (index) {
    case SM_CXSCREEN: return CurrentBackend().ScreenSize().cx;
    case SM_CYSCREEN: return CurrentBackend().ScreenSize().cy;
    case SM_CYCAPTION: return internal::kCaptionHeight;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXICON:
    case SM_CYICON: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    }
    return 0;
}

BOOL SystemParametersInfo(UINT action, UINT, void* data, UINT)
{
    if (action != SPI_GETWORKAREA || !data)
        return 0;
    *static_cast<RECT*>(data) = CurrentBackend().WorkArea();
    return 1;
}

}  // namespace win
