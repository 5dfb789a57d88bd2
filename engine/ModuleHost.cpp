#include "engine/ModuleHost.h"

#include "platform/core/Module.h"

ModuleHost::~ModuleHost() { Unload(); }

void ModuleHost::Unload()
{
    if (module_) {
        win::FreeLibrary(module_);
        module_ = nullptr;
    }
}

int ModuleHost::LoadModule(const wchar_t* moduleName)
{
    Unload();
    module_ = win::LoadLibrary(moduleName);
    return module_ ? 1 : 0;
}

void* ModuleHost::Export(const char* name) const
{
    return win::GetProcAddress(module_, name);
}
