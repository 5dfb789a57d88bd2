// bench_list: the main window's list with thousands of rows, headless and
// skinned as the program runs it. Prints the main thread's processor time
// from "add" of N files to the list painted (the files are examined by
// other threads meanwhile; how long that takes in all is printed too), and
// from "del" of N ticked rows to the list painted.
// Usage: bench_list [files [program folder]]
#include "app/MainWindow.h"
#include "app/MainWindowTemplate.h"
#include "skin/SkinManager.h"

#include "platform/backend/Backend.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/controls/Controls.h"
#include "platform/core/Strings.h"
#include "platform/messaging/Message.h"
#include "platform/window/Window.h"
#include "settings/SettingsPath.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

double ThreadMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double WallMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

int main(int argc, char** argv)
{
    int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    fs::path exe = fs::canonical("/proc/self/exe").parent_path();
    fs::path program = argc > 2 ? fs::path(argv[2]) : exe.parent_path() / "bin";
    fs::path source = argc > 3 ? fs::path(argv[3]) : exe.parent_path().parent_path().parent_path() / "tests/data/mono8_8k.ape";
    if (!fs::exists(program / "Skin") || !fs::exists(source)) {
        std::fprintf(stderr, "bench_list: no program folder at %s or no %s\n", program.c_str(), source.c_str());
        return 2;
    }
    fs::path dir = fs::temp_directory_path() / ("kolvex-bench-list-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::vector<std::wstring> files;
    // A hundred files to a folder, as albums are kept.
    for (int i = 0; i < count; ++i) {
        char album[32], name[32];
        std::snprintf(album, sizeof album, "album %03d", i / 100);
        std::snprintf(name, sizeof name, "track %05d.ape", i);
        fs::create_directories(dir / album);
        fs::create_hard_link(source, dir / album / name);
        files.push_back(win::FromUtf8((dir / album / name).string()));
    }
    SetSettingsPath(win::FromUtf8((dir / "configure.dat").string()));

    SkinManager skin;
    std::wstring folder = win::FromUtf8(program.string()) + L"/";
    MainWindow main(&skin, folder);
    win::HWND window = main.Create();
    win::ShowWindow(window, win::SW_SHOW);
    win::PumpPendingMessages();

    // Add: the main thread's time until every row is on the list, painted.
    win::Headless().PushOpenFiles(files);
    double cpu = ThreadMs(), wall = WallMs();
    win::SendMessage(win::GetDlgItem(window, main_window::kAdd), win::BM_CLICK, 0, 0);
    double clickCpu = ThreadMs() - cpu;
    // The window's own loop: it sleeps until there is something to do.
    win::MSG msg;
    while (main.Adding() && win::GetMessage(&msg, nullptr, 0, 0) > 0) {
        win::TranslateMessage(&msg);
        win::DispatchMessage(&msg);
    }
    win::PumpPendingMessages();
    double addCpu = ThreadMs() - cpu, addWall = WallMs() - wall;

    // Del: every row is ticked.
    cpu = ThreadMs();
    wall = WallMs();
    win::SendMessage(win::GetDlgItem(window, main_window::kDelete), win::BM_CLICK, 0, 0);
    win::PumpPendingMessages();
    double delCpu = ThreadMs() - cpu, delWall = WallMs() - wall;
    std::size_t left = main.Rows().Rows().size();

    std::printf("add %d files: main thread %.1f ms, %.1f of them choosing (all rows in %.1f ms)\n", count, addCpu,
                clickCpu, addWall);
    std::printf("del %d rows:  main thread %.1f ms (%.1f ms), %zu rows left\n", count, delCpu, delWall, left);
    win::DestroyWindow(window);
    fs::remove_all(dir);
    return left == 0 ? 0 : 1;
}
