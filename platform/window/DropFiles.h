// Files dropped onto a window from a file manager. A window that accepts
// them (WS_EX_ACCEPTFILES, set by DragAcceptFiles) gets WM_DROPFILES with a
// drop handle that lists the paths; it frees the handle with DragFinish.
#pragma once

#include "platform/core/Types.h"

#include <string>
#include <vector>

namespace win {

constexpr UINT WM_DROPFILES = 0x0233;
constexpr DWORD WS_EX_ACCEPTFILES = 0x00000010;

struct DropList;
using HDROP = DropList*;

void DragAcceptFiles(HWND hwnd, BOOL accept);
// Every path of the drop.
std::vector<std::wstring> DragQueryFiles(HDROP drop);
void DragFinish(HDROP drop);

// What a back-end does when a person drops `paths` at `screen`: the window
// there that accepts files (or its nearest ancestor that does) is posted
// WM_DROPFILES. FALSE when no window there accepts files.
BOOL DropFiles(POINT screen, const std::vector<std::wstring>& paths);

}  // namespace win
