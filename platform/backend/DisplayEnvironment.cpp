#include "platform/backend/DisplayEnvironment.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace win {

namespace {

constexpr const char* kSkinOnlyTheme = "KolvexSkinOnly";

bool g_chosen = false;
bool g_themeChosen = false;

bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

bool SessionBusReachable()
{
    if (IsSet("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime && *runtime && access((std::string(runtime) + "/bus").c_str(), F_OK) == 0;
}

}  // namespace

void ChooseDisplayEnvironment()
{
    if (g_chosen)
        return;
    g_chosen = true;
    // Windows show our own cairo surfaces: GL is never drawn with, and
    // probing for it loads the system's GL driver (on a machine without a
    // GPU, Mesa's software renderer and LLVM), the largest single cost of
    // opening the display.
    setenv("GDK_GL", "disable", 0);
    // Without a session bus there is no accessibility registry to bridge
    // to, and looking for one starts a bus through dbus-launch (or fails
    // slowly trying). With a bus, screen readers keep working as usual.
    if (!SessionBusReachable())
        setenv("NO_AT_BRIDGE", "1", 0);
    if (!IsSet("GTK_THEME")) {
        setenv("GTK_THEME", kSkinOnlyTheme, 1);
        g_themeChosen = true;
    }
}

const char* SkinOnlyThemeName() { return g_themeChosen ? kSkinOnlyTheme : nullptr; }

}  // namespace win
