#include "skin/SkinText.h"

#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Gdi.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

SkinText::SkinText(std::wstring name, std::wstring ownerName, win::HFONT font, win::HWND window)
    : SkinElement(SkinFile{}, L"", L""), frameFont_(font)
{
    name_ = std::move(name);
    type_ = L"Static";
    ownerName_ = std::move(ownerName);
    window_ = window;
}

std::wstring SkinText::Text() const
{
    if (hasText_)
        return text_;
    std::wstring text = win::GetWindowText(window_);
    return text.size() > 1024 ? text.substr(0, 1024) : text;
}

win::LRESULT SkinText::WindowProc(win::UINT message, win::WPARAM, win::LPARAM lParam)
{
    switch (message) {
    case win::WM_SETTEXT: {
        // The parent's backdrop under the old text must show again.
        win::HWND parent = win::GetParent(window_);
        win::RECT r;
        win::GetWindowRect(window_, &r);
        win::MapWindowPoints(nullptr, parent, reinterpret_cast<win::POINT*>(&r), 2);
        win::InvalidateRect(parent, &r, 1);
        text_ = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
        hasText_ = true;
        win::InvalidateRect(window_, nullptr, 1);
        return 0;
    }
    case win::WM_PAINT:
        Paint();
        return 0;
    case win::WM_ERASEBKGND:
        return 0;
    default:
        return Default();
    }
}

void SkinText::Paint()
{
    win::PAINTSTRUCT ps;
    win::HDC dc = win::BeginPaint(window_, &ps);
    win::RECT r;
    win::GetClientRect(window_, &r);
    win::HGDIOBJ old = win::SelectObject(dc, frameFont_);
    win::SetTextColor(dc, win::RGB(0, 0, 0));
    win::SetBkMode(dc, win::TRANSPARENT);
    std::wstring text = Text();
    win::DrawText(dc, text.c_str(), static_cast<int>(text.size()), &r,
                  win::DT_LEFT | win::DT_TOP | win::DT_NOCLIP | win::DT_NOPREFIX | win::DT_SINGLELINE);
    win::SelectObject(dc, old);
    win::EndPaint(window_, &ps);
}
