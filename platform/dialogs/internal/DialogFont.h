// The dialog font and the dialog units derived from it. Only platform code
// includes this.
#pragma once

#include "platform/core/Types.h"

namespace win::internal {

struct DialogFont {
    HFONT font = nullptr;  // the caller owns it
    SIZE baseUnits{6, 13};
};

// Dialog templates are laid out for the classic dialog font, whose base
// units at 8 points are 6 × 13 pixels. Our sans-serif face is wider, so its
// own measurement (7 × 13 at 8 points) would stretch every dialog and push
// controls placed at fixed pixels out of line. The units are therefore the
// reference ones, scaled with the point size, and the face is drawn at the
// largest size (in quarter points) whose measured units do not exceed them,
// so that every text still fits the room its template gives it.
DialogFont MakeDialogFont(double pointSize);
SIZE ReferenceBaseUnits(double pointSize);

}  // namespace win::internal
