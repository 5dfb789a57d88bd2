#include "platform/gtk/GtkBackend.h"

#include "platform/backend/DisplayEnvironment.h"
#include "platform/gtk/internal/GtkInternal.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/messaging/Thread.h"
#include "platform/messaging/ThreadQueue.h"

#include <cstdlib>
#include <string>

// The skin-only theme's style sheet, compiled in (SkinOnlyTheme.gresource.xml).
extern "C" void kolvex_gtk_register_resource(void);

namespace win {

namespace gtk {

GtkBackend& Instance()
{
    static auto* backend = new GtkBackend;
    return *backend;
}

void PumpUntil(const bool& done)
{
    MSG msg;
    while (!done) {
        if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessage(&msg);
            continue;
        }
        WaitMessage();
    }
}

namespace {

// A timeout that fired is gone already; forget its id so it is not removed twice.
gboolean Expire(gpointer id)
{
    *static_cast<guint*>(id) = 0;
    return G_SOURCE_REMOVE;
}

// The UI thread blocks in GTK's main loop, so window-system events and our
// own queue are served by one wait; other threads wake it through GLib.
void BlockInMainLoop(std::optional<internal::Clock::time_point> deadline)
{
    guint timeout = 0;
    if (deadline) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - internal::Clock::now());
        if (left.count() <= 0)
            return;
        timeout = g_timeout_add(static_cast<guint>(left.count()) + 1, Expire, &timeout);
    }
    g_main_context_iteration(nullptr, TRUE);
    if (timeout)
        g_source_remove(timeout);
}

// While only skinned windows are up, GTK has the skin-only theme (an empty
// style sheet of ours); this is the desktop's theme still to load for
// stock dialogs and menus.
bool g_desktopThemePending = false;

// Loads the theme GTK was asked for (GTK_THEME) now, and lets GTK forget
// the request, so that the desktop's theme is the one reloaded later and
// programs we start never inherit ours.
void LoadSkinOnlyTheme()
{
    if (!SkinOnlyThemeName())
        return;
    kolvex_gtk_register_resource();
    gtk_settings_get_default();
    // Other threads may be reading the environment. Removing a variable
    // moves only those after it, and GTK_THEME went in after every variable
    // they read (we chose it last, before they started).
    g_unsetenv("GTK_THEME");
    g_desktopThemePending = true;
}

}  // namespace

void LoadDesktopTheme()
{
    if (!g_desktopThemePending)
        return;
    g_desktopThemePending = false;
    // GTK reads the theme's name again (from the desktop's settings now)
    // and replaces the skin-only sheet with it.
    g_object_notify(G_OBJECT(gtk_settings_get_default()), "gtk-theme-name");
}

}  // namespace gtk

bool InstallGtkBackend(std::string* error)
{
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!x11 || !*x11) && (!wayland || !*wayland)) {
        if (error)
            *error = "no display: neither DISPLAY nor WAYLAND_DISPLAY is set";
        return false;
    }
    ChooseDisplayEnvironment();
    if (!gtk_init_check(nullptr, nullptr)) {
        if (error)
            *error = std::string("cannot open the display ") + (x11 && *x11 ? x11 : wayland);
        return false;
    }
    gtk::LoadSkinOnlyTheme();
    auto& backend = gtk::Instance();
    backend.SetUiThread(GetCurrentThreadId());
    internal::WaitHooks hooks;
    hooks.block = gtk::BlockInMainLoop;
    hooks.wake = [] { g_main_context_wakeup(nullptr); };
    internal::CurrentQueue()->SetWaitHooks(std::move(hooks));
    SetBackend(&backend);
    return true;
}

}  // namespace win

extern "C" bool KolvexInstallGtkBackend(std::string* error) { return win::InstallGtkBackend(error); }
