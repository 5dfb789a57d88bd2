// Dialogs from templates: creation order, exact control styles, the modal
// loop (owner disabled, Enter and Escape, sends from other threads), and
// keyboard navigation.
#include "WindowTesting.h"

#include "platform/controls/Controls.h"
#include "platform/core/MessageBox.h"
#include "platform/dialogs/Dialog.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Gdi.h"
#include "platform/messaging/Thread.h"
#include "platform/window/Focus.h"
#include "tests/support/GdiProbes.h"

#include <gtest/gtest.h>

#include <atomic>

using namespace win;
using namespace testing_windows;

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

DialogTemplate Sample()
{
    DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    t.cx = 200;
    t.cy = 100;
    t.title = L"Sample";
    t.items.push_back(DialogItem(WC_EDIT, L"", 10, kChild | WS_BORDER | WS_TABSTOP, 7, 7, 100, 14));
    t.items.push_back(DialogItem(WC_BUTTON, L"Check", 11, kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 7, 25, 80, 10));
    t.items.push_back(DialogItem(WC_BUTTON, L"MP3", 12, kChild | WS_TABSTOP, 7, 40, 50, 14));
    t.items.push_back(DialogItem(WC_BUTTON, L"Hidden", 13, WS_CHILD | WS_TABSTOP, 60, 40, 50, 14));
    t.items.push_back(DialogItem(WC_STATIC, L"Static", 14, kChild | WS_GROUP, 7, 60, 80, 8));
    t.items.push_back(DialogItem(WC_BUTTON, L"OK", IDOK, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 90, 80, 50, 14));
    t.items.push_back(DialogItem(WC_BUTTON, L"Cancel", IDCANCEL, kChild | WS_TABSTOP, 145, 80, 50, 14));
    return t;
}

struct Script {
    std::vector<UINT> heard;
    std::vector<int> dlgCodeIds;
    std::function<void(HWND)> onInit;
    HWND dialog = nullptr;
    bool ownerDisabled = false;
};
Script* g_script = nullptr;

INT_PTR ScriptedProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    Script& s = *g_script;
    s.heard.push_back(message);
    switch (message) {
    case WM_INITDIALOG:
        s.dialog = dialog;
        if (s.onInit)
            s.onInit(dialog);
        return 1;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return 1;
        }
        return 0;
    }
    return 0;
}

// Records the controls asked WM_GETDLGCODE by subclassing each of them.
std::map<HWND, WNDPROC> g_previous;
LRESULT CountDlgCode(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETDLGCODE && g_script)
        g_script->dlgCodeIds.push_back(GetDlgCtrlID(hwnd));
    return CallWindowProc(g_previous[hwnd], hwnd, message, wParam, lParam);
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Recorder::Instance().Clear();
        g_script = &script;
    }
    void TearDown() override { g_script = nullptr; }
    Script script;
};

}  // namespace

TEST_F(DialogTest, ModalDialogInitialisesAsksEveryControlAndDisablesItsOwner)
{
    HWND owner = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {0, 0, 400, 300});
    script.onInit = [&](HWND dialog) {
        HWND child = GetWindow(dialog, GW_CHILD);
        for (; child; child = GetWindow(child, GW_HWNDNEXT))
            g_previous[child] = reinterpret_cast<WNDPROC>(
                SetWindowLongPtr(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountDlgCode)));
        // Close it from inside the loop, once it runs.
        PostMessage(dialog, WM_USER, 0, 0);
    };
    Recorder::Instance().On(owner, WM_ENABLE, [&](WPARAM wParam, LPARAM) -> LRESULT {
        if (!wParam)
            script.ownerDisabled = true;
        return 0;
    });
    DialogTemplate t = Sample();
    // The dialog's own WM_USER: check the owner, then press Escape.
    auto proc = [](HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) -> INT_PTR {
        if (message == WM_USER) {
            g_script->heard.push_back(IsWindowEnabled(GetWindow(dialog, GW_OWNER)) ? 1 : 0);
            SendMessage(dialog, WM_CLOSE, 0, 0);
            return 1;
        }
        return ScriptedProc(dialog, message, wParam, lParam);
    };
    INT_PTR result = DialogBoxIndirectParam(nullptr, &t, owner, proc, 77);
    EXPECT_EQ(result, IDCANCEL);  // closing is Cancel
    // Initialised (after hearing its font) before it shows.
    auto init = std::find(script.heard.begin(), script.heard.end(), WM_INITDIALOG);
    EXPECT_EQ(script.heard.front(), WM_SETFONT);
    EXPECT_LT(init, std::find(script.heard.begin(), script.heard.end(), WM_SHOWWINDOW));
    EXPECT_TRUE(script.ownerDisabled);
    EXPECT_NE(std::find(script.heard.begin(), script.heard.end(), 0u), script.heard.end());  // disabled meanwhile
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(IsWindow(script.dialog));
    // Every control was asked once the dialog started.
    for (int id : {10, 11, 12, 13, 14, IDOK, IDCANCEL})
        EXPECT_NE(std::find(script.dlgCodeIds.begin(), script.dlgCodeIds.end(), id), script.dlgCodeIds.end()) << id;
    g_previous.clear();
    DestroyWindow(owner);
}

TEST_F(DialogTest, EnterAndEscapeEndTheDialogWithOkAndCancel)
{
    DialogTemplate t = Sample();
    // Keys injected from WM_INITDIALOG wait for the modal loop.
    script.onInit = [](HWND) {
        InjectKey(nullptr, true, VK_RETURN, L'\r', 0);
        InjectKey(nullptr, false, VK_RETURN, 0, 0);
    };
    EXPECT_EQ(DialogBoxIndirectParam(nullptr, &t, nullptr, ScriptedProc, 0), IDOK);
    script.onInit = [](HWND) {
        InjectKey(nullptr, true, VK_ESCAPE, 0x1B, 0);
        InjectKey(nullptr, false, VK_ESCAPE, 0, 0);
    };
    EXPECT_EQ(DialogBoxIndirectParam(nullptr, &t, nullptr, ScriptedProc, 0), IDCANCEL);
    // Enter on a focused push button presses that button instead.
    script.onInit = [](HWND dialog) {
        PostMessage(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDCANCEL)), 1);
        InjectKey(nullptr, true, VK_RETURN, L'\r', 0);
    };
    EXPECT_EQ(DialogBoxIndirectParam(nullptr, &t, nullptr, ScriptedProc, 0), IDCANCEL);
}

TEST_F(DialogTest, TabMovesTheFocusOverVisibleEnabledTabStops)
{
    DialogTemplate t = Sample();
    t.style |= WS_VISIBLE;
    HWND dialog = CreateDialogIndirectParam(nullptr, &t, nullptr, ScriptedProc, 0);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 10));  // the first tab stop
    EnableWindow(GetDlgItem(dialog, 11), 0);
    EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, 10), 0), GetDlgItem(dialog, 12));
    EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, 12), 0), GetDlgItem(dialog, IDOK));  // 13 is hidden
    EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, IDCANCEL), 0), GetDlgItem(dialog, 10));
    EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, 10), 1), GetDlgItem(dialog, IDCANCEL));

    InjectKey(nullptr, true, VK_TAB, L'\t', 0);
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!IsDialogMessage(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 12));
    DestroyWindow(dialog);
}

namespace {
struct Sender {
    HWND target = nullptr;
    std::atomic<LRESULT> answer{0};
};
DWORD SendFromWorker(void* p)
{
    auto* s = static_cast<Sender*>(p);
    s->answer = SendMessage(s->target, WM_USER + 5, 20, 22);
    PostMessage(s->target, WM_USER + 6, 0, 0);
    return 0;
}
INT_PTR AnswerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER + 5) {
        SetWindowLongPtr(dialog, DWLP_MSGRESULT, static_cast<LONG_PTR>(wParam + lParam));
        return 1;
    }
    if (message == WM_USER + 6) {
        EndDialog(dialog, 5);
        return 1;
    }
    if (message == WM_INITDIALOG) {
        auto* sender = reinterpret_cast<Sender*>(lParam);
        sender->target = dialog;
        CloseHandle(CreateThread(nullptr, 0, SendFromWorker, sender, 0, nullptr));
        return 1;
    }
    return 0;
}
}  // namespace

TEST_F(DialogTest, AWorkerSendingToTheDialogIsAnsweredByTheModalLoop)
{
    DialogTemplate t = Sample();
    Sender sender;
    EXPECT_EQ(DialogBoxIndirectParam(nullptr, &t, nullptr, AnswerProc, reinterpret_cast<LPARAM>(&sender)), 5);
    EXPECT_EQ(sender.answer.load(), 42);
}

TEST_F(DialogTest, ChildDialogPageLivesInsideItsParent)
{
    DialogTemplate t = Sample();
    t.style |= WS_VISIBLE;
    HWND dialog = CreateDialogIndirectParam(nullptr, &t, nullptr, ScriptedProc, 0);
    DialogTemplate page;
    page.style = WS_CHILD | WS_VISIBLE | DS_CONTROL;
    page.cx = 100;
    page.cy = 30;
    page.items.push_back(DialogItem(WC_BUTTON, L"Inside", 21, kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 2, 2, 60, 10));
    HWND pageWindow = CreateDialogIndirectParam(nullptr, &page, dialog, ScriptedProc, 0);
    ASSERT_TRUE(pageWindow);
    EXPECT_EQ(GetParent(pageWindow), dialog);
    EXPECT_TRUE(GetWindowLong(pageWindow, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    // Tab order reaches into the page.
    EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, IDCANCEL), 0), GetDlgItem(pageWindow, 21));
    DestroyWindow(dialog);
}

namespace {
DialogTemplate WithCombo()
{
    DialogTemplate t = Sample();
    auto combo = DialogItem(WC_COMBOBOX, L"", 30, kChild | CBS_DROPDOWN | WS_TABSTOP, 110, 7, 60, 80);
    combo.initStrings = {L"32", L"64", L"128"};
    t.items.insert(t.items.begin(), combo);
    return t;
}
void RunInDialog(HWND dialog)
{
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!IsDialogMessage(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
}
}  // namespace

TEST_F(DialogTest, EnterAndEscapeInAnOpenDropDownListStayWithTheList)
{
    DialogTemplate t = WithCombo();
    t.style |= WS_VISIBLE;
    HWND dialog = CreateDialogIndirectParam(nullptr, &t, nullptr, [](HWND d, UINT m, WPARAM w, LPARAM l) -> INT_PTR {
        if (m == WM_COMMAND && (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL)) {
            g_script->heard.push_back(0x10000 + LOWORD(w));
            return 1;
        }
        return ScriptedProc(d, m, w, l);
    }, 0);
    HWND combo = GetDlgItem(dialog, 30);
    EXPECT_EQ(GetFocus(), GetWindow(combo, GW_CHILD));  // its edit field holds the focus
    InjectKey(nullptr, true, VK_F4, 0, 0);
    RunInDialog(dialog);
    ASSERT_TRUE(SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0));
    InjectKey(nullptr, true, VK_DOWN, 0, 0);
    InjectKey(nullptr, true, VK_RETURN, L'\r', 0);
    RunInDialog(dialog);
    EXPECT_FALSE(SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(GetWindowText(combo), L"32");
    auto pressed = [&] {
        return std::count_if(script.heard.begin(), script.heard.end(), [](UINT m) { return m >= 0x10000; });
    };
    EXPECT_EQ(pressed(), 0);  // the Enter chose from the list, it pressed no button
    InjectKey(nullptr, true, VK_F4, 0, 0);
    InjectKey(nullptr, true, VK_ESCAPE, 0x1B, 0);
    RunInDialog(dialog);
    EXPECT_FALSE(SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(pressed(), 0);
    // With the list closed the keys are the dialog's again.
    InjectKey(nullptr, true, VK_RETURN, L'\r', 0);
    RunInDialog(dialog);
    EXPECT_EQ(std::count(script.heard.begin(), script.heard.end(), 0x10000u + IDOK), 1);
    DestroyWindow(dialog);
}

TEST_F(DialogTest, OwnedWindowsGoWithTheirOwner)
{
    HWND owner = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    DialogTemplate t = Sample();
    t.style |= WS_VISIBLE;
    HWND dialog = CreateDialogIndirectParam(nullptr, &t, owner, ScriptedProc, 0);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
    RECT d, o;
    GetWindowRect(dialog, &d);
    GetWindowRect(owner, &o);
    // Centred over the owner where the screen allows.
    EXPECT_TRUE(d.left == 0 || std::abs((d.left + d.right) / 2 - (o.left + o.right) / 2) <= 1);
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(dialog));
}

// Templates are laid out for the classic dialog font (6 × 13 pixel units at
// 8 points: the main window's test finds its template at 665 × 483), and
// the face is drawn small enough that a label's text fits the width the
// classic face would take.
TEST_F(DialogTest, TextsFitTheirPlacesInClassicDialogUnits)
{
    DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    t.cx = 443;
    t.cy = 297;
    t.items.push_back(DialogItem(L"Static", L"Output Directory: /home/someone/Music", 1034,
                           WS_VISIBLE, 7, 229, 341, 9));
    HWND dialog = CreateDialogIndirectParam(nullptr, &t, nullptr, ScriptedProc, 0);
    ASSERT_NE(dialog, nullptr);

    HWND label = GetDlgItem(dialog, 1034);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessage(label, WM_GETFONT, 0, 0)));
    std::wstring text = GetWindowText(label);
    SIZE extent = testing_support::TextExtent(dc, text);
    DeleteDC(dc);
    // No wider than the classic face's average of 6 pixels a character.
    EXPECT_LE(extent.cx, static_cast<LONG>(text.size()) * 6);
    EXPECT_LE(extent.cy, 13);
    DestroyWindow(dialog);
}
