#include "platform/gtk/GtkBackend.h"

#include "platform/gtk/internal/GtkInternal.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/messaging/Thread.h"
#include "platform/messaging/internal/ThreadQueue.h"

#include <cstdlib>
#include <string>

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

bool SessionBusReachable()
{
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address && *address)
        return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime && *runtime && g_file_test((std::string(runtime) + "/bus").c_str(), G_FILE_TEST_EXISTS);
}

// Choices made before GTK starts; a user's own setting always wins.
void ChooseStartupServices()
{
    // Windows show our own cairo surfaces: GL is never drawn with, and
    // probing for it loads the system's GL driver (on a machine without a
    // GPU, Mesa's software renderer and LLVM), the largest single cost of
    // opening the display.
    g_setenv("GDK_GL", "disable", FALSE);
    // Without a session bus there is no accessibility registry to bridge
    // to, and looking for one starts a bus through dbus-launch (or fails
    // slowly trying). With a bus, screen readers keep working as usual.
    if (!SessionBusReachable())
        g_setenv("NO_AT_BRIDGE", "1", FALSE);
}

}  // namespace

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
    gtk::ChooseStartupServices();
    if (!gtk_init_check(nullptr, nullptr)) {
        if (error)
            *error = std::string("cannot open the display ") + (x11 && *x11 ? x11 : wayland);
        return false;
    }
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
