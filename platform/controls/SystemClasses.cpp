// The window classes the system provides: the standard controls and the
// dialog class, registered on first use of any class.
#include "platform/controls/Controls.h"
#include "platform/dialogs/Dialog.h"
#include "platform/window/Input.h"
#include "platform/window/Window.h"
#include "platform/window/WindowRecord.h"

#include <mutex>

namespace win::internal {

WNDPROC ButtonWindowProc();
WNDPROC StaticWindowProc();
WNDPROC EditWindowProc();
WNDPROC ComboBoxWindowProc();
WNDPROC ComboListWindowProc();
WNDPROC ProgressWindowProc();
WNDPROC TabWindowProc();

namespace {

void Register(LPCWSTR name, WNDPROC proc, UINT style, HBRUSH background, int extra)
{
    WNDCLASS wc;
    wc.lpszClassName = name;
    wc.lpfnWndProc = proc;
    wc.style = style;
    wc.hbrBackground = background;
    wc.cbWndExtra = extra;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClass(&wc);
}

HBRUSH SystemBrush(int index) { return reinterpret_cast<HBRUSH>(static_cast<std::intptr_t>(index + 1)); }

}  // namespace

void RegisterSystemClasses()
{
    static std::once_flag once;
    static thread_local bool registering = false;
    if (registering)
        return;
    std::call_once(once, [] {
        registering = true;
        Register(WC_BUTTON, ButtonWindowProc(), CS_DBLCLKS, nullptr, 0);
        Register(WC_STATIC, StaticWindowProc(), 0, nullptr, 0);
        Register(WC_EDIT, EditWindowProc(), CS_DBLCLKS, nullptr, 0);
        Register(WC_COMBOBOX, ComboBoxWindowProc(), CS_DBLCLKS, nullptr, 0);
        Register(WC_COMBOLBOX, ComboListWindowProc(), CS_DROPSHADOW, nullptr, 0);
        Register(PROGRESS_CLASS, ProgressWindowProc(), 0, nullptr, 0);
        Register(WC_TABCONTROL, TabWindowProc(), CS_DBLCLKS, nullptr, 0);
        Register(WC_DIALOG, DefDlgProc, CS_DBLCLKS, SystemBrush(15), DLGWINDOWEXTRA);
        registering = false;
    });
}

}  // namespace win::internal
