#include "WindowTesting.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Gdi.h"
#include "platform/window/Window.h"
#include "tests/support/GdiProbes.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace testing_windows {

Recorder& Recorder::Instance()
{
    static Recorder recorder;
    return recorder;
}

std::vector<UINT> Recorder::Of(HWND hwnd, std::vector<UINT> only) const
{
    std::vector<UINT> out;
    for (const auto& h : heard_) {
        if (h.hwnd != hwnd)
            continue;
        if (!only.empty() && std::find(only.begin(), only.end(), h.message) == only.end())
            continue;
        out.push_back(h.message);
    }
    return out;
}

void Recorder::On(HWND hwnd, UINT message, std::function<LRESULT(WPARAM, LPARAM)> handler)
{
    handlers_[{hwnd, message}] = std::move(handler);
}

void Recorder::Forget(HWND hwnd)
{
    std::erase_if(handlers_, [hwnd](const auto& entry) { return entry.first.first == hwnd; });
}

LRESULT Recorder::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& self = Instance();
    self.heard_.push_back({hwnd, message, wParam, lParam});
    auto it = self.handlers_.find({hwnd, message});
    if (it != self.handlers_.end())
        return it->second(wParam, lParam);
    if (message == WM_NCDESTROY)
        self.Forget(hwnd);
    return DefWindowProc(hwnd, message, wParam, lParam);
}

namespace {

void RegisterClasses()
{
    static bool done = [] {
        WNDCLASS wc;
        wc.lpfnWndProc = Recorder::Proc;
        wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        wc.lpszClassName = L"Recorder";
        RegisterClass(&wc);
        wc.style = CS_DBLCLKS;
        wc.lpszClassName = L"RecorderDbl";
        RegisterClass(&wc);
        return true;
    }();
    (void)done;
}

}  // namespace

HWND MakeTop(LPCWSTR cls, DWORD style, RECT r, LPCWSTR text)
{
    RegisterClasses();
    return CreateWindowEx(0, cls, text, style, r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr,
                          nullptr, nullptr, nullptr);
}

HWND MakeChild(HWND parent, LPCWSTR cls, DWORD style, RECT r, int id)
{
    RegisterClasses();
    return CreateWindowEx(0, cls, L"child", style | WS_CHILD, r.left, r.top, r.right - r.left,
                          r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)),
                          nullptr, nullptr);
}

void Pump() { PumpPendingMessages(); }

POINT ScreenOf(HWND hwnd, int x, int y)
{
    POINT pt{x, y};
    ClientToScreen(hwnd, &pt);
    return pt;
}

void MoveTo(HWND hwnd, int x, int y)
{
    InjectPointer(nullptr, PointerEvent::Move, 0, ScreenOf(hwnd, x, y), 0);
    Pump();
}

void Press(HWND hwnd, int x, int y, int button)
{
    InjectPointer(nullptr, PointerEvent::Down, button, ScreenOf(hwnd, x, y), 0);
    Pump();
}

void Release(HWND hwnd, int x, int y, int button)
{
    InjectPointer(nullptr, PointerEvent::Up, button, ScreenOf(hwnd, x, y), 0);
    Pump();
}

void Click(HWND hwnd, int x, int y)
{
    MoveTo(hwnd, x, y);
    Press(hwnd, x, y);
    Release(hwnd, x, y);
}

void Type(const std::wstring& text)
{
    for (wchar_t c : text) {
        UINT vk = (c >= L'a' && c <= L'z') ? c - 32 : c;
        InjectKey(nullptr, true, vk, c, 0);
        InjectKey(nullptr, false, vk, 0, 0);
    }
    Pump();
}

void Key(UINT vk, UINT modifiers)
{
    InjectKey(nullptr, true, vk, 0, modifiers);
    InjectKey(nullptr, false, vk, 0, modifiers);
    Pump();
}

DWORD PixelAt(HWND top, int x, int y)
{
    std::string file = "/tmp/kolvex-pixel-" + std::to_string(::getpid()) + ".png";
    if (!SaveWindowPng(top, std::wstring(file.begin(), file.end())))
        return 0xFFFFFFFF;
    HBITMAP bitmap = LoadImageFile(std::wstring(file.begin(), file.end()));
    std::remove(file.c_str());
    DWORD pixel = testing_support::BitmapPixel(bitmap, x, y) & 0xFFFFFF;
    DeleteObject(bitmap);
    return pixel;
}

}  // namespace testing_windows
