// A back-end presents the top-level windows and answers what a person
// decides outside our windows. The headless one is the default; the display
// program installs another before it creates windows.
//
// The window layer owns every window's picture (one surface per top-level
// window); it tells the back-end what changed, on the thread that owns the
// window. Input goes the other way, through InjectPointer/InjectKey.
#pragma once

#include "platform/core/Types.h"

#include <string>
#include <vector>

namespace win {

struct FileFilter {
    std::wstring name;                  // "Monkey's Audio File(*.APE)"
    std::vector<std::wstring> patterns; // "*.ape", "*.cue"
};

struct OpenFileRequest {
    HWND owner = nullptr;
    std::wstring title;
    std::vector<FileFilter> filters;
    int filterIndex = 0;                // zero-based
    bool multiSelect = false;
    std::wstring initialDirectory;
};

enum class ShowState { Hidden, Normal, Minimized, Maximized };

class Backend {
public:
    virtual ~Backend() = default;

    // --- presentation (called on the window's thread) ---
    virtual void WindowCreated(HWND) { }
    virtual void WindowDestroyed(HWND) { }
    // Position and size in screen coordinates; the surface already has the
    // new size.
    virtual void WindowPlaced(HWND, const RECT&) { }
    virtual void WindowShown(HWND, ShowState) { }
    // The window region changed (GetWindowRgn gives it).
    virtual void WindowShapeChanged(HWND) { }
    virtual void WindowTextChanged(HWND) { }
    virtual void WindowActivated(HWND) { }
    // Part of the surface was drawn (surface coordinates).
    virtual void SurfaceChanged(HWND, const RECT&) { }
    // The person holds the pointer on a caption: let the window manager
    // move the window.
    virtual void BeginMoveDrag(HWND, POINT) { }
    virtual void SetCursorShape(int) { }
    // The pointer rests on something with more to say than it shows: `text`
    // beside the pointer until it is shown empty.
    virtual void ShowTip(HWND, const std::wstring&) { }
    virtual RECT WorkArea() { return {0, 0, 1920, 1040}; }
    virtual SIZE ScreenSize() { return {1920, 1080}; }

    // --- choices (MessageBox from any thread, the rest on the UI thread) ---
    // Blocks the caller until answered.
    virtual int MessageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                           UINT type) = 0;
    // With a check box labelled `checkText` under the text; `*checked` is
    // its state before and after.
    virtual int MessageBoxWithCheck(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type,
                                    const std::wstring& checkText, bool* checked) = 0;
    // False when cancelled.
    virtual bool OpenFiles(const OpenFileRequest& request, std::vector<std::wstring>* chosen) = 0;
    virtual bool BrowseForFolder(HWND owner, const std::wstring& title, std::wstring* path) = 0;
    // The chosen item's id, 0 when dismissed.
    virtual UINT TrackPopupMenu(HMENU menu, POINT screen, HWND owner) = 0;
    // Opens a folder or a web address with the desktop's handler.
    virtual bool ShellOpen(HWND owner, const std::wstring& target) = 0;
};

Backend& CurrentBackend();
// Not owned; null restores the default headless back-end.
void SetBackend(Backend* backend);

// Paints whatever is pending on the calling thread, then writes the
// top-level window of `hwnd` as a PNG file: what the window shows.
BOOL SaveWindowPng(HWND hwnd, const std::wstring& path);
// Handles every message waiting for the calling thread, paints included,
// without blocking.
void PumpPendingMessages();

}  // namespace win
