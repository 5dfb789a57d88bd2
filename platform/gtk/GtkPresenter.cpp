// Top-level windows as GTK windows: their surface on screen, their shape,
// placement and state, and the person's pointer and keys coming back.
#include "platform/core/Strings.h"
#include "platform/graphics/GdiObject.h"
#include "platform/graphics/Region.h"
#include "platform/gtk/internal/GtkInternal.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/messaging/Thread.h"
#include "platform/window/DropFiles.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/Window.h"
#include "platform/window/WindowRecord.h"

#include <cmath>

namespace win::gtk {

namespace {

struct Echo {
    explicit Echo(GtkBackend& b) : backend(b), saved(b.echoing) { backend.echoing = true; }
    ~Echo() { backend.echoing = saved; }
    GtkBackend& backend;
    bool saved;
};

HWND HwndOf(GtkWidget* widget) { return Instance().WindowOf(widget); }

// Event positions are taken relative to the window and placed where we
// know the window to be: right on X11 with or without a window manager,
// and on Wayland, which tells no one where windows are.
POINT ScreenPoint(GtkWidget* widget, double x, double y)
{
    RECT r{};
    GetWindowRect(HwndOf(widget), &r);
    return {r.left + static_cast<LONG>(std::floor(x)), r.top + static_cast<LONG>(std::floor(y))};
}

gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer)
{
    auto window = internal::FindWindow(HwndOf(widget));
    if (!window || !window->surface)
        return TRUE;
    cairo_surface_flush(window->surface);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, window->surface, 0, 0);
    cairo_paint(cr);
    return TRUE;
}

gboolean OnMotion(GtkWidget* widget, GdkEventMotion* event, gpointer)
{
    Instance().NoteEventTime(event->time);
    Instance().NotePointerWindow(widget);
    InjectPointer(HwndOf(widget), PointerEvent::Move, 0, ScreenPoint(widget, event->x, event->y),
                  ModifiersOf(event->state));
    return TRUE;
}

gboolean OnButton(GtkWidget* widget, GdkEventButton* event, gpointer)
{
    // Double clicks are recognised by the window layer from single presses.
    if (event->type != GDK_BUTTON_PRESS && event->type != GDK_BUTTON_RELEASE)
        return TRUE;
    Instance().NoteEventTime(event->time);
    Instance().NoteTrigger(reinterpret_cast<GdkEvent*>(event));
    int button = event->button == 3 ? 2 : event->button == 2 ? 3 : 1;
    InjectPointer(HwndOf(widget), event->type == GDK_BUTTON_PRESS ? PointerEvent::Down : PointerEvent::Up,
                  button, ScreenPoint(widget, event->x, event->y), ModifiersOf(event->state));
    return TRUE;
}

gboolean OnScroll(GtkWidget* widget, GdkEventScroll* event, gpointer)
{
    int delta = 0;
    if (event->direction == GDK_SCROLL_UP)
        delta = WHEEL_DELTA;
    else if (event->direction == GDK_SCROLL_DOWN)
        delta = -WHEEL_DELTA;
    else if (event->direction == GDK_SCROLL_SMOOTH)
        delta = static_cast<int>(-event->delta_y * WHEEL_DELTA);
    if (delta != 0)
        InjectPointer(HwndOf(widget), PointerEvent::Wheel, delta, ScreenPoint(widget, event->x, event->y),
                      ModifiersOf(event->state));
    return TRUE;
}

gboolean OnLeave(GtkWidget* widget, GdkEventCrossing* event, gpointer)
{
    if (event->mode != GDK_CROSSING_NORMAL || event->detail == GDK_NOTIFY_INFERIOR)
        return FALSE;
    InjectPointer(HwndOf(widget), PointerEvent::Leave, 0, ScreenPoint(widget, event->x, event->y),
                  ModifiersOf(event->state));
    return FALSE;
}

gboolean OnKey(GtkWidget* widget, GdkEventKey* event, gpointer)
{
    Instance().NoteEventTime(event->time);
    Instance().NoteTrigger(reinterpret_cast<GdkEvent*>(event));
    UINT vk = VirtualKeyOf(event);
    wchar_t ch = event->type == GDK_KEY_PRESS ? CharacterOf(event) : 0;
    if (!vk && !ch)
        return TRUE;
    InjectKey(HwndOf(widget), event->type == GDK_KEY_PRESS, vk, ch, ModifiersOf(event->state));
    return TRUE;
}

gboolean OnFocus(GtkWidget* widget, GdkEventFocus* event, gpointer)
{
    Echo echo(Instance());
    internal::ActivateFromBackend(HwndOf(widget), event->in != 0);
    return FALSE;
}

gboolean OnConfigure(GtkWidget* widget, GdkEventConfigure*, gpointer)
{
    HWND hwnd = HwndOf(widget);
    GdkWindow* gdkWindow = gtk_widget_get_window(widget);
    if (!hwnd || !gdkWindow)
        return FALSE;
    int x = 0, y = 0;
    gdk_window_get_origin(gdkWindow, &x, &y);
    RECT r;
    GetWindowRect(hwnd, &r);
    if (x != r.left || y != r.top) {
        Echo echo(Instance());
        SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return FALSE;
}

gboolean OnWindowState(GtkWidget* widget, GdkEventWindowState* event, gpointer)
{
    HWND hwnd = HwndOf(widget);
    if (!hwnd || !(event->changed_mask & GDK_WINDOW_STATE_ICONIFIED))
        return FALSE;
    bool iconified = event->new_window_state & GDK_WINDOW_STATE_ICONIFIED;
    if (iconified != static_cast<bool>(IsIconic(hwnd))) {
        Echo echo(Instance());
        ShowWindow(hwnd, iconified ? SW_SHOWMINNOACTIVE : SW_RESTORE);
    }
    return FALSE;
}

gboolean OnDelete(GtkWidget* widget, GdkEvent*, gpointer)
{
    if (HWND hwnd = HwndOf(widget))
        PostMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    return TRUE;
}

// Files dropped from a file manager arrive as URIs; local ones become
// paths for the window under the pointer.
void OnDragData(GtkWidget* widget, GdkDragContext* context, gint x, gint y, GtkSelectionData* data, guint,
                guint time, gpointer)
{
    std::vector<std::wstring> paths;
    if (gchar** uris = gtk_selection_data_get_uris(data)) {
        for (gchar** uri = uris; *uri; ++uri)
            if (gchar* file = g_filename_from_uri(*uri, nullptr, nullptr)) {
                paths.push_back(FromUtf8(file));
                g_free(file);
            }
        g_strfreev(uris);
    }
    bool taken = !paths.empty() && DropFiles(ScreenPoint(widget, x, y), paths);
    gtk_drag_finish(context, taken, FALSE, time);
}

// The URI targets make GTK ask the session bus whether a file-transfer
// portal is there: a round trip, and without a bus an attempt to start one.
// That waits until the windows have painted; nothing can be dropped sooner.
gboolean AddUriTargets(gpointer data)
{
    auto* widget = static_cast<GtkWidget*>(data);
    if (Instance().WindowOf(widget))
        gtk_drag_dest_add_uri_targets(widget);
    g_object_unref(widget);
    return G_SOURCE_REMOVE;
}

void Connect(GtkWidget* widget)
{
    gtk_drag_dest_set(widget, GTK_DEST_DEFAULT_ALL, nullptr, 0, GDK_ACTION_COPY);
    g_idle_add_full(G_PRIORITY_LOW, AddUriTargets, g_object_ref(widget), nullptr);
    g_signal_connect(widget, "drag-data-received", G_CALLBACK(OnDragData), nullptr);
    g_signal_connect(widget, "draw", G_CALLBACK(OnDraw), nullptr);
    g_signal_connect(widget, "motion-notify-event", G_CALLBACK(OnMotion), nullptr);
    g_signal_connect(widget, "button-press-event", G_CALLBACK(OnButton), nullptr);
    g_signal_connect(widget, "button-release-event", G_CALLBACK(OnButton), nullptr);
    g_signal_connect(widget, "leave-notify-event", G_CALLBACK(OnLeave), nullptr);
    g_signal_connect(widget, "scroll-event", G_CALLBACK(OnScroll), nullptr);
    g_signal_connect(widget, "key-press-event", G_CALLBACK(OnKey), nullptr);
    g_signal_connect(widget, "key-release-event", G_CALLBACK(OnKey), nullptr);
    g_signal_connect(widget, "focus-in-event", G_CALLBACK(OnFocus), nullptr);
    g_signal_connect(widget, "focus-out-event", G_CALLBACK(OnFocus), nullptr);
    g_signal_connect(widget, "configure-event", G_CALLBACK(OnConfigure), nullptr);
    g_signal_connect(widget, "window-state-event", G_CALLBACK(OnWindowState), nullptr);
    g_signal_connect(widget, "delete-event", G_CALLBACK(OnDelete), nullptr);
}

bool IsPopup(HWND hwnd)
{
    auto style = static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
    auto exStyle = static_cast<DWORD>(GetWindowLong(hwnd, GWL_EXSTYLE));
    return (style & WS_POPUP) && (style & WS_CAPTION) != WS_CAPTION && (exStyle & WS_EX_TOOLWINDOW);
}

}  // namespace

bool GtkBackend::OnUiThread() const { return uiThread_ && GetCurrentThreadId() == uiThread_; }

GtkWidget* GtkBackend::WidgetOf(HWND hwnd) const
{
    auto it = widgets_.find(hwnd);
    return it == widgets_.end() ? nullptr : it->second;
}

HWND GtkBackend::WindowOf(GtkWidget* widget) const
{
    for (auto& [hwnd, w] : widgets_)
        if (w == widget)
            return hwnd;
    return nullptr;
}

GtkWindow* GtkBackend::ParentFor(HWND owner) const
{
    GtkWidget* widget = WidgetOf(internal::TopLevelOf(owner));
    return widget ? GTK_WINDOW(widget) : nullptr;
}

void GtkBackend::ForgetWidget(GtkWidget* widget)
{
    if (pointerWidget_ == widget)
        pointerWidget_ = nullptr;
    if (grabbed_ == widget) {
        gdk_seat_ungrab(gdk_display_get_default_seat(gdk_display_get_default()));
        grabbed_ = nullptr;
    }
}

void GtkBackend::WindowCreated(HWND hwnd)
{
    if (!OnUiThread())
        return;
    bool popup = IsPopup(hwnd);
    GtkWidget* widget = gtk_window_new(popup ? GTK_WINDOW_POPUP : GTK_WINDOW_TOPLEVEL);
    GtkWindow* window = GTK_WINDOW(widget);
    gtk_window_set_decorated(window, FALSE);
    gtk_widget_set_app_paintable(widget, TRUE);
    gtk_window_set_title(window, ToUtf8(GetWindowText(hwnd)).c_str());
    if (HWND owner = GetWindow(hwnd, GW_OWNER))
        if (GtkWindow* parent = ParentFor(owner))
            gtk_window_set_transient_for(window, parent);
    if (static_cast<DWORD>(GetWindowLong(hwnd, GWL_EXSTYLE)) & WS_EX_TOOLWINDOW)
        gtk_window_set_skip_taskbar_hint(window, TRUE);
    gtk_widget_add_events(widget, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                      GDK_KEY_PRESS_MASK | GDK_KEY_RELEASE_MASK | GDK_LEAVE_NOTIFY_MASK |
                                      GDK_FOCUS_CHANGE_MASK | GDK_STRUCTURE_MASK | GDK_SCROLL_MASK);
    RECT r;
    GetWindowRect(hwnd, &r);
    gtk_window_move(window, r.left, r.top);
    gtk_widget_set_size_request(widget, std::max(1L, static_cast<long>(r.right - r.left)),
                                std::max(1L, static_cast<long>(r.bottom - r.top)));
    gtk_window_set_resizable(window, FALSE);
    widgets_[hwnd] = widget;
    Connect(widget);
}

void GtkBackend::WindowDestroyed(HWND hwnd)
{
    GtkWidget* widget = WidgetOf(hwnd);
    if (!widget)
        return;
    ForgetWidget(widget);
    widgets_.erase(hwnd);
    gtk_widget_destroy(widget);
}

void GtkBackend::WindowPlaced(HWND hwnd, const RECT& rect)
{
    GtkWidget* widget = WidgetOf(hwnd);
    if (!widget)
        return;
    int width = std::max(1L, static_cast<long>(rect.right - rect.left));
    int height = std::max(1L, static_cast<long>(rect.bottom - rect.top));
    gtk_widget_set_size_request(widget, width, height);
    gtk_window_resize(GTK_WINDOW(widget), width, height);
    if (!echoing)
        gtk_window_move(GTK_WINDOW(widget), rect.left, rect.top);
}

void GtkBackend::WindowShown(HWND hwnd, ShowState state)
{
    GtkWidget* widget = WidgetOf(hwnd);
    if (!widget || echoing)
        return;
    GtkWindow* window = GTK_WINDOW(widget);
    switch (state) {
    case ShowState::Hidden:
        ForgetWidget(widget);
        gtk_widget_hide(widget);
        break;
    case ShowState::Minimized: gtk_window_iconify(window); break;
    case ShowState::Normal:
    case ShowState::Maximized:
        gtk_window_set_title(window, ToUtf8(GetWindowText(hwnd)).c_str());
        gtk_widget_show(widget);
        gtk_window_deiconify(window);
        WindowShapeChanged(hwnd);
        if (IsPopup(hwnd)) {
            // A drop-down list holds the pointer, so a click anywhere else
            // reaches it (and closes it).
            GdkWindow* gdkWindow = gtk_widget_get_window(widget);
            GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
            if (gdkWindow && gdk_seat_grab(seat, gdkWindow, GDK_SEAT_CAPABILITY_ALL_POINTING, TRUE, nullptr,
                                           nullptr, nullptr, nullptr) == GDK_GRAB_SUCCESS)
                grabbed_ = widget;
        }
        break;
    }
}

void GtkBackend::WindowShapeChanged(HWND hwnd)
{
    GtkWidget* widget = WidgetOf(hwnd);
    if (!widget || !gtk_widget_get_realized(widget))
        return;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(hwnd, region) == ERROR_REGION) {
        gtk_widget_shape_combine_region(widget, nullptr);
    } else {
        auto object = internal::FindGdi(region, internal::GdiObject::Kind::Region);
        gtk_widget_shape_combine_region(widget, object->region);
    }
    DeleteObject(region);
}

void GtkBackend::WindowTextChanged(HWND hwnd)
{
    if (GtkWidget* widget = WidgetOf(hwnd))
        gtk_window_set_title(GTK_WINDOW(widget), ToUtf8(GetWindowText(hwnd)).c_str());
}

void GtkBackend::WindowActivated(HWND hwnd)
{
    GtkWidget* widget = WidgetOf(hwnd);
    if (widget && !echoing && gtk_widget_get_visible(widget))
        gtk_window_present_with_time(GTK_WINDOW(widget), lastEventTime_);
}

void GtkBackend::SurfaceChanged(HWND hwnd, const RECT& area)
{
    if (GtkWidget* widget = WidgetOf(hwnd))
        gtk_widget_queue_draw_area(widget, area.left, area.top, area.right - area.left, area.bottom - area.top);
}

void GtkBackend::BeginMoveDrag(HWND hwnd, POINT screen)
{
    if (GtkWidget* widget = WidgetOf(hwnd))
        gtk_window_begin_move_drag(GTK_WINDOW(widget), 1, screen.x, screen.y, lastEventTime_);
}

void GtkBackend::NoteTrigger(const GdkEvent* event)
{
    if (trigger_)
        gdk_event_free(trigger_);
    trigger_ = gdk_event_copy(event);
}

// GTK shows the window's tip itself once the pointer rests, and moves it
// along; a new text replaces the one shown.
void GtkBackend::ShowTip(HWND hwnd, const std::wstring& text)
{
    GtkWidget* widget = WidgetOf(hwnd);
    if (!widget)
        return;
    if (text.empty()) {
        if (gtk_widget_get_has_tooltip(widget)) {
            gtk_widget_set_tooltip_text(widget, nullptr);
            gtk_widget_trigger_tooltip_query(widget);  // the one shown goes now
        }
        return;
    }
    LoadDesktopTheme();  // the tip is GTK's own window
    std::string utf8 = ToUtf8(text);
    gchar* shown = gtk_widget_get_tooltip_text(widget);
    bool same = shown && utf8 == shown && gtk_widget_get_has_tooltip(widget);
    g_free(shown);
    if (!same)
        gtk_widget_set_tooltip_text(widget, utf8.c_str());
}

void GtkBackend::SetCursorShape(int shape)
{
    const char* name = "default";
    switch (shape) {
    case 32513: name = "text"; break;
    case 32514: name = "wait"; break;
    case 32515: name = "crosshair"; break;
    case 32646: name = "move"; break;
    case 32649: name = "pointer"; break;
    }
    GtkWidget* widget = pointerWidget_;
    if (!widget || !gtk_widget_get_window(widget))
        return;
    GdkCursor* cursor = gdk_cursor_new_from_name(gdk_display_get_default(), name);
    gdk_window_set_cursor(gtk_widget_get_window(widget), cursor);
    if (cursor)
        g_object_unref(cursor);
}

RECT GtkBackend::WorkArea()
{
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = display ? gdk_display_get_primary_monitor(display) : nullptr;
    if (!monitor && display)
        monitor = gdk_display_get_monitor(display, 0);
    if (!monitor)
        return Backend::WorkArea();
    GdkRectangle r;
    gdk_monitor_get_workarea(monitor, &r);
    return {r.x, r.y, r.x + r.width, r.y + r.height};
}

SIZE GtkBackend::ScreenSize()
{
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = display ? gdk_display_get_primary_monitor(display) : nullptr;
    if (!monitor && display)
        monitor = gdk_display_get_monitor(display, 0);
    if (!monitor)
        return Backend::ScreenSize();
    GdkRectangle r;
    gdk_monitor_get_geometry(monitor, &r);
    return {r.x + r.width, r.y + r.height};
}

}  // namespace win::gtk
