// The gallery's dialog: one of each standard control, in several states.
#pragma once

#include "platform/dialogs/Dialog.h"

namespace gallery {

constexpr int kCheckBox = 1101;
constexpr int kCheckedBox = 1102;
constexpr int kDisabledCheck = 1103;
constexpr int kRadioOne = 1111;
constexpr int kRadioTwo = 1112;
constexpr int kDisabledRadio = 1113;
constexpr int kPush = 1121;
constexpr int kDisabledPush = 1122;
constexpr int kEdit = 1131;
constexpr int kDisabledEdit = 1132;
constexpr int kCombo = 1141;
constexpr int kDisabledCombo = 1142;
constexpr int kProgress = 1151;
constexpr int kTab = 1161;
constexpr int kIcon = 1171;

win::DialogTemplate Template();
// Sets the states the template cannot express. When `report` is set, the
// dialog prints its layout and every command to standard output.
win::INT_PTR DialogProc(win::HWND dialog, win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
void SetReporting(bool report);

}  // namespace gallery
