#include "platform/dialogs/internal/DialogFont.h"

#include "platform/graphics/Font.h"
#include "platform/graphics/Gdi.h"
#include "platform/graphics/TextLayout.h"

#include <cmath>

namespace win::internal {

SIZE ReferenceBaseUnits(double pointSize)
{
    return {static_cast<LONG>(std::lround(pointSize * 6.0 / 8.0)),
            static_cast<LONG>(std::lround(pointSize * 13.0 / 8.0))};
}

DialogFont MakeDialogFont(double pointSize)
{
    if (!(pointSize > 0) || pointSize > 200)
        pointSize = 8;
    DialogFont result;
    result.baseUnits = ReferenceBaseUnits(pointSize);
    // Never shrink the face by more than a fifth: a reader must still read it.
    for (double size = pointSize; size >= pointSize * 0.8; size -= 0.25) {
        HFONT font = CreatePointFont(size, FW_NORMAL, 0);
        SIZE measured = FontBaseUnits(font);
        if (measured.cx <= result.baseUnits.cx && measured.cy <= result.baseUnits.cy) {
            result.font = font;
            return result;
        }
        DeleteObject(font);
    }
    result.font = CreatePointFont(pointSize * 0.8, FW_NORMAL, 0);
    return result;
}

}  // namespace win::internal
