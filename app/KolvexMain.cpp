// kolvex: the desktop program. It takes no options; it needs a display.
//   KOLVEX_SETTINGS=FILE        keep the settings in FILE
//   KOLVEX_BACKEND=headless     run without a display (start-up measurements)
//   KOLVEX_REPORT_FIRST_PAINT=1 print the time of the first paint and quit
#include "app/Application.h"
#include "app/MainWindow.h"

#include "platform/Files.h"
#include "platform/Message.h"
#include "platform/Messages.h"
#include "platform/gtk/GtkBackend.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
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

}  // namespace

int main(int argc, char**)
{
    if (argc > 1) {
        std::fprintf(stderr, "kolvex takes no options; kolvex-convert converts from the command line.\n");
        return 2;
    }
    if (!EnvironmentIs("KOLVEX_BACKEND", "headless")) {
        std::string error;
        if (!win::InstallGtkBackend(&error)) {
            std::fprintf(stderr,
                         "kolvex: cannot show its window: %s.\n"
                         "Start it from a desktop session, or convert with kolvex-convert.\n",
                         error.c_str());
            return 1;
        }
    }
    Application application(win::ExecutableDirectory());
    if (EnvironmentIs("KOLVEX_REPORT_FIRST_PAINT", "1"))
        application.onFirstPaint = ReportFirstPaint;
    return application.Run();
}
