// The "Audio Setup" page of the Setup dialog: MP3 bit-rate mode and rates,
// quality, the bit-stream flags, resampling of WAV output and the output
// folder. It lives as a borderless child of the dialog's tab control.
#pragma once

#include "settings/ConversionSettings.h"

#include "platform/dialogs/Dialog.h"
#include "platform/core/Types.h"

#include <string>

class AudioSetupPage {
public:
    static constexpr int kCbrRadio = 1011;
    static constexpr int kCbrRate = 1012;
    static constexpr int kVbrRadio = 1013;
    static constexpr int kVbrMinimum = 1014;
    static constexpr int kVbrMaximum = 1015;
    static constexpr int kCopyright = 1016;
    static constexpr int kCrc = 1018;
    static constexpr int kOriginal = 1019;
    static constexpr int kQuality = 1020;
    static constexpr int kResample = 1022;
    static constexpr int kDirectory = 1032;
    static constexpr int kBrowse = 1033;

    static win::DialogTemplate Template();

    // Creates the page inside `parent` (the tab control).
    win::HWND Create(win::HWND parent);
    win::HWND Window() const { return page_; }

    // Fills the controls from what the settings file held, or (null) with
    // the page's own defaults.
    void Load(const ConversionSettings* stored);
    // Copies what the page shows into `settings`.
    void Store(ConversionSettings& settings);

    // 1 = constant bit rate, 0 = variable.
    void SetMode(int mode);
    int Mode() const { return mode_; }
    void Browse();
    const std::wstring& OutputDirectory() const { return outputDirectory_; }

private:
    static win::INT_PTR Proc(win::HWND page, win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
    void OnCommand(int id);
    // The on/off values to and from their check boxes.
    void ReadChecks();
    void WriteChecks();
    int BoxValue(int id) const;
    void ShowNumber(int id, std::uint32_t value);
    void SelectText(int id, const wchar_t* text);

    win::HWND page_ = nullptr;
    int copyright_ = 0;
    int crc_ = 1;
    int original_ = 0;
    int resample_ = 1;
    int mode_ = 0;
    std::wstring outputDirectory_;
};
