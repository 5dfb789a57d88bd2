#include "platform/window/Input.h"

#include "platform/backend/Backend.h"
#include "platform/core/Rect.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/messaging/Thread.h"
#include "platform/messaging/ThreadQueue.h"
#include "platform/window/Focus.h"
#include "platform/window/Window.h"
#include "platform/window/internal/TipOwner.h"
#include "platform/window/internal/InputState.h"
#include "platform/window/internal/WindowTable.h"

#include <cstdlib>

namespace win {

using internal::FindWindow;
using internal::RawInput;
using internal::ThreadInput;
using internal::InputState;
using internal::KeyFlags;
using internal::LastClick;

namespace internal {

ThreadInput& InputState()
{
    thread_local ThreadInput state;
    return state;
}

HWND TopAt(POINT screen)
{
    DWORD self = GetCurrentThreadId();
    for (HWND top : internal::TopLevelWindows()) {
        auto window = FindWindow(top);
        if (!window || window->thread != self || !(window->style & WS_VISIBLE))
            continue;
        POINT local{screen.x - window->rect.left, screen.y - window->rect.top};
        if (PtInRect(&window->rect, screen) &&
            (!window->shape || cairo_region_contains_point(window->shape, local.x, local.y)))
            return top;
    }
    return nullptr;
}

bool Contains(const internal::WindowData& window, POINT screen)
{
    RECT r;
    GetWindowRect(window.self, &r);
    if (!PtInRect(&r, screen))
        return false;
    return !window.shape || cairo_region_contains_point(window.shape, screen.x - r.left, screen.y - r.top);
}

HWND HitWindow(HWND hwnd, POINT screen, LRESULT* hit)
{
    LRESULT code = SendMessage(hwnd, WM_NCHITTEST, 0, MAKEPOINTLPARAM(screen.x, screen.y));
    if (code == HTTRANSPARENT)
        return nullptr;
    auto window = FindWindow(hwnd);
    if (!window)
        return nullptr;
    if (code == HTCLIENT) {
        auto children = window->children;
        for (HWND childHandle : children) {
            auto child = FindWindow(childHandle);
            if (!child || !(child->style & WS_VISIBLE) || (child->style & WS_DISABLED))
                continue;
            if (!Contains(*child, screen))
                continue;
            if (HWND found = HitWindow(childHandle, screen, hit))
                return found;
        }
    }
    *hit = code;
    return hwnd;
}

WPARAM KeyFlags(const ThreadInput& state)
{
    WPARAM flags = 0;
    if (state.keys[VK_LBUTTON])
        flags |= MK_LBUTTON;
    if (state.keys[VK_RBUTTON])
        flags |= MK_RBUTTON;
    if (state.keys[VK_SHIFT])
        flags |= MK_SHIFT;
    if (state.keys[VK_CONTROL])
        flags |= MK_CONTROL;
    return flags;
}

}  // namespace internal

namespace {

constexpr int kDoubleClickDistance = 4;

UINT MouseMessage(RawInput::Kind kind, int button, bool client)
{
    UINT base;
    if (kind == RawInput::Kind::PointerMove)
        return client ? WM_MOUSEMOVE : WM_NCMOUSEMOVE;
    switch (button) {
    case 2: base = client ? WM_RBUTTONDOWN : WM_NCRBUTTONDOWN; break;
    case 3: base = client ? WM_MBUTTONDOWN : WM_NCLBUTTONDOWN + 6; break;
    default: base = client ? WM_LBUTTONDOWN : WM_NCLBUTTONDOWN; break;
    }
    return kind == RawInput::Kind::PointerDown ? base : base + 1;
}

bool IsDoubleClick(ThreadInput& state, HWND target, UINT message, const RawInput& raw, bool client)
{
    LastClick& last = state.lastClick;
    bool wants = !client || (GetClassLongPtr(target, GCL_STYLE) & CS_DBLCLKS);
    bool twin = last.hwnd == target && last.message == message &&
                raw.time - last.time <= GetDoubleClickTime() &&
                std::abs(raw.screen.x - last.screen.x) <= kDoubleClickDistance &&
                std::abs(raw.screen.y - last.screen.y) <= kDoubleClickDistance;
    if (twin && wants) {
        last = {};
        return true;
    }
    last = {target, message, raw.time, raw.screen};
    return false;
}

void TranslatePointer(ThreadInput& state, const RawInput& raw)
{
    state.cursor = raw.screen;
    if (raw.kind == RawInput::Kind::PointerDown || raw.kind == RawInput::Kind::PointerUp) {
        UINT vk = raw.button == 2 ? VK_RBUTTON : VK_LBUTTON;
        state.keys[vk] = raw.kind == RawInput::Kind::PointerDown;
    }
    state.keys[VK_SHIFT] = raw.modifiers & MOD_SHIFT_KEY;
    state.keys[VK_CONTROL] = raw.modifiers & MOD_CONTROL_KEY;
    state.keys[VK_MENU] = raw.modifiers & MOD_ALT_KEY;

    HWND target = nullptr;
    LRESULT hit = HTNOWHERE;
    if (state.capture && !IsWindow(state.capture))
        state.capture = nullptr;
    if (state.capture) {
        target = state.capture;
        hit = HTCLIENT;
    } else if (raw.kind != RawInput::Kind::PointerLeave) {
        HWND top = raw.top && FindWindow(raw.top) && internal::Contains(*FindWindow(raw.top), raw.screen)
                       ? raw.top
                       : internal::TopAt(raw.screen);
        if (top)
            target = internal::HitWindow(top, raw.screen, &hit);
    }
    internal::UpdateTracking(state, target, hit);
    internal::TipPointerOver(raw.kind == RawInput::Kind::PointerLeave ? nullptr : target);
    if (!target || raw.kind == RawInput::Kind::PointerLeave)
        return;
    // A window disabled by a modal dialog takes no input.
    if (!IsWindowEnabled(internal::TopLevelOf(target)))
        return;

    if (raw.kind == RawInput::Kind::PointerWheel) {
        MSG wheel;
        wheel.hwnd = target;
        wheel.message = WM_MOUSEWHEEL;
        wheel.wParam = MAKEWPARAM(static_cast<WORD>(KeyFlags(state)), static_cast<WORD>(static_cast<short>(raw.button)));
        wheel.lParam = MAKEPOINTLPARAM(raw.screen.x, raw.screen.y);
        wheel.time = raw.time;
        wheel.pt = raw.screen;
        state.ready.push_back(wheel);
        return;
    }
    bool client = hit == HTCLIENT;
    UINT message = MouseMessage(raw.kind, raw.button, client);
    if (!state.capture)
        SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(message)));
    if (!IsWindow(target))
        return;
    if (raw.kind == RawInput::Kind::PointerDown) {
        HWND top = internal::TopLevelOf(target);
        if (top != GetActiveWindow()) {
            LRESULT answer = SendMessage(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                                         MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(message)));
            if (answer != MA_NOACTIVATE && IsWindow(top))
                internal::ActivateByClick(top);
        }
        if (IsDoubleClick(state, target, message, raw, client))
            message += 2;  // WM_xBUTTONDOWN → WM_xBUTTONDBLCLK
    }
    MSG msg;
    msg.hwnd = target;
    msg.message = message;
    msg.time = raw.time;
    msg.pt = raw.screen;
    if (client) {
        POINT pt = raw.screen;
        ScreenToClient(target, &pt);
        msg.wParam = KeyFlags(state);
        msg.lParam = MAKEPOINTLPARAM(pt.x, pt.y);
    } else {
        msg.wParam = static_cast<WPARAM>(hit);
        msg.lParam = MAKEPOINTLPARAM(raw.screen.x, raw.screen.y);
    }
    state.ready.push_back(msg);
}

void TranslateKey(ThreadInput& state, const RawInput& raw)
{
    bool down = raw.kind == RawInput::Kind::KeyDown;
    state.keys[VK_SHIFT] = raw.modifiers & MOD_SHIFT_KEY;
    state.keys[VK_CONTROL] = raw.modifiers & MOD_CONTROL_KEY;
    state.keys[VK_MENU] = raw.modifiers & MOD_ALT_KEY;
    if (raw.virtualKey < 256)
        state.keys[raw.virtualKey] = down;
    // The window system sent the key to a window of ours: if none of ours
    // is active (the focus came back from elsewhere without telling us),
    // that window is.
    if (!GetActiveWindow() && raw.top && IsWindowVisible(raw.top) && IsWindowEnabled(raw.top))
        SetActiveWindow(raw.top);
    HWND target = GetFocus();
    if (!target)
        target = GetActiveWindow();
    if (!target || !IsWindowEnabled(internal::TopLevelOf(target)))
        return;
    bool alt = (raw.modifiers & MOD_ALT_KEY) && raw.virtualKey != VK_MENU;
    MSG msg;
    msg.hwnd = target;
    msg.message = down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
    msg.wParam = raw.virtualKey;
    msg.lParam = down ? 1 : static_cast<LPARAM>(0xC0000001u);
    msg.time = raw.time;
    msg.pt = state.cursor;
    if (down && raw.character)
        state.pendingChars[raw.virtualKey] = raw.character;
    state.ready.push_back(msg);
}

void PostRaw(HWND top, const RawInput& raw)
{
    DWORD thread = top ? GetWindowThreadProcessId(top, nullptr) : GetCurrentThreadId();
    if (!thread)
        thread = GetCurrentThreadId();
    if (auto queue = internal::QueueOf(thread))
        queue->PostInput(raw);
}

}  // namespace

namespace internal {

bool NextInputMessage(ThreadQueue& queue, MSG* out, HWND filter, UINT min, UINT max, bool remove)
{
    auto& state = InputState();
    for (;;) {
        for (auto it = state.ready.begin(); it != state.ready.end(); ++it) {
            if (filter && it->hwnd != filter)
                continue;
            if (!(min == 0 && max == 0) && (it->message < min || it->message > max))
                continue;
            *out = *it;
            if (remove)
                state.ready.erase(it);
            return true;
        }
        RawInput raw;
        if (!queue.TakeInput(&raw))
            return false;
        if (raw.kind == RawInput::Kind::KeyDown || raw.kind == RawInput::Kind::KeyUp)
            TranslateKey(state, raw);
        else
            TranslatePointer(state, raw);
    }
}

void ForgetInputOf(HWND hwnd)
{
    auto& state = InputState();
    if (state.capture == hwnd)
        state.capture = nullptr;
    if (state.tracking.hwnd == hwnd)
        state.tracking = {};
    if (state.lastClick.hwnd == hwnd)
        state.lastClick = {};
    std::erase_if(state.ready, [hwnd](const MSG& m) { return m.hwnd == hwnd; });
}

BOOL TranslateKeyMessage(const MSG* msg)
{
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN))
        return 0;
    auto& state = InputState();
    auto it = state.pendingChars.find(static_cast<UINT>(msg->wParam));
    if (it == state.pendingChars.end())
        return 0;
    wchar_t ch = it->second;
    state.pendingChars.erase(it);
    PostMessage(msg->hwnd, msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, static_cast<WPARAM>(ch),
                msg->lParam);
    return 1;
}

}  // namespace internal

SHORT GetKeyState(int virtualKey)
{
    if (virtualKey < 0 || virtualKey > 255)
        return 0;
    return InputState().keys[virtualKey] ? static_cast<SHORT>(0x8000) : 0;
}

BOOL GetCursorPos(POINT* pt)
{
    if (!pt)
        return 0;
    *pt = InputState().cursor;
    return 1;
}

UINT GetDoubleClickTime() { return 500; }

void InjectPointer(HWND top, PointerEvent event, int button, POINT screen, UINT modifiers)
{
    RawInput raw;
    switch (event) {
    case PointerEvent::Move: raw.kind = RawInput::Kind::PointerMove; break;
    case PointerEvent::Down: raw.kind = RawInput::Kind::PointerDown; break;
    case PointerEvent::Up: raw.kind = RawInput::Kind::PointerUp; break;
    case PointerEvent::Leave: raw.kind = RawInput::Kind::PointerLeave; break;
    case PointerEvent::Wheel: raw.kind = RawInput::Kind::PointerWheel; break;
    }
    raw.top = top;
    raw.button = button;
    raw.screen = screen;
    raw.modifiers = modifiers;
    raw.time = GetTickCount();
    PostRaw(top, raw);
}

void InjectKey(HWND top, bool down, UINT virtualKey, wchar_t character, UINT modifiers)
{
    RawInput raw;
    raw.kind = down ? RawInput::Kind::KeyDown : RawInput::Kind::KeyUp;
    raw.top = top;
    raw.virtualKey = virtualKey;
    raw.character = character;
    raw.modifiers = modifiers;
    raw.time = GetTickCount();
    PostRaw(top, raw);
}

}  // namespace win
