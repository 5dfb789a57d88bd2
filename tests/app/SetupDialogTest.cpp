#include "app/AudioSetupPage.h"
#include "app/SetupDialog.h"

#include "settings/ConversionSettings.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsPath.h"
#include "tests/app/DialogScript.h"
#include "tests/support/TestFiles.h"

#include "platform/controls/Controls.h"
#include "platform/messaging/Message.h"
#include "platform/core/MessageBox.h"
#include "platform/core/Rect.h"
#include "platform/dialogs/Dialog.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/window/Window.h"
#include "platform/window/Input.h"
#include "platform/window/Focus.h"
#include "platform/dialogs/DialogManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

using namespace win;
using namespace testing_app;
using namespace testing_support;
using Page = AudioSetupPage;

namespace {

// What the page shows, read back from its controls.
struct Shown {
    std::wstring cbr, vbrMin, vbrMax, quality, directory;
    int qualityCount = 0;
    bool cbrEnabled = false, qualityEnabled = false, vbrEnabled = false;
    bool cbrChecked = false, vbrChecked = false;
    bool copyright = false, crc = false, original = false, resample = false;
};

HWND PageOf(HWND dialog) { return GetWindow(GetDlgItem(dialog, SetupDialog::kTab), GW_CHILD); }

Shown Read(HWND dialog)
{
    HWND page = PageOf(dialog);
    Shown s;
    s.cbr = GetDlgItemText(page, Page::kCbrRate);
    s.vbrMin = GetDlgItemText(page, Page::kVbrMinimum);
    s.vbrMax = GetDlgItemText(page, Page::kVbrMaximum);
    s.quality = GetDlgItemText(page, Page::kQuality);
    s.directory = GetDlgItemText(page, Page::kDirectory);
    s.qualityCount = static_cast<int>(SendDlgItemMessage(page, Page::kQuality, CB_GETCOUNT, 0, 0));
    s.cbrEnabled = IsWindowEnabled(GetDlgItem(page, Page::kCbrRate));
    s.qualityEnabled = IsWindowEnabled(GetDlgItem(page, Page::kQuality));
    s.vbrEnabled = IsWindowEnabled(GetDlgItem(page, Page::kVbrMinimum)) &&
                   IsWindowEnabled(GetDlgItem(page, Page::kVbrMaximum));
    s.cbrChecked = IsDlgButtonChecked(page, Page::kCbrRadio) == BST_CHECKED;
    s.vbrChecked = IsDlgButtonChecked(page, Page::kVbrRadio) == BST_CHECKED;
    s.copyright = IsDlgButtonChecked(page, Page::kCopyright) == BST_CHECKED;
    s.crc = IsDlgButtonChecked(page, Page::kCrc) == BST_CHECKED;
    s.original = IsDlgButtonChecked(page, Page::kOriginal) == BST_CHECKED;
    s.resample = IsDlgButtonChecked(page, Page::kResample) == BST_CHECKED;
    return s;
}

class Setup : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path file = dir / "configure.dat";

    void SetUp() override
    {
        Headless().Reset();
        SetSettingsPath(file.wstring());
        g_settings = ConversionSettings{};
    }
    void TearDown() override { SetSettingsPath(L""); }

    void Store(const ConversionSettings& record) { ASSERT_EQ(SettingsFile::Write(file.wstring(), record), 1); }
    ConversionSettings Stored()
    {
        // The bytes as written: reading would put values out of range
        // back to their defaults.
        ConversionSettings record;
        std::fill_n(record.outputDirectory, 4, u'?');  // must be overwritten
        auto bytes = testing_support::ReadBytes(file);
        EXPECT_EQ(bytes.size(), sizeof record);
        std::memcpy(&record, bytes.data(), std::min(bytes.size(), sizeof record));
        return record;
    }
    // Opens the dialog, lets `script` look and act, then ends it with `button`.
    INT_PTR Run(const std::function<void(HWND)>& script, int button)
    {
        WhenShown(L"Setup", [=](HWND dialog) {
            script(dialog);
            testing_app::Press(dialog, button);
        });
        SetupDialog setup;
        return setup.DoModal(nullptr);
    }
};

}  // namespace

TEST_F(Setup, WithoutAFileShowsItsOwnDefaultsAndCancelWritesNothing)
{
    g_settings.mp3.cbrBitRate = 256;  // the record of this run, left alone
    Shown shown;
    EXPECT_EQ(Run([&](HWND dialog) { shown = Read(dialog); }, IDCANCEL), IDCANCEL);
    EXPECT_EQ(shown.cbr, L"128");
    EXPECT_EQ(shown.vbrMax, L"320");
    EXPECT_EQ(shown.vbrMin, L"64");
    EXPECT_TRUE(shown.vbrChecked);
    EXPECT_FALSE(shown.cbrChecked);
    EXPECT_FALSE(shown.cbrEnabled);
    EXPECT_TRUE(shown.vbrEnabled && shown.qualityEnabled);
    EXPECT_EQ(shown.qualityCount, 10);
    EXPECT_EQ(shown.quality, L"0 Highest Quality");
    EXPECT_TRUE(shown.crc && shown.resample);
    EXPECT_FALSE(shown.copyright || shown.original);
    EXPECT_EQ(shown.directory, L"");
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(g_settings.mp3.cbrBitRate, 256u);
}

TEST_F(Setup, OpensWhatTheFileHolds)
{
    ConversionSettings vbr;
    vbr.mp3.quality = 7;
    vbr.mp3.vbrMinimum = 96;
    vbr.mp3.vbrMaximum = 300;  // typed once, not in the list
    vbr.mp3.copyrightFlag = 0;
    vbr.mp3.originalFlag = 1;
    vbr.resamplingFlag = 0;
    vbr.SetOutputDirectory(L"/music/out/");
    Store(vbr);
    Shown shown;
    Run([&](HWND dialog) { shown = Read(dialog); }, IDCANCEL);
    EXPECT_EQ(shown.quality, L"7");
    EXPECT_EQ(shown.vbrMin, L"96");
    EXPECT_EQ(shown.vbrMax, L"300");
    EXPECT_TRUE(shown.original && !shown.copyright && !shown.resample);
    EXPECT_EQ(shown.directory, L"/music/out/");
    EXPECT_EQ(g_settings.mp3.vbrMaximum, 300u);  // opening reloads the record

    ConversionSettings cbr;
    cbr.cbrFlag = 1;
    cbr.mp3.cbrBitRate = 192;
    cbr.mp3.quality = 7;
    Store(cbr);
    Run([&](HWND dialog) { shown = Read(dialog); }, IDCANCEL);
    EXPECT_TRUE(shown.cbrChecked && !shown.vbrChecked);
    EXPECT_EQ(shown.cbr, L"192");
    EXPECT_TRUE(shown.cbrEnabled);
    EXPECT_FALSE(shown.qualityEnabled || shown.vbrEnabled);
    EXPECT_EQ(shown.qualityCount, 0);
    EXPECT_EQ(shown.quality, L"");
}

TEST_F(Setup, ApplyingInConstantBitrateStoresQualityZeroAndModesSwitch)
{
    ConversionSettings cbr;
    cbr.cbrFlag = 1;
    cbr.mp3.quality = 7;
    Store(cbr);
    EXPECT_EQ(Run([](HWND) {}, IDOK), IDOK);
    EXPECT_EQ(Stored().mp3.quality, 0u);  // the quality box is empty in this mode
    EXPECT_EQ(Stored().cbrFlag, 1u);
    EXPECT_EQ(g_settings.mp3.quality, 0u);

    Shown afterVbr, afterCbr;
    Run(
        [&](HWND dialog) {
            HWND page = PageOf(dialog);
            testing_app::Press(page, Page::kVbrRadio);
            afterVbr = Read(dialog);
            testing_app::Press(page, Page::kVbrRadio);  // again: still ten entries
            testing_app::Press(page, Page::kCbrRadio);
            afterCbr = Read(dialog);
        },
        IDOK);
    EXPECT_TRUE(afterVbr.vbrChecked && !afterVbr.cbrChecked && !afterVbr.cbrEnabled);
    EXPECT_TRUE(afterVbr.vbrEnabled && afterVbr.qualityEnabled);
    EXPECT_EQ(afterVbr.quality, L"0 Highest Quality");
    EXPECT_TRUE(afterCbr.cbrChecked && !afterCbr.vbrChecked && afterCbr.cbrEnabled);
    EXPECT_FALSE(afterCbr.vbrEnabled || afterCbr.qualityEnabled);
    EXPECT_EQ(afterCbr.qualityCount, 10);
    EXPECT_EQ(Stored().cbrFlag, 1u);

    Run([&](HWND dialog) { testing_app::Press(PageOf(dialog), Page::kVbrRadio); }, IDOK);
    EXPECT_EQ(Stored().cbrFlag, 0u);
    EXPECT_EQ(g_settings.cbrFlag, 0u);
}

TEST_F(Setup, ApplyStoresWhatIsTypedAsItsLeadingNumber)
{
    Run(
        [](HWND dialog) {
            HWND page = PageOf(dialog);
            testing_app::Press(page, Page::kCbrRadio);
            SetDlgItemText(page, Page::kCbrRate, L"999");
            SetDlgItemText(page, Page::kVbrMinimum, L"abc");
            SetDlgItemText(page, Page::kVbrMaximum, L"160 kbit");
            CheckDlgButton(page, Page::kCopyright, BST_CHECKED);
            CheckDlgButton(page, Page::kCrc, BST_UNCHECKED);
            CheckDlgButton(page, Page::kOriginal, BST_CHECKED);
            CheckDlgButton(page, Page::kResample, BST_UNCHECKED);
            SetDlgItemText(page, Page::kDirectory, L"/typed/not/used/");
        },
        IDOK);
    ConversionSettings stored = Stored();
    EXPECT_EQ(stored.mp3.cbrBitRate, 999u);
    EXPECT_EQ(stored.mp3.vbrMinimum, 0u);
    EXPECT_EQ(stored.mp3.vbrMaximum, 160u);
    EXPECT_EQ(stored.mp3.copyrightFlag, 1u);
    EXPECT_EQ(stored.mp3.crcFlag, 0u);
    EXPECT_EQ(stored.mp3.originalFlag, 1u);
    EXPECT_EQ(stored.resamplingFlag, 0u);
    EXPECT_EQ(stored.OutputDirectory(), L"");  // only Browse chooses the folder
    EXPECT_EQ(stored.outputDirectoryLength, 0u);
    EXPECT_EQ(std::filesystem::file_size(file), 3200u);
}

TEST_F(Setup, BrowseEndsTheFolderWithOneSeparatorAndCancelForgetsIt)
{
    auto browse = [&](const std::wstring& answer) {
        Headless().PushFolder(answer);
        Run([](HWND dialog) { testing_app::Press(PageOf(dialog), Page::kBrowse); }, IDOK);
        return Stored();
    };
    ConversionSettings picked = browse(L"/music/flac");
    EXPECT_EQ(picked.OutputDirectory(), L"/music/flac/");
    EXPECT_EQ(picked.outputDirectoryLength, 12u);
    EXPECT_EQ(browse(L"/music/mp3/").OutputDirectory(), L"/music/mp3/");
    EXPECT_EQ(browse(L"/").OutputDirectory(), L"/");
    EXPECT_EQ(browse(L"").OutputDirectory(), L"/") << "a cancelled browser changes nothing";
    ASSERT_FALSE(Headless().FolderTitles().empty());
    EXPECT_EQ(Headless().FolderTitles().back(), L"Select Output directory...");

    Headless().PushFolder(L"/elsewhere");
    std::wstring shown;
    Run(
        [&](HWND dialog) {
            testing_app::Press(PageOf(dialog), Page::kBrowse);
            shown = GetDlgItemText(PageOf(dialog), Page::kDirectory);
        },
        IDCANCEL);
    EXPECT_EQ(shown, L"/elsewhere/");
    EXPECT_EQ(Stored().OutputDirectory(), L"/");
    EXPECT_EQ(g_settings.OutputDirectory(), L"/");
}

TEST_F(Setup, ThePageSitsInsideTheTabBelowItsHeader)
{
    RECT tabArea{}, pageArea{};
    int tabs = 0;
    Run(
        [&](HWND dialog) {
            HWND tab = GetDlgItem(dialog, SetupDialog::kTab);
            GetClientRect(tab, &tabArea);
            GetWindowRect(PageOf(dialog), &pageArea);
            POINT origin{0, 0};
            ClientToScreen(tab, &origin);
            OffsetRect(&pageArea, -origin.x, -origin.y);
            tabs = static_cast<int>(SendMessage(tab, TCM_GETITEMCOUNT, 0, 0));
            EXPECT_TRUE(IsWindowVisible(PageOf(dialog)));
        },
        IDCANCEL);
    EXPECT_EQ(tabs, 1);
    EXPECT_EQ(pageArea.left, 4);
    EXPECT_EQ(pageArea.top, 20);
    EXPECT_EQ(pageArea.right, tabArea.right - 4);
    EXPECT_EQ(pageArea.bottom, tabArea.bottom - 4);
}

TEST_F(Setup, TheQualityListIsWideEnoughForItsLongestEntry)
{
    RECT field{}, list{};
    Run(
        [&](HWND dialog) {
            HWND quality = GetDlgItem(PageOf(dialog), Page::kQuality);
            GetWindowRect(quality, &field);
            SendMessage(quality, CB_SHOWDROPDOWN, 1, 0);
            GetWindowRect(GetCapture(), &list);
            SendMessage(quality, CB_SHOWDROPDOWN, 0, 0);
        },
        IDCANCEL);
    EXPECT_EQ(list.left, field.left);
    // "9 Lowest Quality" is about twice as wide as the field.
    EXPECT_GT(list.right - list.left, 3 * (field.right - field.left) / 2);
}

TEST_F(Setup, TabRunsThroughThePageThenApplyAndCancelAndBack)
{
    std::vector<int> order;
    int first = 0;
    Run(
        [&](HWND dialog) {
            first = GetDlgCtrlID(GetFocus());
            auto key = [&](UINT vk, UINT modifiers = 0) {
                InjectKey(nullptr, true, vk, 0, modifiers);
                InjectKey(nullptr, false, vk, 0, modifiers);
                MSG msg;
                while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
                    if (!IsDialogMessage(dialog, &msg)) {
                        TranslateMessage(&msg);
                        DispatchMessage(&msg);
                    }
            };
            for (int i = 0; i < 13; ++i) {
                key(VK_TAB);
                HWND focus = GetFocus();
                // A combo box's field stands for the combo box.
                if (GetParent(focus) != PageOf(dialog) && GetParent(focus) != dialog)
                    focus = GetParent(focus);
                order.push_back(GetDlgCtrlID(focus));
            }
        },
        IDCANCEL);
    // Variable bit rate by default: the constant rate's box is disabled and skipped.
    EXPECT_EQ(first, Page::kCbrRadio);
    EXPECT_EQ(order, (std::vector<int>{Page::kVbrRadio, Page::kVbrMinimum, Page::kVbrMaximum, Page::kCopyright,
                                       Page::kCrc, Page::kOriginal, Page::kQuality, Page::kResample,
                                       Page::kDirectory, Page::kBrowse, IDOK, IDCANCEL, Page::kCbrRadio}));
}
