// Base of every source and sink: holds the outside module it loaded, if any,
// and releases it when it goes.
#pragma once

#include "platform/core/Types.h"

class ModuleHost {
public:
    ModuleHost() = default;
    ModuleHost(const ModuleHost&) = delete;
    ModuleHost& operator=(const ModuleHost&) = delete;
    virtual ~ModuleHost();

    // 1 when the host is ready to work (its module, if it needs one, is
    // loaded and complete), 0 otherwise.
    virtual int Load(const wchar_t* moduleName) = 0;
    void Unload();
    bool HasModule() const { return module_ != nullptr; }

protected:
    // Loads the named module and keeps it; 0 when it cannot be loaded.
    int LoadModule(const wchar_t* moduleName);
    // Loads the module, then lets `findExports` look up its entry points; a
    // module that lacks any of them is unloaded again (0).
    template <class FindExports>
    int LoadWithExports(const wchar_t* moduleName, FindExports&& findExports)
    {
        if (!LoadModule(moduleName))
            return 0;
        if (findExports())
            return 1;
        Unload();
        return 0;
    }
    // Looks an export up in the loaded module; null when missing.
    void* Export(const char* name) const;
    template <class Function>
    bool FindExport(Function& entry, const char* name) const
    {
        entry = reinterpret_cast<Function>(Export(name));
        return entry != nullptr;
    }

private:
    win::HMODULE module_ = nullptr;
};
