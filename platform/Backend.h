// A back-end presents the window tree and answers what a person decides
// outside our windows. The headless one is the default; the display program
// installs another before it creates windows.
#pragma once

#include "platform/Types.h"

#include <string>

namespace win {

class Backend {
public:
    virtual ~Backend() = default;

    // May be called from any thread; blocks the caller until answered.
    virtual int MessageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                           UINT type) = 0;
};

Backend& CurrentBackend();
// Not owned; null restores the default headless back-end.
void SetBackend(Backend* backend);

}  // namespace win
