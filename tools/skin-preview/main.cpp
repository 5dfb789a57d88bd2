// kolvex-skin-preview: the main window's layout in a skin.
//   kolvex-skin-preview --render F.png [--skin DIR]
//       headless: 30 rows, the list scrolled by dragging its thumb, "add"
//       under the pointer and "MP3" held down; the window drawn into F.png
//   kolvex-skin-preview [--skin DIR]
//       on the display (GTK), printing what happens (for tests)
// DIR defaults to Skin/ beside the program.
#include "PreviewDialog.h"

#include "skin/SkinManager.h"
#include "skin/SkinMultimediaList.h"
#include "skin/SkinScrollBar.h"

#include "platform/backend/Backend.h"
#include "platform/window/Input.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/core/Strings.h"
#include "platform/window/Window.h"
#include "platform/gtk/GtkBackend.h"

#include <cstdio>
#include <cstring>
#include <string>

using namespace win;

namespace {

POINT Centre(HWND hwnd, int dy = 0)
{
    RECT r;
    GetWindowRect(hwnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2 + dy};
}

void Pointer(PointerEvent event, POINT at)
{
    InjectPointer(nullptr, event, event == PointerEvent::Move ? 0 : 1, at, 0);
    PumpPendingMessages();
}

int Render(const std::string& file, preview::Options& options)
{
    DialogTemplate t = preview::Template();
    HWND dialog = CreateDialogIndirectParam(nullptr, &t, nullptr, preview::DialogProc,
                                            reinterpret_cast<LPARAM>(&options));
    if (!dialog) {
        std::fprintf(stderr, "kolvex-skin-preview: the dialog could not be created\n");
        return 1;
    }
    ShowWindow(dialog, SW_SHOW);
    PumpPendingMessages();

    // Drag the list's thumb down by a third of the track.
    auto* list = dynamic_cast<SkinMultimediaList*>(options.manager->Find(L"mmlist"));
    if (HWND bar = list ? list->ScrollBarWindow() : nullptr) {
        RECT track;
        GetClientRect(bar, &track);
        POINT thumb{0, 8};
        ClientToScreen(bar, &thumb);
        thumb.x += track.right / 2;
        Pointer(PointerEvent::Move, thumb);
        Pointer(PointerEvent::Down, thumb);
        Pointer(PointerEvent::Move, {thumb.x, thumb.y + track.bottom / 3});
        Pointer(PointerEvent::Up, {thumb.x, thumb.y + track.bottom / 3});
    }
    // The pointer rests on "add"; "MP3" is held down (by a press sent to it,
    // as one pointer cannot be in two places).
    HWND mp3 = GetDlgItem(dialog, preview::kMp3), add = GetDlgItem(dialog, preview::kAdd);
    Pointer(PointerEvent::Move, Centre(add));
    SendMessage(mp3, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PumpPendingMessages();

    bool saved = SaveWindowPng(dialog, FromUtf8(file));
    RECT r;
    GetWindowRect(dialog, &r);
    RECT client;
    GetClientRect(dialog, &client);
    std::printf("%s: window %ld x %ld, client %ld x %ld, list at %d\n", file.c_str(),
                static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top),
                static_cast<long>(client.right), static_cast<long>(client.bottom),
                list ? list->ScrollPosition() : -1);
    DestroyWindow(dialog);
    if (!saved) {
        std::fprintf(stderr, "kolvex-skin-preview: cannot write %s\n", file.c_str());
        return 1;
    }
    return 0;
}

int Show(preview::Options& options)
{
    std::string error;
    if (!InstallGtkBackend(&error)) {
        std::fprintf(stderr, "kolvex-skin-preview: %s\n", error.c_str());
        return 1;
    }
    options.report = true;
    DialogTemplate t = preview::Template();
    INT_PTR result = DialogBoxIndirectParam(nullptr, &t, nullptr, preview::DialogProc,
                                            reinterpret_cast<LPARAM>(&options));
    std::printf("result %ld\n", static_cast<long>(result));
    std::fflush(stdout);
    return result == -1 ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string render;
    preview::Options options;
    options.skinFolder = preview::SkinBesideProgram();
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--render") == 0 && i + 1 < argc) {
            render = argv[++i];
        } else if (std::strcmp(argv[i], "--skin") == 0 && i + 1 < argc) {
            options.skinFolder = FromUtf8(argv[++i]);
            if (options.skinFolder.back() != L'/')
                options.skinFolder += L'/';
        } else {
            std::fprintf(stderr, "usage: kolvex-skin-preview [--render FILE.png] [--skin DIR]\n");
            return 2;
        }
    }
    RegisterMiniWndClass();
    SkinManager manager;
    options.manager = &manager;
    return render.empty() ? Show(options) : Render(render, options);
}
