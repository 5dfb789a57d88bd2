// A dialog's own record. Only platform code includes this.
#pragma once

#include "platform/dialogs/Dialog.h"
#include "platform/window/WindowRecord.h"

namespace win::internal {

struct DialogState : ExtraState {
    DLGPROC proc = nullptr;
    HFONT font = nullptr;
    SIZE baseUnits{6, 13};
    int defaultId = 1;
    HWND savedFocus = nullptr;
    bool modal = false;
    bool ended = false;
    INT_PTR result = 0;
    ~DialogState() override;
};

DialogState* DialogOf(HWND hwnd);

}  // namespace win::internal
