// One control of a dialog template, visible, at a rectangle in dialog units.
#pragma once

#include "platform/dialogs/Dialog.h"
#include "platform/window/Window.h"

inline win::DialogItemTemplate DialogItem(win::LPCWSTR cls, win::LPCWSTR text, int id, win::DWORD style, int x,
                                          int y, int cx, int cy)
{
    win::DialogItemTemplate item;
    item.className = cls;
    item.text = text;
    item.id = id;
    item.style = win::WS_CHILD | win::WS_VISIBLE | style;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    return item;
}
