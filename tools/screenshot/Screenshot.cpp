// kolvex-screenshot OUT.png [SOURCE]: draws the main window headless with
// the default skin and four rows — one done, one failed, one converting and
// one waiting — and writes it as a PNG (the picture in the README).
// SOURCE is the source tree (for the demo album and a test file).
#include "app/MainWindow.h"
#include "app/MainWindowTemplate.h"
#include "app/EngineMessages.h"
#include "settings/ConversionSettings.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsPath.h"
#include "skin/SkinManager.h"

#include "platform/backend/Backend.h"
#include "platform/controls/Controls.h"
#include "platform/core/Files.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/messaging/Message.h"
#include "platform/core/Strings.h"
#include "platform/window/Window.h"

#include <cstdint>
#include <cstdio>
#include <chrono>
#include <filesystem>
#include <thread>
#include <string>

using namespace win;

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: kolvex-screenshot OUT.png [EXAMPLES]\n");
        return 2;
    }
    std::string source = argc == 3 ? argv[2] : KOLVEX_SOURCE;
    std::filesystem::path scratch = std::filesystem::temp_directory_path() / "kolvex-screenshot.dat";
    SetSettingsPath(scratch.wstring());  // the user's settings stay as they are
    ConversionSettings shown;
    shown.SetOutputDirectory(L"/home/ada/Music/Converted/");
    SettingsFile::Write(scratch.wstring(), shown);

    SkinManager skin;
    MainWindow main(&skin, ExecutableDirectory());
    HWND window = main.Create();
    if (!window) {
        std::fprintf(stderr, "kolvex-screenshot: the main window could not be created\n");
        return 1;
    }
    Headless().PushOpenFiles({FromUtf8(source + "/examples/demo/demo.cue"), FromUtf8(source + "/tests/data/stereo16_44k.ape")});
    SendMessage(GetDlgItem(window, main_window::kAdd), BM_CLICK, 0, 0);
    // The files are examined off this thread; their rows come meanwhile.
    while (main.Adding()) {
        PumpPendingMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    PumpPendingMessages();

    // As a batch would report it: rows 0 and 1 done (1 failed), row 2 at 60 %.
    PostMessage(window, WM_MP3_START, 0, 0);
    PostMessage(window, WM_MP3_DONE, 0, 0);
    PostMessage(window, WM_MP3_START, 1, 0);
    PostMessage(window, WM_MP3_DONE, 1, 1);
    PostMessage(window, WM_MP3_START, 2, 0);
    PumpPendingMessages();
    std::int64_t position = 17600 + 3600;
    SendMessage(window, WM_CONVERT_PROGRESS, 0, reinterpret_cast<LPARAM>(&position));
    SetWindowText(GetDlgItem(window, main_window::kFormatLine),
                  L"Output Audio Info: Output Format MP3 Variable Bitrate: 64-192 Quality: 2");
    PumpPendingMessages();

    bool saved = SaveWindowPng(window, FromUtf8(argv[1]));
    RECT r;
    GetWindowRect(window, &r);
    DestroyWindow(window);
    std::filesystem::remove(scratch);
    if (!saved) {
        std::fprintf(stderr, "kolvex-screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s: %ld x %ld\n", argv[1], static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top));
    return 0;
}
