// Shared parts of the GTK back-end.
#pragma once

#include "platform/backend/Backend.h"
#include "platform/core/Types.h"

#include <gtk/gtk.h>
#include <map>

namespace win::gtk {

class GtkBackend : public Backend {
public:
    void WindowCreated(HWND hwnd) override;
    void WindowDestroyed(HWND hwnd) override;
    void WindowPlaced(HWND hwnd, const RECT& rect) override;
    void WindowShown(HWND hwnd, ShowState state) override;
    void WindowShapeChanged(HWND hwnd) override;
    void WindowTextChanged(HWND hwnd) override;
    void WindowActivated(HWND hwnd) override;
    void SurfaceChanged(HWND hwnd, const RECT& area) override;
    void BeginMoveDrag(HWND hwnd, POINT screen) override;
    void SetCursorShape(int shape) override;
    void ShowTip(HWND hwnd, const std::wstring& text) override;
    RECT WorkArea() override;
    SIZE ScreenSize() override;

    int MessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) override;
    int MessageBoxWithCheck(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type,
                            const std::wstring& checkText, bool* checked) override;
    bool OpenFiles(const OpenFileRequest& request, std::vector<std::wstring>* chosen) override;
    bool BrowseForFolder(HWND owner, const std::wstring& title, std::wstring* path) override;
    UINT TrackPopupMenu(HMENU menu, POINT screen, HWND owner) override;
    bool ShellOpen(HWND owner, const std::wstring& target) override;

    DWORD UiThread() const { return uiThread_; }
    void SetUiThread(DWORD id) { uiThread_ = id; }
    GtkWidget* WidgetOf(HWND hwnd) const;
    HWND WindowOf(GtkWidget* widget) const;
    GtkWindow* ParentFor(HWND owner) const;
    void NoteEventTime(guint32 time) { lastEventTime_ = time; }
    // A click or key that may open a menu: GTK pops a menu up only for the
    // event that asked for it (it takes its seat and time from it).
    void NoteTrigger(const GdkEvent* event);
    GdkEvent* Trigger() const { return trigger_; }
    void NotePointerWindow(GtkWidget* widget) { pointerWidget_ = widget; }
    void ForgetWidget(GtkWidget* widget);

    // While set, changes come from the window manager and are not echoed.
    bool echoing = false;

private:
    // A message box, on the UI thread whichever thread asks.
    int Ask(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type,
            const std::wstring* checkText, bool* checked);
    bool OnUiThread() const;
    std::map<HWND, GtkWidget*> widgets_;
    DWORD uiThread_ = 0;
    guint32 lastEventTime_ = GDK_CURRENT_TIME;
    GtkWidget* pointerWidget_ = nullptr;
    GtkWidget* grabbed_ = nullptr;
    GdkEvent* trigger_ = nullptr;
};

GtkBackend& Instance();
// Key event → virtual key, typed character, modifier bits.
UINT VirtualKeyOf(const GdkEventKey* event);
wchar_t CharacterOf(const GdkEventKey* event);
UINT ModifiersOf(guint state);
// Before a stock dialog or menu: the desktop's theme, if it is not loaded
// yet (skinned windows never need it).
void LoadDesktopTheme();
// Runs our message loop until `done` is set (a GTK dialog or menu is
// open meanwhile), as Windows runs a modal loop.
void PumpUntil(const bool& done);

}  // namespace win::gtk
