// The list that drops down under a combo box: a pop-up window that holds
// the pointer while it is open. Only platform code includes this.
#pragma once

#include "platform/core/Types.h"

namespace win::internal {

// Messages between a combo box and its list.
constexpr UINT kComboChoose = 0x0400 + 0x701;   // wParam: index chosen
constexpr UINT kComboDismiss = 0x0400 + 0x702;  // closed without a choice

HWND CreateComboList(HWND combo, const RECT& screen, int itemHeight, int hot);
int ComboListHot(HWND list);
void ComboListSetHot(HWND list, int index);

}  // namespace win::internal
