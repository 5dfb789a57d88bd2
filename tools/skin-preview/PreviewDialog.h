// A dialog laid out like the converter's main window (443 × 297 dialog
// units, the same controls, texts and ids), skinned with a skin folder and
// filled with rows: for looking at a skin, timing it, and driving it in a
// real X server.
#pragma once

#include "platform/dialogs/Dialog.h"

#include <string>

class SkinManager;

namespace preview {

constexpr int kMp3 = 1002, kWave = 1003, kBurnCd = 1004, kList = 1006, kAdd = 1007, kDel = 1008,
              kSetup = 1009, kProgress = 1010, kStatus = 1027, kDirectory = 1034, kFormat = 1035, kSite = 1036;

win::DialogTemplate Template();

struct Options {
    SkinManager* manager = nullptr;
    std::wstring skinFolder;  // with its trailing "/"
    int rows = 30;
    bool report = false;      // print commands and moves on standard output
};

// The dialog procedure; WM_INITDIALOG's lParam points to the Options, which
// must outlive the dialog.
win::INT_PTR DialogProc(win::HWND dialog, win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
// The folder "Skin/" beside the running program.
std::wstring SkinBesideProgram();

}  // namespace preview
