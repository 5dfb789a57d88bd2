// kolvex-gallery: shows every standard control of the platform layer.
//   kolvex-gallery                      opens it on the display
//   kolvex-gallery --screenshot F.png   draws it headless into a PNG file
//   kolvex-gallery --describe           prints its layout and the commands
//                                       it receives (for tests)
// Its "Push" button has a worker thread ask a question, as the converter
// asks before overwriting a file.
#include "GalleryDialog.h"

#include "platform/backend/Backend.h"
#include "platform/core/Strings.h"
#include "platform/gtk/GtkBackend.h"
#include "platform/window/Window.h"

#include <cstdio>
#include <cstring>
#include <string>

using namespace win;

namespace {

int Screenshot(const char* file)
{
    DialogTemplate t = gallery::Template();
    HWND dialog = CreateDialogIndirectParam(nullptr, &t, nullptr, gallery::DialogProc, 0);
    if (!dialog) {
        std::fprintf(stderr, "kolvex-gallery: the dialog could not be created\n");
        return 1;
    }
    PumpPendingMessages();
    bool saved = SaveWindowPng(dialog, FromUtf8(file));
    RECT r;
    GetWindowRect(dialog, &r);
    DestroyWindow(dialog);
    if (!saved) {
        std::fprintf(stderr, "kolvex-gallery: cannot write %s\n", file);
        return 1;
    }
    std::printf("%s: %ld x %ld\n", file, static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top));
    return 0;
}

int Show(bool describe)
{
    std::string error;
    if (!InstallGtkBackend(&error)) {
        std::fprintf(stderr, "kolvex-gallery: %s\n", error.c_str());
        return 1;
    }
    gallery::SetReporting(describe);
    DialogTemplate t = gallery::Template();
    INT_PTR result = DialogBoxIndirectParam(nullptr, &t, nullptr, gallery::DialogProc, 0);
    if (describe) {
        std::printf("result %ld\n", static_cast<long>(result));
        std::fflush(stdout);
    }
    return result == -1 ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    bool describe = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc)
            return Screenshot(argv[i + 1]);
        if (std::strcmp(argv[i], "--describe") == 0) {
            describe = true;
            continue;
        }
        std::fprintf(stderr, "usage: kolvex-gallery [--describe] [--screenshot FILE.png]\n");
        return 2;
    }
    return Show(describe);
}
