// Choices made outside our windows, answered by the headless back-end's
// script: file-open, folder browser, message boxes (also from a worker
// thread), pop-up and system menus, the shell.
#include "WindowTesting.h"

#include "platform/backend/HeadlessBackend.h"
#include "platform/core/MessageBox.h"
#include "platform/dialogs/CommonDialogs.h"
#include "platform/dialogs/Menu.h"
#include "platform/messaging/Thread.h"

#include <gtest/gtest.h>

using namespace win;
using namespace testing_windows;

namespace {
class CommonDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless().Reset();
        Recorder::Instance().Clear();
    }
    void TearDown() override { Headless().Reset(); }
};
}  // namespace

TEST_F(CommonDialogsTest, TheProgramsFilterStringBecomesNamedPatterns)
{
    auto filters = ParseFileFilter(L"Monkey's Audio File(*.APE)|*.ape; *.cue;|All Files (*.*)|*.*||");
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].name, L"Monkey's Audio File(*.APE)");
    EXPECT_EQ(filters[0].patterns, (std::vector<std::wstring>{L"*.ape", L"*.cue"}));
    EXPECT_EQ(filters[1].patterns, (std::vector<std::wstring>{L"*.*"}));
    EXPECT_TRUE(ParseFileFilter(L"").empty());
}

TEST_F(CommonDialogsTest, OpenFileNameFillsTheBufferInTheWindowsForm)
{
    Headless().PushOpenFiles({L"/music/a.ape", L"/music/b.cue"});
    std::vector<wchar_t> buffer(200, L'x');
    buffer[0] = 0;
    OPENFILENAME ofn;
    ofn.lpstrFilter = L"APE\0*.ape\0\0";
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = 200;
    ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_HIDEREADONLY;
    ASSERT_TRUE(GetOpenFileName(&ofn));
    std::wstring folder(buffer.data());
    EXPECT_EQ(folder, L"/music");
    EXPECT_EQ(std::wstring(buffer.data() + ofn.nFileOffset), L"a.ape");
    EXPECT_EQ(std::wstring(buffer.data() + ofn.nFileOffset + 6), L"b.cue");
    EXPECT_EQ(buffer[ofn.nFileOffset + 12], 0);  // two terminators end the list
    ASSERT_EQ(Headless().OpenRequests().size(), 1u);
    EXPECT_TRUE(Headless().OpenRequests()[0].multiSelect);
    EXPECT_EQ(Headless().OpenRequests()[0].filters[0].patterns[0], L"*.ape");

    // A single file is one full path.
    Headless().PushOpenFiles({L"/music/only.ape"});
    ASSERT_TRUE(GetOpenFileName(&ofn));
    EXPECT_EQ(std::wstring(buffer.data()), L"/music/only.ape");
    // An answer that does not fit is refused, not cut.
    Headless().PushOpenFiles({L"/a/very/long/path/that/does/not/fit.ape"});
    ofn.nMaxFile = 10;
    EXPECT_FALSE(GetOpenFileName(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    // Cancelled.
    ofn.nMaxFile = 200;
    EXPECT_FALSE(GetOpenFileName(&ofn));

    std::vector<std::wstring> paths;
    Headless().PushOpenFiles({L"/x/1.ape", L"/y/2.ape"});
    EXPECT_TRUE(ChooseFilesToOpen(nullptr, L"APE|*.ape||", true, &paths));
    EXPECT_EQ(paths, (std::vector<std::wstring>{L"/x/1.ape", L"/y/2.ape"}));
}

TEST_F(CommonDialogsTest, FolderBrowserReturnsAPathOrNothing)
{
    Headless().PushFolder(L"/home/me/Music");
    Headless().PushFolder(L"");
    BROWSEINFO info;
    wchar_t name[MAX_PATH];
    info.pszDisplayName = name;
    info.lpszTitle = L"Select Output directory...";
    PIDLIST_ABSOLUTE item = SHBrowseForFolder(&info);
    ASSERT_TRUE(item);
    wchar_t path[MAX_PATH];
    EXPECT_TRUE(SHGetPathFromIDList(item, path));
    EXPECT_EQ(std::wstring(path), L"/home/me/Music");
    EXPECT_EQ(std::wstring(name), L"Music");
    CoTaskMemFree(item);
    EXPECT_EQ(SHBrowseForFolder(&info), nullptr);  // cancelled
    EXPECT_EQ(Headless().FolderTitles().back(), L"Select Output directory...");
}

TEST_F(CommonDialogsTest, ShellOpensFoldersAndAddresses)
{
    EXPECT_GT(reinterpret_cast<std::uintptr_t>(ShellExecute(nullptr, L"open", L"/tmp/out", nullptr, nullptr, 1)), 32u);
    EXPECT_GT(reinterpret_cast<std::uintptr_t>(ShellExecute(nullptr, nullptr, L"https://example.org", nullptr, nullptr, 1)), 32u);
    // Nothing to open is a failure, not a request.
    EXPECT_LE(reinterpret_cast<std::uintptr_t>(ShellExecute(nullptr, L"open", L"", nullptr, nullptr, 1)), 32u);
    EXPECT_EQ(Headless().ShellRequests(), (std::vector<std::wstring>{L"/tmp/out", L"https://example.org"}));
}

namespace {
DWORD AskFromWorker(void* p)
{
    *static_cast<int*>(p) = MessageBox(nullptr, L"This x file already exists, whether or not coverage?", L"",
                                       MB_YESNO | MB_ICONQUESTION);
    return 0;
}
}  // namespace

TEST_F(CommonDialogsTest, MessageBoxAnswersWorkersAndTheUiThreadAlike)
{
    Headless().PushAnswer(IDYES);
    int answer = 0;
    HANDLE worker = CreateThread(nullptr, 0, AskFromWorker, &answer, 0, nullptr);
    WaitForSingleObject(worker, INFINITE);
    CloseHandle(worker);
    EXPECT_EQ(answer, IDYES);
    EXPECT_EQ(MessageBox(nullptr, L"Converter is Complete! Do you open the Output Folder?", L"Open Folder",
                         MB_OKCANCEL),
              IDCANCEL);  // no script left: the safe answer
    auto asked = Headless().Questions();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].caption, L"Open Folder");
}

TEST_F(CommonDialogsTest, SystemMenuStartsWithRestoreAndTakesAdditions)
{
    HWND top = MakeTop(L"Recorder", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE,
                       {10, 10, 300, 200});
    HMENU menu = GetSystemMenu(top, 0);
    ASSERT_TRUE(menu);
    EXPECT_EQ(GetMenuItemID(menu, 0), SC_RESTORE);
    EXPECT_TRUE(GetMenuState(menu, SC_RESTORE, MF_BYCOMMAND) & MF_GRAYED);  // not minimised
    EXPECT_FALSE(GetMenuState(menu, SC_MINIMIZE, MF_BYCOMMAND) & MF_GRAYED);
    AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenu(menu, MF_STRING, 16, L"&About Kolvex...");
    EXPECT_EQ(GetMenuItemID(menu, GetMenuItemCount(menu) - 1), 16u);

    // Chosen from the pop-up: the owner hears WM_COMMAND.
    Headless().PushMenuChoice(16);
    EXPECT_TRUE(TrackPopupMenu(menu, TPM_LEFTALIGN, 50, 60, 0, top, nullptr));
    Pump();
    bool heard = false;
    for (const auto& h : Recorder::Instance().All())
        heard |= h.hwnd == top && h.message == WM_COMMAND && LOWORD(h.wParam) == 16;
    EXPECT_TRUE(heard);
    EXPECT_EQ(Headless().Menus().back().items.back(), L"&About Kolvex...");
    // A greyed item cannot be chosen; dismissing chooses nothing.
    Headless().PushMenuChoice(SC_RESTORE);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 50, 60, 0, top, nullptr), 0);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 50, 60, 0, top, nullptr), 0);

    // The caption's system command minimises and restores.
    SendMessage(top, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(top));
    EXPECT_FALSE(GetMenuState(GetSystemMenu(top, 0), SC_RESTORE, MF_BYCOMMAND) & MF_GRAYED);
    SendMessage(top, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(top));
    DestroyWindow(top);
}
