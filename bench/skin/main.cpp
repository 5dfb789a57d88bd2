// bench_skin: how long loading and applying the default skin takes, on the
// headless back-end: a fresh manager reads APEdefault.ini, takes the main
// window's layout over (frame, buttons, labels, list) and shows it (the
// frame fits the window and cuts its shape).
//   bench_skin [runs [skin folder]]
// prints every run and the median of the warm ones (the first run, which
// fills the font and file caches, is not counted). The folder defaults to
// the program folder's Skin/.
#include "PreviewDialog.h"

#include "skin/SkinManager.h"

#include "platform/backend/Backend.h"
#include "platform/core/Files.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/core/Strings.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

using namespace win;

namespace {

INT_PTR PlainDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

double CpuMs()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double g_cpu = 0;
double g_phases[3] = {};

double OneRun(const std::wstring& folder)
{
    DialogTemplate t = preview::Template();
    HWND dialog = CreateDialogIndirectParam(nullptr, &t, nullptr, PlainDialog, 0);
    PumpPendingMessages();
    auto start = std::chrono::steady_clock::now();
    double cpu = CpuMs();
    double ms = -1;
    {
        SkinManager manager;
        manager.SetSkinDirectory(folder);
        bool loaded = manager.LoadSkin(folder + L"APEdefault.ini") == 1;
        double afterLoad = CpuMs();
        bool applied = manager.ApplySkin(dialog, L"main") == 1;
        double afterApply = CpuMs();
        ShowWindow(dialog, SW_SHOW);
        g_phases[0] = afterLoad - cpu;
        g_phases[1] = afterApply - afterLoad;
        g_phases[2] = CpuMs() - afterApply;
        ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        g_cpu = CpuMs() - cpu;
        if (!loaded || !applied)
            ms = -1;
        DestroyWindow(dialog);
    }
    PumpPendingMessages();
    return ms;
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    std::wstring folder = argc > 2 ? FromUtf8(argv[2]) : ExecutableDirectory() + L"../bin/Skin/";
    if (folder.back() != L'/')
        folder += L'/';
    RegisterMiniWndClass();
    if (OneRun(folder) < 0) {
        std::fprintf(stderr, "bench_skin: cannot load and apply %s\n", ToUtf8(folder + L"APEdefault.ini").c_str());
        return 1;
    }
    std::vector<double> times, cpus;
    for (int i = 0; i < runs; ++i) {
        times.push_back(OneRun(folder));
        cpus.push_back(g_cpu);
        std::printf("run %2d: %7.2f ms (processor time %.2f ms: load %.2f, apply %.2f, show %.2f)\n", i + 1,
                    times.back(), g_cpu, g_phases[0], g_phases[1], g_phases[2]);
    }
    auto median = [runs](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return runs % 2 ? v[runs / 2] : (v[runs / 2 - 1] + v[runs / 2]) / 2;
    };
    // On a machine shared with other work the processor time tells what the
    // wall time would be on an idle one.
    std::printf("load + apply the default skin: median %.2f ms of %d warm runs, processor time %.2f ms "
                "(target < 30 ms)\n",
                median(times), runs, median(cpus));
    return 0;
}
