#include "PreviewDialog.h"

#include "skin/SkinManager.h"

#include "platform/controls/Controls.h"
#include "platform/core/Files.h"
#include "platform/messaging/Message.h"
#include "platform/core/MessageBox.h"
#include "platform/messaging/Messages.h"
#include "platform/core/Strings.h"
#include "platform/window/Window.h"

#include <cstdio>

using namespace win;

namespace preview {

namespace {

constexpr UINT kReady = WM_APP + 1;

constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kLabel = WS_CHILD | WS_VISIBLE | WS_GROUP;

const wchar_t* const kNames[] = {L"Aurora", L"Blue Hour", L"Cathedral", L"Driftwood", L"Embers", L"Fjord",
                                 L"Glasshouse", L"Harbour Lights", L"Inland Sea", L"Juniper"};

void Report(const char* format, long a, long b = 0, long c = 0, long d = 0)
{
    std::printf(format, a, b, c, d);
    std::fflush(stdout);
}

}  // namespace

DialogTemplate Template()
{
    DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME;
    t.exStyle = WS_EX_APPWINDOW;
    t.cx = 443;
    t.cy = 297;
    t.title = L"Verdo Ape to MP3 WAV Converter pro v1.1 ";
    t.items = {
        DialogItem(L"Button", L"MP3", kMp3, kButton, 13, 270, 54, 20),
        DialogItem(L"Button", L"WAVE", kWave, kButton, 141, 270, 54, 20),
        DialogItem(L"Button", L"BurnCD", kBurnCd, WS_CHILD | WS_TABSTOP, 77, 270, 54, 20),
        DialogItem(L"MiniWnd", L"MMList", kList, kButton, 75, 45, 246, 145),
        DialogItem(L"Button", L"add", kAdd, kButton, 7, 199, 50, 14),
        DialogItem(L"Button", L"del", kDel, kButton, 65, 199, 50, 14),
        DialogItem(L"Button", L"Setup", kSetup, kButton, 331, 199, 50, 14),
        DialogItem(PROGRESS_CLASS, L"", kProgress, WS_CHILD | WS_VISIBLE, 8, 215, 313, 11),
        DialogItem(L"Static", L"Static", kStatus, kLabel, 331, 217, 99, 8),
        DialogItem(L"Static", L"Static", kDirectory, kLabel, 7, 229, 341, 9),
        DialogItem(L"Static", L"Static", kFormat, kLabel, 7, 241, 341, 9),
        DialogItem(L"Button", L"site", kSite, kButton, 253, 270, 54, 20),
    };
    return t;
}

std::wstring SkinBesideProgram()
{
    std::wstring exe = ExecutableDirectory();
    return exe + L"Skin/";
}

INT_PTR DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    static Options* options = nullptr;
    switch (message) {
    case WM_INITDIALOG: {
        options = reinterpret_cast<Options*>(lParam);
        SetDlgItemText(dialog, kStatus, L"To MP3...");
        SetDlgItemText(dialog, kDirectory, L"Output Directory: /home/ada/Music/Converted/");
        SetDlgItemText(dialog, kFormat, L"Output Audio Info: Output Format MP3 Constant Bitrate: 192 Quality: 2");
        SkinManager& skins = *options->manager;
        skins.SetSkinDirectory(options->skinFolder);
        skins.LoadSkin(options->skinFolder + L"APEdefault.ini");
        skins.ApplySkin(dialog, L"main");
        // The fixed pixel places of the progress bar and the three lines.
        const struct { int id, x, y; } places[] = {
            {kProgress, 11, 325}, {kStatus, 497, 325}, {kDirectory, 11, 343}, {kFormat, 11, 360}};
        for (const auto& p : places)
            SetWindowPos(GetDlgItem(dialog, p.id), nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SendDlgItemMessage(dialog, kProgress, PBM_SETRANGE32, 0, 100);
        SendDlgItemMessage(dialog, kProgress, PBM_SETPOS, 40, 0);
        for (int i = 0; i < options->rows; ++i) {
            std::wstring name = (i + 1 < 10 ? L"0" : L"") + std::to_wstring(i + 1) + L" - " + kNames[i % 10] +
                                (i >= 10 ? L" (take " + std::to_wstring(i / 10 + 1) + L")" : L"") + L".ape";
            auto key = static_cast<UINT>(i);
            skins.ListAddItem(L"mmlist", name, key);
            int seconds = 150 + (i * 37) % 240;
            wchar_t info[32];
            std::swprintf(info, 32, L"00:%02d:%02d", seconds / 60, seconds % 60);
            skins.ListSetItemInfo(L"mmlist", i == 0 ? L"Converter OK" : i == 1 ? L"Convertering" : info, key);
            if (i % 7 != 3)
                skins.ListSetItemState(L"mmlist", 3, key);
        }
        PostMessage(dialog, kReady, 0, 0);
        return 1;
    }
    case kReady:
        if (options && options->report) {
            RECT r;
            GetWindowRect(dialog, &r);
            Report("ready %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        }
        return 1;
    case WM_MOVE:
        if (options && options->report) {
            RECT r;
            GetWindowRect(dialog, &r);
            Report("moved %ld %ld\n", r.left, r.top);
        }
        return 0;
    case WM_COMMAND:
        if (options && options->report)
            Report("command %ld\n", LOWORD(wParam));
        if (LOWORD(wParam) == IDCANCEL) {
            if (options && options->report)
                Report("closing %ld\n", 0);
            EndDialog(dialog, IDCANCEL);
        }
        return 1;
    default:
        return 0;
    }
}

}  // namespace preview
