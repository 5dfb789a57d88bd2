#include "platform/dialogs/Dialog.h"
#include "app/AudioSetupPage.h"

#include "platform/dialogs/CommonDialogs.h"
#include "platform/controls/Controls.h"
#include "platform/messaging/Message.h"
#include "platform/core/MessageBox.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Window.h"

#include <cstdio>

using namespace win;

namespace {

const std::vector<std::wstring> kRates = {L"32",  L"40",  L"48",  L"56",  L"64",  L"80",  L"96",
                                          L"112", L"128", L"160", L"192", L"224", L"256", L"320"};
const wchar_t* const kQualities[] = {L"0 Highest Quality", L"1", L"2", L"3", L"4",
                                     L"5", L"6", L"7", L"8", L"9 Lowest Quality"};

DialogItemTemplate Label(LPCWSTR text, int x, int y, int cx)
{
    return DialogItem(WC_STATIC, text, -1, WS_VISIBLE | SS_LEFT, x, y, cx, 8);
}

DialogItemTemplate Rates(int id, int x, int y, int cx, int cy)
{
    DialogItemTemplate box = DialogItem(WC_COMBOBOX, L"", id, WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, x, y, cx, cy);
    box.initStrings = kRates;
    return box;
}

constexpr DWORD kGroup = BS_GROUPBOX;
constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;

}  // namespace

DialogTemplate AudioSetupPage::Template()
{
    DialogTemplate t;
    t.style = WS_CHILD | DS_CONTROL;
    t.cx = 251;
    t.cy = 224;
    auto& items = t.items;
    items.push_back(DialogItem(WC_BUTTON, L"MP3 Encode Setup", -1, WS_VISIBLE | kGroup, 7, 7, 237, 123));
    items.push_back(DialogItem(WC_BUTTON, L"Constant Bitrate", -1, WS_VISIBLE | kGroup, 12, 20, 144, 32));
    items.push_back(DialogItem(WC_BUTTON, L"Constant Bitrate", kCbrRadio, WS_VISIBLE | BS_RADIOBUTTON | WS_TABSTOP | WS_GROUP, 15, 34, 79, 8));
    items.push_back(Rates(kCbrRate, 96, 33, 36, 127));
    items.push_back(Label(L"kbit", 135, 35, 18));
    items.push_back(DialogItem(WC_BUTTON, L"Variable Bitrate", -1, WS_VISIBLE | kGroup, 12, 57, 144, 67));
    items.push_back(DialogItem(WC_BUTTON, L"Variable Bitrate", kVbrRadio, WS_VISIBLE | BS_RADIOBUTTON | WS_TABSTOP | WS_GROUP, 15, 69, 79, 8));
    items.push_back(Label(L"Min", 78, 83, 16));
    items.push_back(Rates(kVbrMinimum, 96, 81, 36, 96));
    items.push_back(Label(L"kbit", 135, 83, 18));
    items.push_back(Label(L"Max", 78, 102, 16));
    items.push_back(Rates(kVbrMaximum, 96, 100, 36, 83));
    items.push_back(Label(L"kbit", 135, 102, 18));
    items.push_back(DialogItem(WC_BUTTON, L"Bitstreams flag", -1, WS_VISIBLE | kGroup, 162, 20, 74, 66));
    items.push_back(DialogItem(WC_BUTTON, L"Copyrigh", kCopyright, WS_VISIBLE | kCheck | WS_GROUP, 167, 33, 53, 8));
    items.push_back(DialogItem(WC_BUTTON, L"CRC", kCrc, WS_VISIBLE | kCheck, 167, 46, 53, 8));
    items.push_back(DialogItem(WC_BUTTON, L"Origina", kOriginal, WS_VISIBLE | kCheck, 167, 59, 53, 8));
    items.push_back(Label(L"Quality", 166, 102, 30));
    items.push_back(DialogItem(WC_COMBOBOX, L"", kQuality, WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, 198, 100, 39, 88));
    items.push_back(DialogItem(WC_BUTTON, L"WAVE Setup", -1, WS_VISIBLE | kGroup, 7, 130, 237, 40));
    items.push_back(DialogItem(WC_BUTTON, L"Use SSRC Output Hight Quality 44100", kResample, WS_VISIBLE | kCheck | WS_GROUP, 13, 143, 156, 10));
    items.push_back(DialogItem(WC_BUTTON, L"Select Output Directory:", -1, WS_VISIBLE | kGroup, 7, 175, 237, 42));
    items.push_back(DialogItem(WC_EDIT, L"", kDirectory, WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, 13, 189, 160, 14));
    items.push_back(DialogItem(WC_BUTTON, L"Browse", kBrowse, WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP, 183, 189, 50, 14));
    return t;
}

HWND AudioSetupPage::Create(HWND parent)
{
    DialogTemplate t = Template();
    page_ = CreateDialogIndirectParam(nullptr, &t, parent, Proc, reinterpret_cast<LPARAM>(this));
    return page_;
}

INT_PTR AudioSetupPage::Proc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtr(page, DWLP_USER, lParam);
        return 1;
    case WM_COMMAND:
        if (auto* self = reinterpret_cast<AudioSetupPage*>(GetWindowLongPtr(page, DWLP_USER));
            self && HIWORD(wParam) == BN_CLICKED) {
            self->OnCommand(LOWORD(wParam));
            return 1;
        }
        return 0;
    }
    return 0;
}

void AudioSetupPage::OnCommand(int id)
{
    switch (id) {
    case kCbrRadio:
        CheckDlgButton(page_, kVbrRadio, BST_UNCHECKED);
        SetMode(1);
        break;
    case kVbrRadio:
        CheckDlgButton(page_, kCbrRadio, BST_UNCHECKED);
        SetMode(0);
        break;
    case kBrowse: Browse(); break;
    }
}

void AudioSetupPage::SetMode(int mode)
{
    mode_ = mode;
    bool variable = mode == 0;
    for (int id : {kVbrMaximum, kVbrMinimum, kQuality})
        EnableWindow(GetDlgItem(page_, id), variable);
    EnableWindow(GetDlgItem(page_, kCbrRate), !variable);
    if (variable) {
        SendDlgItemMessage(page_, kQuality, CB_RESETCONTENT, 0, 0);
        for (const wchar_t* text : kQualities)
            SendDlgItemMessage(page_, kQuality, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        SendDlgItemMessage(page_, kQuality, CB_SETCURSEL, 0, 0);
    }
    CheckDlgButton(page_, variable ? kVbrRadio : kCbrRadio, BST_CHECKED);
    ReadChecks();
}

void AudioSetupPage::ReadChecks()
{
    copyright_ = IsDlgButtonChecked(page_, kCopyright) == BST_CHECKED;
    crc_ = IsDlgButtonChecked(page_, kCrc) == BST_CHECKED;
    original_ = IsDlgButtonChecked(page_, kOriginal) == BST_CHECKED;
    resample_ = IsDlgButtonChecked(page_, kResample) == BST_CHECKED;
}

void AudioSetupPage::WriteChecks()
{
    CheckDlgButton(page_, kCopyright, copyright_ ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(page_, kCrc, crc_ ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(page_, kOriginal, original_ ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(page_, kResample, resample_ ? BST_CHECKED : BST_UNCHECKED);
}

int AudioSetupPage::BoxValue(int id) const
{
    return static_cast<int>(GetDlgItemInt(page_, id, nullptr, 1));
}

void AudioSetupPage::ShowNumber(int id, std::uint32_t value)
{
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"%d", static_cast<int>(value));
    SetDlgItemText(page_, id, text);
}

void AudioSetupPage::SelectText(int id, const wchar_t* text)
{
    SendDlgItemMessage(page_, id, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
}

void AudioSetupPage::Load(const ConversionSettings* stored)
{
    if (stored) {
        crc_ = stored->mp3.crcFlag != 0;
        copyright_ = stored->mp3.copyrightFlag != 0;
        original_ = stored->mp3.originalFlag != 0;
        resample_ = stored->resamplingFlag != 0;
        mode_ = stored->cbrFlag != 0;
        ShowNumber(kCbrRate, stored->mp3.cbrBitRate);
        ShowNumber(kVbrMinimum, stored->mp3.vbrMinimum);
        ShowNumber(kVbrMaximum, stored->mp3.vbrMaximum);
        outputDirectory_ = stored->OutputDirectory();
    } else {
        crc_ = 1;
        resample_ = 1;
        mode_ = 0;
        copyright_ = 0;
        original_ = 0;
        SelectText(kCbrRate, L"128");
        SelectText(kVbrMaximum, L"320");
        SelectText(kVbrMinimum, L"64");
        outputDirectory_.clear();
    }
    SetDlgItemText(page_, kDirectory, outputDirectory_.c_str());
    WriteChecks();
    SetMode(mode_);
    if (stored && mode_ == 0)
        SendDlgItemMessage(page_, kQuality, CB_SETCURSEL, stored->mp3.quality, 0);
}

void AudioSetupPage::Store(ConversionSettings& settings)
{
    ReadChecks();
    settings.mp3.copyrightFlag = static_cast<std::uint32_t>(copyright_);
    settings.mp3.crcFlag = static_cast<std::uint32_t>(crc_);
    settings.mp3.originalFlag = static_cast<std::uint32_t>(original_);
    settings.mp3.cbrBitRate = static_cast<std::uint32_t>(BoxValue(kCbrRate));
    settings.mp3.quality = static_cast<std::uint32_t>(BoxValue(kQuality));
    settings.mp3.vbrMaximum = static_cast<std::uint32_t>(BoxValue(kVbrMaximum));
    settings.mp3.vbrMinimum = static_cast<std::uint32_t>(BoxValue(kVbrMinimum));
    settings.resamplingFlag = static_cast<std::uint32_t>(resample_);
    settings.cbrFlag = static_cast<std::uint32_t>(mode_);
    settings.SetOutputDirectory(outputDirectory_);
}

void AudioSetupPage::Browse()
{
    wchar_t name[MAX_PATH] = {};
    BROWSEINFO info;
    info.hwndOwner = page_;
    info.pidlRoot = nullptr;  // the desktop
    info.pszDisplayName = name;
    info.lpszTitle = L"Select Output directory...";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE item = SHBrowseForFolder(&info);
    if (!item)
        return;
    wchar_t path[MAX_PATH] = {};
    BOOL hasPath = SHGetPathFromIDList(item, path);
    CoTaskMemFree(item);
    if (!hasPath || !path[0])
        return;
    outputDirectory_ = path;
    if (outputDirectory_.back() != L'/')
        outputDirectory_ += L'/';
    SetDlgItemText(page_, kDirectory, outputDirectory_.c_str());
}
