// The main window's dialog: its size, its controls and their ids. The
// button and list texts are also the names by which the skin finds their
// images, so a skin file depends on them.
#pragma once

#include "platform/dialogs/Dialog.h"

namespace main_window {

constexpr int kCloseCommand = 1000;
constexpr int kMp3 = 1002;
constexpr int kWave = 1003;
constexpr int kBurnCd = 1004;
constexpr int kList = 1006;
constexpr int kAdd = 1007;
constexpr int kDelete = 1008;
constexpr int kSetup = 1009;
constexpr int kProgress = 1010;
constexpr int kStatus = 1027;
constexpr int kDirectoryLine = 1034;
constexpr int kFormatLine = 1035;
constexpr int kSite = 1036;

// System-menu entry of the About box.
constexpr unsigned kAboutCommand = 0x0010;
// System-menu entry while a batch runs.
constexpr unsigned kStopCommand = 0x0020;

// 443 × 297 dialog units; at 6 × 13 base units a 665 × 483 client area.
win::DialogTemplate Template();

}  // namespace main_window
