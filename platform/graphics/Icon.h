// Icons: small ARGB pictures shown in captions and static icon controls.
// There are no resource files; the program's icon is drawn by us or loaded
// from an image file.
#pragma once

#include "platform/core/Types.h"

#include <string>

namespace win {

inline LPCWSTR MAKEINTRESOURCE(int id) { return reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(id)); }
inline const LPCWSTR IDI_APPLICATION = MAKEINTRESOURCE(32512);

// Any name gives the built-in application icon (a resource number such as
// the program's icon 128 included).
HICON LoadIcon(HINSTANCE instance, LPCWSTR name);
HICON LoadIconFile(const std::wstring& path);
HICON CreateIconFromBitmap(HBITMAP bitmap);
BOOL DestroyIcon(HICON icon);
BOOL GetIconSize(HICON icon, SIZE* size);

constexpr UINT DI_NORMAL = 0x0003;
// Draws the icon scaled to width × height (0: its own size).
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH flicker,
                UINT flags);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);

}  // namespace win
