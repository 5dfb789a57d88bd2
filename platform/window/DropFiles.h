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
// With index 0xFFFFFFFF the number of files; otherwise copies path `index`
// into `buffer` (when given) and returns its length in characters.
UINT DragQueryFile(HDROP drop, UINT index, LPWSTR buffer, UINT size);
// Every path of the drop.
std::vector<std::wstring> DragQueryFiles(HDROP drop);
BOOL DragQueryPoint(HDROP drop, POINT* client);
void DragFinish(HDROP drop);

// What a back-end does when a person drops `paths` at `screen`: the window
// there that accepts files (or its nearest ancestor that does) is posted
// WM_DROPFILES. FALSE when no window there accepts files.
BOOL DropFiles(POINT screen, const std::vector<std::wstring>& paths);

}  // namespace win
