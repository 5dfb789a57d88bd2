#include "platform/window/Cursor.h"

#include "platform/backend/Backend.h"
#include "platform/window/internal/InputState.h"

#include <cstdint>

namespace win {

HCURSOR LoadCursor(HINSTANCE, LPCWSTR name)
{
    auto id = reinterpret_cast<std::uintptr_t>(name);
    if (id < 32512 || id > 32660)
        return nullptr;
    return reinterpret_cast<HCURSOR>(id);
}

int CursorShapeOf(HCURSOR cursor)
{
    auto id = reinterpret_cast<std::uintptr_t>(cursor);
    return id ? static_cast<int>(id) : 32512;
}

HCURSOR SetCursor(HCURSOR cursor)
{
    auto& state = internal::InputState();
    HCURSOR old = state.cursorShape;
    if (cursor != old) {
        state.cursorShape = cursor;
        CurrentBackend().SetCursorShape(CursorShapeOf(cursor));
    }
    return old;
}

}  // namespace win
