// kolvex [FILE...]: the desktop program; it needs a display. The files are
// added as "Add files" adds them; when a window already runs on this display
// they are handed to it instead, and this program leaves.
//   KOLVEX_SETTINGS=FILE        keep the settings in FILE
//   KOLVEX_BACKEND=headless     run without a display (start-up measurements)
//   KOLVEX_REPORT_FIRST_PAINT=1 print the time of the first paint and of the
//                               start-up steps before it, and quit
//   KOLVEX_DESCRIBE=1           print where the window and its controls are
//                               once it has painted (for scripted tests)
#include "app/Application.h"
#include "app/InstanceSocket.h"
#include "app/MainWindow.h"
#include "app/StartupSteps.h"

#include "platform/backend/DisplayEnvironment.h"
#include "platform/core/Files.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/core/Strings.h"
#include "platform/window/Window.h"
#include "platform/gtk/GtkBackend.h"

#include <dlfcn.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <vector>
#include <thread>
#include <string>

namespace {

bool EnvironmentIs(const char* name, const char* value)
{
    const char* set = std::getenv(name);
    return set && std::strcmp(set, value) == 0;
}

void ReportFirstPaint(MainWindow& window)
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::printf("first-paint %lld.%09ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec);
    std::fflush(stdout);
    win::PostMessage(window.Window(), win::WM_CLOSE, 0, 0);
}

void PrintRect(const char* what, int id, win::HWND hwnd)
{
    win::RECT r;
    win::GetWindowRect(hwnd, &r);
    std::printf("%s %d %ld %ld %ld %ld\n", what, id, static_cast<long>(r.left), static_cast<long>(r.top),
                static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top));
}

// The window, each control, and a point on the close caption button, in
// screen coordinates.
void Describe(MainWindow& window)
{
    win::HWND hwnd = window.Window();
    PrintRect("window", 0, hwnd);
    win::EnumChildWindows(
        hwnd,
        [](win::HWND child, win::LPARAM) -> win::BOOL {
            if (win::GetParent(child) == win::GetAncestor(child, win::GA_ROOT))
                PrintRect("control", win::GetDlgCtrlID(child), child);
            return 1;
        },
        0);
    win::RECT r;
    win::GetWindowRect(hwnd, &r);
    for (long y = r.top; y < r.top + 60; y += 2)
        for (long x = r.right - 1; x > r.right - 200; x -= 2)
            if (win::SendMessage(hwnd, win::WM_NCHITTEST, 0, win::MAKELPARAM(x, y)) == win::HTCLOSE) {
                std::printf("close %ld %ld\n", x - 3, y + 3);
                y = r.bottom;
                break;
            }
    std::printf("ready\n");
    std::fflush(stdout);
}

// The display back-end, and GTK with it (some thirty libraries more than
// the program needs without a display), is loaded only when the window is
// to be shown on a display. It stays loaded for the life of the process.
bool InstallDisplayBackend(std::string* error)
{
    std::string file = win::ToUtf8(win::ExecutableDirectory()) + "libkolvex_platform_gtk.so";
    // Lazy binding, as for a library the program were linked with: binding
    // all of GTK's calls up front would cost more than it saves.
    void* backend = dlopen(file.c_str(), RTLD_LAZY | RTLD_LOCAL);
    auto install = backend ? reinterpret_cast<decltype(&KolvexInstallGtkBackend)>(
                                 dlsym(backend, "KolvexInstallGtkBackend"))
                           : nullptr;
    if (!install) {
        const char* why = dlerror();
        *error = std::string("its display back-end cannot be loaded: ") + (why ? why : file);
        return false;
    }
    return install(error);
}

// The files named, made absolute (a window elsewhere has another current
// folder). False on an option: the program takes none.
bool FilesNamed(int argc, char** argv, std::vector<std::wstring>* files)
{
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (options && arg == "--") {
            options = false;
            continue;
        }
        if (options && arg.size() > 1 && arg[0] == '-')
            return false;
        std::error_code error;
        std::filesystem::path path = std::filesystem::absolute(arg, error);
        files->push_back(win::FromUtf8((error ? std::filesystem::path(arg) : path).lexically_normal().string()));
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    bool measuring = EnvironmentIs("KOLVEX_REPORT_FIRST_PAINT", "1");
    if (measuring)
        startup_steps::Enable();
    startup_steps::Note("libraries");  // loaded, relocated and initialised
    std::vector<std::wstring> files;
    if (!FilesNamed(argc, argv, &files)) {
        std::fprintf(stderr, "Usage: kolvex [FILE...]\n"
                             "kolvex takes no options; kolvex-convert converts from the command line.\n");
        return 2;
    }
    bool display = !EnvironmentIs("KOLVEX_BACKEND", "headless");
    // Before the first thread starts (setting a variable may move the
    // environment under a thread reading it).
    if (display)
        win::ChooseDisplayEnvironment();
    // One window per display; measurements always start their own.
    std::string socketPath = display && !measuring ? instance_socket::SocketPath() : std::string();
    if (!files.empty() && instance_socket::HandOff(socketPath, files))
        return 0;
    Application application(win::ExecutableDirectory());
    application.PreloadSkin();
    if (display) {
        // Fontconfig reads its configuration and font caches when the first
        // text is measured, which is the dialog's font, right after the
        // display is up: a second core does it while GTK loads instead.
        std::thread fonts(FcInit);
        std::string error;
        bool shown = InstallDisplayBackend(&error);
        fonts.join();
        if (!shown) {
            std::fprintf(stderr,
                         "kolvex: cannot show its window: %s.\n"
                         "Start it from a desktop session, or convert with kolvex-convert.\n",
                         error.c_str());
            return 1;
        }
    }
    startup_steps::Note("display");
    if (measuring)
        application.onFirstPaint = ReportFirstPaint;
    else if (EnvironmentIs("KOLVEX_DESCRIBE", "1"))
        application.onFirstPaint = Describe;
    return application.Run(std::move(files), socketPath);
}
