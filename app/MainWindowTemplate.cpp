#include "app/MainWindowTemplate.h"

#include "platform/dialogs/Dialog.h"

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
    items.push_back(DialogItem(WC_BUTTON, L"MP3", kMp3, WS_VISIBLE | kButton, 13, 270, 54, 20));
    items.push_back(DialogItem(WC_BUTTON, L"WAVE", kWave, WS_VISIBLE | kButton, 141, 270, 54, 20));
    // Hidden: reachable only by its command message.
    items.push_back(DialogItem(WC_BUTTON, L"BurnCD", kBurnCd, WS_TABSTOP | BS_PUSHBUTTON, 77, 270, 54, 20));
    items.push_back(DialogItem(L"MiniWnd", L"MMList", kList, WS_VISIBLE | WS_TABSTOP, 75, 45, 246, 145));
    items.push_back(DialogItem(WC_BUTTON, L"add", kAdd, WS_VISIBLE | kButton, 7, 199, 50, 14));
    items.push_back(DialogItem(WC_BUTTON, L"del", kDelete, WS_VISIBLE | kButton, 65, 199, 50, 14));
    items.push_back(DialogItem(WC_BUTTON, L"Setup", kSetup, WS_VISIBLE | kButton, 331, 199, 50, 14));
    items.push_back(DialogItem(PROGRESS_CLASS, L"", kProgress, WS_VISIBLE, 8, 215, 313, 11));
    items.push_back(DialogItem(WC_STATIC, L"Static", kStatus, WS_VISIBLE | kText, 331, 217, 99, 8));
    items.push_back(DialogItem(WC_STATIC, L"Static", kDirectoryLine, WS_VISIBLE | kText, 7, 229, 341, 9));
    items.push_back(DialogItem(WC_STATIC, L"Static", kFormatLine, WS_VISIBLE | kText, 7, 241, 341, 9));
    items.push_back(DialogItem(WC_BUTTON, L"site", kSite, WS_VISIBLE | kButton, 253, 270, 54, 20));
    return t;
}

}  // namespace main_window
