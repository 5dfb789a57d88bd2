// GTK's own dialogs and menus for the choices a person makes outside our
// windows. Each runs while our message loop keeps going, as a Windows
// common dialog does.
#include "platform/core/MessageBox.h"
#include "platform/core/Strings.h"
#include "platform/dialogs/Menu.h"
#include "platform/gtk/internal/GtkInternal.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/messaging/Thread.h"
#include "platform/messaging/ThreadQueue.h"
#include "platform/window/Focus.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <atomic>

namespace win::gtk {

namespace {

struct Running {
    bool done = false;
    int response = GTK_RESPONSE_NONE;
};

void OnResponse(GtkDialog*, int response, gpointer data)
{
    auto* running = static_cast<Running*>(data);
    running->response = response;
    running->done = true;
    g_main_context_wakeup(nullptr);
}

// Shows a GTK dialog over the owner (disabled meanwhile) and runs our
// loop until it is answered.
int RunDialog(GtkWidget* dialog, HWND owner)
{
    Running running;
    g_signal_connect(dialog, "response", G_CALLBACK(OnResponse), &running);
    // Escape or the window manager's close would have GTK destroy the
    // dialog behind our back (after its "response"); the caller destroys it
    // once it has read it.
    g_signal_connect(dialog, "delete-event", G_CALLBACK(gtk_true), nullptr);
    HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    // Disabling the owner takes its focus; the keyboard comes back to it.
    HWND focus = GetFocus();
    bool disabled = top && IsWindowEnabled(top);
    if (disabled)
        EnableWindow(top, 0);
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    gtk_widget_show_all(dialog);
    gtk_window_present(GTK_WINDOW(dialog));
    PumpUntil(running.done);
    if (disabled && IsWindow(top))
        EnableWindow(top, 1);
    // The owner is active again, as after a Windows common dialog.
    if (top && IsWindowVisible(top) && IsWindowEnabled(top)) {
        SetActiveWindow(top);
        if (!GetFocus() && focus && IsWindow(focus) && IsChild(top, focus) && IsWindowEnabled(focus) &&
            IsWindowVisible(focus))
            SetFocus(focus);
    }
    return running.response;
}

int AnswerOf(int response, UINT type)
{
    switch (response) {
    case GTK_RESPONSE_OK: return IDOK;
    case GTK_RESPONSE_YES: return IDYES;
    case GTK_RESPONSE_NO: return IDNO;
    case GTK_RESPONSE_CANCEL: return IDCANCEL;
    }
    // Closed from the window frame.
    switch (type & MB_TYPEMASK) {
    case MB_OK: return IDOK;
    case MB_YESNO: return IDNO;
    default: return IDCANCEL;
    }
}

// GTK's box grows with its text until its buttons are off screen: the text
// scrolls instead once it would be taller than the work area leaves room
// for (the caption, the buttons and the box's margins take the rest).
void ScrollLongText(GtkWidget* dialog)
{
    GtkWidget* area = gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(dialog));
    GList* children = gtk_container_get_children(GTK_CONTAINER(area));
    GtkWidget* label = children ? GTK_WIDGET(children->data) : nullptr;
    g_list_free(children);
    if (!label)
        return;
    RECT work = Instance().WorkArea();
    constexpr int kAroundText = 160;
    int most = std::max(100, static_cast<int>(work.bottom - work.top) - kAroundText);
    g_object_ref(label);
    gtk_container_remove(GTK_CONTAINER(area), label);
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
    gtk_scrolled_window_set_propagate_natural_height(GTK_SCROLLED_WINDOW(scroller), TRUE);
    gtk_scrolled_window_set_propagate_natural_width(GTK_SCROLLED_WINDOW(scroller), TRUE);
    // The buttons keep the keyboard, as in a box without a scroller.
    gtk_widget_set_can_focus(scroller, FALSE);
    gtk_scrolled_window_set_max_content_height(GTK_SCROLLED_WINDOW(scroller), most);
    gtk_container_add(GTK_CONTAINER(scroller), label);
    g_object_unref(label);
    gtk_box_pack_start(GTK_BOX(area), scroller, TRUE, TRUE, 0);
    gtk_box_reorder_child(GTK_BOX(area), scroller, 0);
}

// `checkText` null: no check box.
int RunMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type,
                  const std::wstring* checkText = nullptr, bool* checked = nullptr)
{
    LoadDesktopTheme();
    GtkButtonsType buttons = GTK_BUTTONS_OK;
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: buttons = GTK_BUTTONS_OK_CANCEL; break;
    case MB_YESNO: buttons = GTK_BUTTONS_YES_NO; break;
    case MB_YESNOCANCEL: buttons = GTK_BUTTONS_NONE; break;
    }
    GtkMessageType kind = (type & MB_ICONQUESTION) ? GTK_MESSAGE_QUESTION : GTK_MESSAGE_INFO;
    GtkWidget* dialog = gtk_message_dialog_new(Instance().ParentFor(owner), GTK_DIALOG_MODAL, kind, buttons,
                                               "%s", ToUtf8(text).c_str());
    if ((type & MB_TYPEMASK) == MB_YESNOCANCEL)
        gtk_dialog_add_buttons(GTK_DIALOG(dialog), "_Yes", GTK_RESPONSE_YES, "_No", GTK_RESPONSE_NO, "_Cancel",
                               GTK_RESPONSE_CANCEL, nullptr);
    gtk_window_set_title(GTK_WINDOW(dialog), ToUtf8(caption).c_str());
    ScrollLongText(dialog);
    GtkWidget* check = nullptr;
    if (checkText) {
        // Alt and the first letter tick it, as a person reaches for it.
        check = gtk_check_button_new_with_mnemonic(("_" + ToUtf8(*checkText)).c_str());
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(check), *checked);
        // The answer buttons keep the keyboard's first stop.
        gtk_widget_set_can_default(check, FALSE);
        GtkWidget* area = gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(dialog));
        gtk_box_pack_end(GTK_BOX(area), check, FALSE, FALSE, 0);
    }
    int answer = AnswerOf(RunDialog(dialog, owner), type);
    if (check)
        *checked = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(check));
    gtk_widget_destroy(dialog);
    return answer;
}

// A question from a worker thread: asked on the UI thread while the worker
// waits (still answering what is sent to it).
struct RemoteQuestion {
    HWND owner;
    std::wstring text, caption;
    UINT type;
    const std::wstring* checkText = nullptr;
    bool* checked = nullptr;
    int answer = IDCANCEL;
    std::atomic<bool> done{false};
    std::shared_ptr<internal::ThreadQueue> asker;
};

gboolean AskOnUiThread(gpointer data)
{
    auto* question = static_cast<RemoteQuestion*>(data);
    question->answer = RunMessageBox(question->owner, question->text, question->caption, question->type,
                                     question->checkText, question->checked);
    auto asker = question->asker;
    question->done.store(true, std::memory_order_release);
    asker->Wake();
    return G_SOURCE_REMOVE;
}

// "*.ape" matches "X.APE" too, as it would on Windows.
std::string CaseInsensitive(const std::string& pattern)
{
    std::string out;
    for (char c : pattern) {
        if (g_ascii_isalpha(c)) {
            out += '[';
            out += g_ascii_tolower(c);
            out += g_ascii_toupper(c);
            out += ']';
        } else {
            out += c;
        }
    }
    return out;
}

std::wstring FromFilename(const char* name)
{
    gchar* utf8 = g_filename_to_utf8(name, -1, nullptr, nullptr, nullptr);
    std::wstring path = utf8 ? FromUtf8(utf8) : FromUtf8(name);
    g_free(utf8);
    return path;
}

struct MenuRun {
    UINT chosen = 0;
    bool done = false;
};

void OnItem(GtkMenuItem* item, gpointer data)
{
    auto* run = static_cast<MenuRun*>(data);
    run->chosen = GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(item), "kolvex-id"));
}

gboolean FinishMenu(gpointer data)
{
    static_cast<MenuRun*>(data)->done = true;
    return G_SOURCE_REMOVE;
}

void OnMenuGone(GtkMenuShell*, gpointer data)
{
    // The chosen item's "activate" comes after the menu closes; finish once
    // it has had its turn.
    g_idle_add(FinishMenu, data);
}

std::string MnemonicText(const std::wstring& text)
{
    std::wstring label = text.substr(0, text.find(L'\t'));
    std::string out;
    for (std::size_t i = 0; i < label.size(); ++i) {
        if (label[i] == L'&' && i + 1 < label.size() && label[i + 1] == L'&') {
            out += '&';
            ++i;
        } else if (label[i] == L'&') {
            out += '_';
        } else if (label[i] == L'_') {
            out += "__";
        } else {
            out += ToUtf8(std::wstring(1, label[i]));
        }
    }
    return out;
}

}  // namespace

int GtkBackend::MessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type)
{
    return Ask(owner, text, caption, type, nullptr, nullptr);
}

int GtkBackend::MessageBoxWithCheck(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type,
                                    const std::wstring& checkText, bool* checked)
{
    return Ask(owner, text, caption, type, &checkText, checked);
}

int GtkBackend::Ask(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type,
                    const std::wstring* checkText, bool* checked)
{
    if (OnUiThread())
        return RunMessageBox(owner, text, caption, type, checkText, checked);
    RemoteQuestion question;
    question.owner = owner;
    question.text = text;
    question.caption = caption;
    question.type = type;
    question.checkText = checkText;
    question.checked = checked;
    question.asker = internal::CurrentQueue();
    // An idle source, not g_main_context_invoke: that would run the dialog
    // right here whenever the UI thread happens not to hold the main loop.
    g_idle_add(AskOnUiThread, &question);
    g_main_context_wakeup(nullptr);
    for (;;) {
        auto seen = question.asker->Generation();
        if (question.done.load(std::memory_order_acquire))
            return question.answer;
        if (question.asker->DispatchSent())
            continue;
        question.asker->WaitChange(seen, std::nullopt);
    }
}

bool GtkBackend::OpenFiles(const OpenFileRequest& request, std::vector<std::wstring>* chosen)
{
    LoadDesktopTheme();
    GtkWidget* dialog = gtk_file_chooser_dialog_new(
        request.title.empty() ? "Open" : ToUtf8(request.title).c_str(), ParentFor(request.owner),
        GTK_FILE_CHOOSER_ACTION_OPEN, "_Cancel", GTK_RESPONSE_CANCEL, "_Open", GTK_RESPONSE_OK, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_file_chooser_set_select_multiple(chooser, request.multiSelect);
    if (!request.initialDirectory.empty())
        gtk_file_chooser_set_current_folder(chooser, ToUtf8(request.initialDirectory).c_str());
    for (std::size_t i = 0; i < request.filters.size(); ++i) {
        GtkFileFilter* filter = gtk_file_filter_new();
        gtk_file_filter_set_name(filter, ToUtf8(request.filters[i].name).c_str());
        for (const auto& pattern : request.filters[i].patterns)
            gtk_file_filter_add_pattern(filter, CaseInsensitive(ToUtf8(pattern)).c_str());
        gtk_file_chooser_add_filter(chooser, filter);
        if (static_cast<int>(i) == request.filterIndex)
            gtk_file_chooser_set_filter(chooser, filter);
    }
    bool ok = RunDialog(dialog, request.owner) == GTK_RESPONSE_OK;
    if (ok) {
        GSList* files = gtk_file_chooser_get_filenames(chooser);
        for (GSList* f = files; f; f = f->next)
            chosen->push_back(FromFilename(static_cast<const char*>(f->data)));
        g_slist_free_full(files, g_free);
    }
    gtk_widget_destroy(dialog);
    return ok && !chosen->empty();
}

bool GtkBackend::BrowseForFolder(HWND owner, const std::wstring& title, std::wstring* path)
{
    LoadDesktopTheme();
    GtkWidget* dialog = gtk_file_chooser_dialog_new(ToUtf8(title).c_str(), ParentFor(owner),
                                                    GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, "_Cancel",
                                                    GTK_RESPONSE_CANCEL, "_Select", GTK_RESPONSE_OK, nullptr);
    bool ok = RunDialog(dialog, owner) == GTK_RESPONSE_OK;
    if (ok) {
        gchar* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog));
        ok = name != nullptr;
        if (name) {
            *path = FromFilename(name);
            g_free(name);
        }
    }
    gtk_widget_destroy(dialog);
    return ok;
}

UINT GtkBackend::TrackPopupMenu(HMENU menu, POINT screen, HWND owner)
{
    GtkWidget* widget = WidgetOf(GetAncestor(owner, GA_ROOT));
    if (!widget || !gtk_widget_get_window(widget))
        return 0;
    LoadDesktopTheme();
    MenuRun run;
    GtkWidget* popup = gtk_menu_new();
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        GtkWidget* item;
        if (state & MF_SEPARATOR) {
            item = gtk_separator_menu_item_new();
        } else {
            item = gtk_menu_item_new_with_mnemonic(MnemonicText(GetMenuString(menu, static_cast<UINT>(i), MF_BYPOSITION)).c_str());
            gtk_widget_set_sensitive(item, !(state & (MF_GRAYED | MF_DISABLED)));
            g_object_set_data(G_OBJECT(item), "kolvex-id", GUINT_TO_POINTER(GetMenuItemID(menu, i)));
            g_signal_connect(item, "activate", G_CALLBACK(OnItem), &run);
        }
        gtk_menu_shell_append(GTK_MENU_SHELL(popup), item);
    }
    g_signal_connect(popup, "deactivate", G_CALLBACK(OnMenuGone), &run);
    gtk_widget_show_all(popup);
    RECT r;
    GetWindowRect(GetAncestor(owner, GA_ROOT), &r);
    GdkRectangle at{screen.x - r.left, screen.y - r.top, 1, 1};
    // Our input reaches the window after GTK has finished with its event, so
    // the menu is told which click or key opened it; without one it could
    // not take the pointer and keyboard, and would never show.
    gtk_menu_popup_at_rect(GTK_MENU(popup), gtk_widget_get_window(widget), &at, GDK_GRAVITY_NORTH_WEST,
                           GDK_GRAVITY_NORTH_WEST, Trigger());
    if (!gtk_widget_get_visible(popup))
        run.done = true;  // no menu to wait for
    PumpUntil(run.done);
    gtk_widget_destroy(popup);
    return run.chosen;
}

bool GtkBackend::ShellOpen(HWND owner, const std::wstring& target)
{
    if (target.empty())
        return false;
    std::string text = ToUtf8(target);
    gchar* uri = nullptr;
    if (text.find("://") != std::string::npos)
        uri = g_strdup(text.c_str());
    else
        uri = g_filename_to_uri(text.c_str(), nullptr, nullptr);
    if (!uri)
        return false;
    GError* error = nullptr;
    bool ok = gtk_show_uri_on_window(ParentFor(owner), uri, GDK_CURRENT_TIME, &error);
    if (!ok) {
        if (error)
            g_error_free(error);
        // No desktop handler through GIO: try the desktop's command.
        gchar* argv[] = {const_cast<gchar*>("xdg-open"), uri, nullptr};
        ok = g_spawn_async(nullptr, argv, nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr, nullptr);
    }
    g_free(uri);
    return ok;
}

}  // namespace win::gtk
