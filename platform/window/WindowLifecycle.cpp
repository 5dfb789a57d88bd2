// What the other parts of the layer do when a window comes and goes.
#include "platform/backend/Backend.h"
#include "platform/dialogs/Menu.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/Window.h"
#include "platform/window/internal/WindowTable.h"

namespace win::internal {

void ForgetFocusOf(HWND hwnd);
void ForgetInputOf(HWND hwnd);

void OnWindowCreated(WindowData& window)
{
    if (window.IsChild())
        return;
    ResizeSurface(window);
    CurrentBackend().WindowCreated(window.self);
}

void PrepareForDestruction(HWND hwnd)
{
    if (HWND capture = GetCapture(); capture && (capture == hwnd || IsChild(hwnd, capture)))
        ReleaseCapture();
    if (HWND focus = GetFocus(); focus && (focus == hwnd || IsChild(hwnd, focus)))
        SetFocus(nullptr);
    auto window = FindWindow(hwnd);
    if (!window || window->IsChild())
        return;
    if (window->style & WS_VISIBLE)
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    if (GetActiveWindow() == hwnd)
        SetActiveWindow(NextWindowToActivate(hwnd));
}

void OnWindowDestroyed(WindowData& window)
{
    ForgetFocusOf(window.self);
    ForgetInputOf(window.self);
    if (window.systemMenu) {
        DestroyMenu(window.systemMenu);
        window.systemMenu = nullptr;
    }
    if (!window.IsChild())
        CurrentBackend().WindowDestroyed(window.self);
}

}  // namespace win::internal
