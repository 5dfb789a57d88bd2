#include "app/MainWindowTemplate.h"

#include "app/DialogItem.h"

#include "platform/controls/Controls.h"
#include "platform/window/Window.h"

using namespace win;

namespace main_window {

namespace {

// The styles the skin takes over: visible tab-stop push buttons, visible
// left-aligned texts, the visible list.
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kText = WS_GROUP | SS_LEFT;

}  // namespace

DialogTemplate Template()
{
    DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | WS_VISIBLE;
    t.exStyle = WS_EX_APPWINDOW;
    t.cx = 443;
    t.cy = 297;
    t.title = L"Kolvex";
    auto& items = t.items;
    items.push_back(DialogItem(WC_BUTTON, L"MP3", kMp3, kButton, 13, 270, 54, 20));
    items.push_back(DialogItem(WC_BUTTON, L"WAVE", kWave, kButton, 141, 270, 54, 20));
    auto burnCd = DialogItem(WC_BUTTON, L"BurnCD", kBurnCd, WS_TABSTOP | BS_PUSHBUTTON, 77, 270, 54, 20);
    burnCd.style &= ~WS_VISIBLE;  // reachable only by its command
    items.push_back(burnCd);
    items.push_back(DialogItem(L"MiniWnd", L"MMList", kList, WS_TABSTOP, 75, 45, 246, 145));
    items.push_back(DialogItem(WC_BUTTON, L"add", kAdd, kButton, 7, 199, 50, 14));
    items.push_back(DialogItem(WC_BUTTON, L"del", kDelete, kButton, 65, 199, 50, 14));
    items.push_back(DialogItem(WC_BUTTON, L"Setup", kSetup, kButton, 331, 199, 50, 14));
    items.push_back(DialogItem(PROGRESS_CLASS, L"Progress1", kProgress, 0, 8, 215, 313, 11));
    items.push_back(DialogItem(WC_STATIC, L"Static", kStatus, kText, 331, 217, 99, 8));
    items.push_back(DialogItem(WC_STATIC, L"Static", kDirectoryLine, kText, 7, 229, 341, 9));
    items.push_back(DialogItem(WC_STATIC, L"Static", kFormatLine, kText, 7, 241, 341, 9));
    items.push_back(DialogItem(WC_BUTTON, L"site", kSite, kButton, 253, 270, 54, 20));
    return t;
}

}  // namespace main_window
