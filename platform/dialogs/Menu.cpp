#include "platform/dialogs/Menu.h"

#include "platform/backend/Backend.h"
#include "platform/core/HandleTable.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Window.h"
#include "platform/window/WindowRecord.h"

#include <vector>

namespace win {

namespace {

struct MenuItem {
    UINT flags = 0;
    UINT_PTR id = 0;
    std::wstring text;
};

struct MenuData {
    std::mutex mutex;
    std::vector<MenuItem> items;
};

internal::HandleTable<MenuData>& Menus()
{
    static auto* table = new internal::HandleTable<MenuData>;
    return *table;
}

std::shared_ptr<MenuData> Find(HMENU menu) { return Menus().Find(reinterpret_cast<std::uintptr_t>(menu)); }

// The index of an item by command id or position, or -1.
int IndexOf(MenuData& data, UINT item, UINT flags)
{
    if (flags & MF_BYPOSITION)
        return item < data.items.size() ? static_cast<int>(item) : -1;
    for (std::size_t i = 0; i < data.items.size(); ++i)
        if (!(data.items[i].flags & (MF_SEPARATOR | MF_POPUP)) && data.items[i].id == item)
            return static_cast<int>(i);
    return -1;
}

HMENU NewMenu()
{
    return reinterpret_cast<HMENU>(Menus().Insert(std::make_shared<MenuData>()));
}

void FillSystemMenu(HMENU menu, DWORD style)
{
    bool boxes = style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    if (boxes)
        AppendMenu(menu, MF_STRING, SC_RESTORE, L"&Restore");
    AppendMenu(menu, MF_STRING, SC_MOVE, L"&Move");
    if (boxes) {
        AppendMenu(menu, MF_STRING, SC_SIZE, L"&Size");
        AppendMenu(menu, MF_STRING, SC_MINIMIZE, L"Mi&nimize");
        AppendMenu(menu, MF_STRING, SC_MAXIMIZE, L"Ma&ximize");
    }
    AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenu(menu, MF_STRING, SC_CLOSE, L"&Close\tAlt+F4");
}

}  // namespace

BOOL DestroyMenu(HMENU menu)
{
    auto data = Find(menu);
    if (!data)
        return 0;
    std::vector<HMENU> subMenus;
    {
        std::lock_guard lock(data->mutex);
        for (auto& item : data->items)
            if (item.flags & MF_POPUP)
                subMenus.push_back(reinterpret_cast<HMENU>(item.id));
    }
    Menus().Remove(reinterpret_cast<std::uintptr_t>(menu));
    for (HMENU sub : subMenus)
        DestroyMenu(sub);
    return 1;
}

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text)
{
    auto data = Find(menu);
    if (!data)
        return 0;
    std::lock_guard lock(data->mutex);
    data->items.push_back({flags, item, text && !(flags & MF_SEPARATOR) ? text : L""});
    return 1;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags)
{
    auto data = Find(menu);
    if (!data)
        return 0;
    std::lock_guard lock(data->mutex);
    int index = IndexOf(*data, position, flags);
    if (index < 0)
        return 0;
    data->items.erase(data->items.begin() + index);
    return 1;
}

int GetMenuItemCount(HMENU menu)
{
    auto data = Find(menu);
    if (!data)
        return -1;
    std::lock_guard lock(data->mutex);
    return static_cast<int>(data->items.size());
}

UINT GetMenuItemID(HMENU menu, int position)
{
    auto data = Find(menu);
    if (!data)
        return static_cast<UINT>(-1);
    std::lock_guard lock(data->mutex);
    if (position < 0 || position >= static_cast<int>(data->items.size()))
        return static_cast<UINT>(-1);
    const auto& item = data->items[static_cast<std::size_t>(position)];
    if (item.flags & (MF_SEPARATOR | MF_POPUP))
        return static_cast<UINT>(-1);
    return static_cast<UINT>(item.id);
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags)
{
    auto data = Find(menu);
    if (!data)
        return static_cast<UINT>(-1);
    std::lock_guard lock(data->mutex);
    int index = IndexOf(*data, item, flags);
    return index < 0 ? static_cast<UINT>(-1) : data->items[static_cast<std::size_t>(index)].flags;
}

std::wstring GetMenuString(HMENU menu, UINT item, UINT flags)
{
    auto data = Find(menu);
    if (!data)
        return {};
    std::lock_guard lock(data->mutex);
    int index = IndexOf(*data, item, flags);
    return index < 0 ? std::wstring() : data->items[static_cast<std::size_t>(index)].text;
}

namespace {

// Replaces the `bits` of an item's flags by those in `flags`; the old bits,
// or -1 when the menu or the item does not exist.
DWORD SetItemBits(HMENU menu, UINT item, UINT flags, UINT bits)
{
    auto data = Find(menu);
    if (!data)
        return static_cast<DWORD>(-1);
    std::lock_guard lock(data->mutex);
    int index = IndexOf(*data, item, flags);
    if (index < 0)
        return static_cast<DWORD>(-1);
    auto& target = data->items[static_cast<std::size_t>(index)];
    DWORD old = target.flags & bits;
    target.flags = (target.flags & ~bits) | (flags & bits);
    return old;
}

}  // namespace

UINT EnableMenuItem(HMENU menu, UINT item, UINT flags)
{
    return static_cast<UINT>(SetItemBits(menu, item, flags, MF_GRAYED | MF_DISABLED));
}

HMENU GetSystemMenu(HWND hwnd, BOOL revert)
{
    auto window = internal::FindWindow(hwnd);
    if (!window)
        return nullptr;
    if (revert) {
        if (window->systemMenu)
            DestroyMenu(window->systemMenu);
        window->systemMenu = nullptr;
        return nullptr;
    }
    if (!window->systemMenu) {
        window->systemMenu = NewMenu();
        FillSystemMenu(window->systemMenu, window->style);
    }
    // What the window allows right now.
    HMENU menu = window->systemMenu;
    bool minimized = window->style & WS_MINIMIZE, maximized = window->style & WS_MAXIMIZE;
    EnableMenuItem(menu, SC_RESTORE, (minimized || maximized) ? MF_ENABLED : MF_GRAYED);
    EnableMenuItem(menu, SC_MOVE, maximized ? MF_GRAYED : MF_ENABLED);
    EnableMenuItem(menu, SC_SIZE, (window->style & WS_THICKFRAME) && !maximized ? MF_ENABLED : MF_GRAYED);
    EnableMenuItem(menu, SC_MINIMIZE, (window->style & WS_MINIMIZEBOX) && !minimized ? MF_ENABLED : MF_GRAYED);
    EnableMenuItem(menu, SC_MAXIMIZE, (window->style & WS_MAXIMIZEBOX) && !maximized ? MF_ENABLED : MF_GRAYED);
    return menu;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*)
{
    if (!Find(menu))
        return 0;
    if (owner)
        SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    UINT chosen = CurrentBackend().TrackPopupMenu(menu, {x, y}, owner);
    if (chosen && GetMenuState(menu, chosen, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED))
        chosen = 0;
    if (flags & TPM_RETURNCMD)
        return static_cast<BOOL>(chosen);
    if (chosen && owner && !(flags & TPM_NONOTIFY))
        PostMessage(owner, WM_COMMAND, chosen, 0);
    return chosen ? 1 : 0;
}

}  // namespace win
