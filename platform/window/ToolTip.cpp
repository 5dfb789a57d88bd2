#include "platform/window/ToolTip.h"

#include "platform/backend/Backend.h"
#include "platform/window/Window.h"
#include "platform/window/WindowTree.h"
#include "platform/window/internal/TipOwner.h"

namespace win {

namespace {

// Pointers belong to the thread that owns the windows under them.
thread_local HWND tipOwner = nullptr;
thread_local HWND tipTop = nullptr;

}  // namespace

void ShowToolTip(HWND window, const std::wstring& text)
{
    HWND top = window ? GetAncestor(window, GA_ROOT) : nullptr;
    if (!top)
        return;
    tipOwner = text.empty() ? nullptr : window;
    tipTop = top;
    CurrentBackend().ShowTip(top, text);
}

namespace internal {

void TipPointerOver(HWND target)
{
    if (!tipOwner)
        return;
    if (target && IsWindow(tipOwner) && (target == tipOwner || IsChild(tipOwner, target)))
        return;
    tipOwner = nullptr;
    if (IsWindow(tipTop))
        CurrentBackend().ShowTip(tipTop, L"");
}

}  // namespace internal

}  // namespace win
