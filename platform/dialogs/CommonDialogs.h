// The choices a person makes outside our windows: files to open, a folder,
// and asking the desktop to open a folder or a web address. The back-end
// carries them out (GTK's own dialogs, or a script when headless).
#pragma once

#include "platform/backend/Backend.h"
#include "platform/core/Types.h"

#include <string>
#include <vector>

namespace win {

// "Name(*.x)|*.x; *.y;|All Files (*.*)|*.*||" → name and patterns per
// filter; empty patterns are dropped.
std::vector<FileFilter> ParseFileFilter(const std::wstring& filter);

// The file-open dialog the program uses: the paths chosen, in the order
// the person chose them. False when cancelled.
bool ChooseFilesToOpen(HWND owner, const std::wstring& filter, bool multiSelect,
                       std::vector<std::wstring>* paths);

// The folder browser. A chosen folder comes back as an item list that
// SHGetPathFromIDList turns into a path; free it with CoTaskMemFree.
struct ITEMIDLIST;
using PIDLIST_ABSOLUTE = ITEMIDLIST*;
using BFFCALLBACK = int (*)(HWND, UINT, LPARAM, LPARAM);
constexpr UINT BIF_RETURNONLYFSDIRS = 0x0001;
constexpr UINT BIF_NEWDIALOGSTYLE = 0x0040;
struct BROWSEINFO {
    HWND hwndOwner = nullptr;
    PIDLIST_ABSOLUTE pidlRoot = nullptr;  // null: the desktop
    LPWSTR pszDisplayName = nullptr;      // receives the folder's name (260 characters)
    LPCWSTR lpszTitle = nullptr;
    UINT ulFlags = 0;
    BFFCALLBACK lpfn = nullptr;
    LPARAM lParam = 0;
    int iImage = 0;
};
PIDLIST_ABSOLUTE SHBrowseForFolder(BROWSEINFO* info);
// `path` holds at least MAX_PATH (260) characters.
BOOL SHGetPathFromIDList(PIDLIST_ABSOLUTE item, LPWSTR path);
void CoTaskMemFree(void* memory);
constexpr int MAX_PATH = 260;

// Opens `file` (a folder or a web address) with the desktop's handler.
// Returns a value above 32 on success, as Windows does.
HINSTANCE ShellExecute(HWND owner, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters,
                       LPCWSTR directory, int show);

}  // namespace win
