#include "platform/core/Module.h"

#include "platform/core/Files.h"
#include "platform/core/Strings.h"

#include <dlfcn.h>
#include <string>

namespace win {

HMODULE LoadLibrary(LPCWSTR name)
{
    if (!name || !*name)
        return nullptr;
    std::wstring file = name;
    // A Windows-style name still finds our module.
    if (file.size() > 4 && CompareNoCase(file.substr(file.size() - 4), L".dll") == 0)
        file.resize(file.size() - 4);
    if (!(file.size() > 3 && file.ends_with(L".so")))
        file += L".so";

    // A module beside the executable that fails to load is that failure
    // (dlerror says why), not a reason to take another one from elsewhere.
    if (file.find(L'/') == std::wstring::npos) {
        std::wstring besideExe = ExecutableDirectory() + file;
        if (FileExists(besideExe))
            return static_cast<HMODULE>(dlopen(ToUtf8(besideExe).c_str(), RTLD_NOW | RTLD_LOCAL));
    }
    return static_cast<HMODULE>(dlopen(ToUtf8(file).c_str(), RTLD_NOW | RTLD_LOCAL));
}

void* GetProcAddress(HMODULE module, const char* name)
{
    return module && name ? dlsym(module, name) : nullptr;
}

BOOL FreeLibrary(HMODULE module)
{
    return module && dlclose(module) == 0 ? 1 : 0;
}

}  // namespace win
