#include "app/TabOrder.h"

#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

using namespace win;

namespace tab_order {

namespace {

struct Placed {
    HWND hwnd;
    RECT rect;
};

// Two controls are on one row when their middles are closer than half the
// lower one's height.
bool ReadsBefore(const Placed& a, const Placed& b)
{
    long ay = (a.rect.top + a.rect.bottom) / 2, by = (b.rect.top + b.rect.bottom) / 2;
    long height = std::min(a.rect.bottom - a.rect.top, b.rect.bottom - b.rect.top);
    if (std::labs(ay - by) * 2 >= std::max(1L, height))
        return ay < by;
    return a.rect.left < b.rect.left;
}

}  // namespace

void FollowPlaces(HWND window)
{
    std::vector<Placed> stops;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        // Skinned controls take their place when first asked for their code.
        SendMessage(child, WM_GETDLGCODE, 0, 0);
        if (GetWindowLong(child, GWL_STYLE) & WS_TABSTOP) {
            Placed p{child, {}};
            GetWindowRect(child, &p.rect);
            stops.push_back(p);
        }
    }
    std::stable_sort(stops.begin(), stops.end(), ReadsBefore);
    for (const Placed& p : stops)
        SetWindowPos(p.hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace tab_order
