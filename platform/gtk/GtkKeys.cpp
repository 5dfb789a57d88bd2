#include "platform/gtk/internal/GtkInternal.h"
#include "platform/window/Input.h"

#include <gdk/gdkkeysyms.h>

namespace win::gtk {

UINT VirtualKeyOf(const GdkEventKey* event)
{
    guint key = gdk_keyval_to_upper(event->keyval);
    if ((key >= GDK_KEY_A && key <= GDK_KEY_Z) || (key >= GDK_KEY_0 && key <= GDK_KEY_9))
        return key;
    if (key >= GDK_KEY_F1 && key <= GDK_KEY_F12)
        return 0x70 + (key - GDK_KEY_F1);
    switch (key) {
    case GDK_KEY_BackSpace: return VK_BACK;
    case GDK_KEY_Tab:
    case GDK_KEY_ISO_Left_Tab: return VK_TAB;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter: return VK_RETURN;
    case GDK_KEY_Shift_L:
    case GDK_KEY_Shift_R: return VK_SHIFT;
    case GDK_KEY_Control_L:
    case GDK_KEY_Control_R: return VK_CONTROL;
    case GDK_KEY_Alt_L:
    case GDK_KEY_Alt_R: return VK_MENU;
    case GDK_KEY_Escape: return VK_ESCAPE;
    case GDK_KEY_space: return VK_SPACE;
    case GDK_KEY_Page_Up: return VK_PRIOR;
    case GDK_KEY_Page_Down: return VK_NEXT;
    case GDK_KEY_End: return VK_END;
    case GDK_KEY_Home: return VK_HOME;
    case GDK_KEY_Left: return VK_LEFT;
    case GDK_KEY_Up: return VK_UP;
    case GDK_KEY_Right: return VK_RIGHT;
    case GDK_KEY_Down: return VK_DOWN;
    case GDK_KEY_Insert: return VK_INSERT;
    case GDK_KEY_Delete: return VK_DELETE;
    }
    return 0;
}

wchar_t CharacterOf(const GdkEventKey* event)
{
    switch (event->keyval) {
    case GDK_KEY_BackSpace: return 8;
    case GDK_KEY_Tab:
    case GDK_KEY_ISO_Left_Tab: return L'\t';
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter: return L'\r';
    case GDK_KEY_Escape: return 0x1B;
    }
    guint32 c = gdk_keyval_to_unicode(event->keyval);
    // Ctrl+letter types the control character, as the edit keys expect.
    if ((event->state & GDK_CONTROL_MASK) && c < 128 && ((c | 0x20) >= 'a' && (c | 0x20) <= 'z'))
        return static_cast<wchar_t>((c | 0x20) - 'a' + 1);
    if (event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK))
        return 0;
    return static_cast<wchar_t>(c);
}

UINT ModifiersOf(guint state)
{
    UINT mods = 0;
    if (state & GDK_SHIFT_MASK)
        mods |= MOD_SHIFT_KEY;
    if (state & GDK_CONTROL_MASK)
        mods |= MOD_CONTROL_KEY;
    if (state & GDK_MOD1_MASK)
        mods |= MOD_ALT_KEY;
    return mods;
}

}  // namespace win::gtk
