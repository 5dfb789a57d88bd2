// The Setup dialog behind the main window's "Setup" button: one tab,
// "Audio Setup", holding the page of MP3, WAVE and output-folder settings.
// Opening reloads the settings file; Apply writes it; Cancel keeps it.
#pragma once

#include "app/AudioSetupPage.h"

#include "platform/dialogs/Dialog.h"
#include "platform/core/Types.h"

class SetupDialog {
public:
    static constexpr int kTab = 1021;

    static win::DialogTemplate Template();

    // Runs the dialog modally; IDOK after Apply, IDCANCEL otherwise.
    win::INT_PTR DoModal(win::HWND owner);

private:
    static win::INT_PTR Proc(win::HWND dialog, win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
    void OnInitDialog(win::HWND dialog);
    void PlacePage();
    void OnApply();
    void OnTabChanged();

    win::HWND dialog_ = nullptr;
    AudioSetupPage page_;
};
