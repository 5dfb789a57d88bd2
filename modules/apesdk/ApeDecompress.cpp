// The decoder interface as programs link it: the decoder itself, on FFmpeg,
// is a module that is loaded the first time a file is opened, so that a
// program that never decodes (or not yet: the desktop program painting its
// window) never loads FFmpeg and the libraries it pulls in.
#include "modules/apesdk/ApeDecompress.h"

#include "modules/apesdk/ApeDecoderModule.h"
#include "platform/core/Module.h"
#include "platform/core/RegularFile.h"
#include "platform/core/Strings.h"

#include <dlfcn.h>
#include <mutex>

namespace {

std::mutex g_moduleLock;
OpenApeDecoderFn g_open = nullptr;

// The module's entry, loading it when it is not loaded yet; null with the
// reason in `why` when it cannot be loaded. A failed load is tried again
// next time, so a repaired installation works without a restart. Once
// loaded, the module stays for the life of the process: its decoders may
// be anywhere.
OpenApeDecoderFn DecoderEntry(std::wstring* why)
{
    std::lock_guard lock(g_moduleLock);
    if (g_open)
        return g_open;
    dlerror();
    win::HMODULE module = win::LoadLibrary(kApeDecoderModule);
    if (!module) {
        const char* error = dlerror();
        if (why)
            *why = L"the Monkey's Audio decoder module (" + std::wstring(kApeDecoderModule) +
                   L".so) cannot be loaded: " + (error ? win::FromUtf8(error) : L"not found");
        return nullptr;
    }
    g_open = reinterpret_cast<OpenApeDecoderFn>(win::GetProcAddress(module, kApeDecoderEntry));
    if (!g_open) {
        win::FreeLibrary(module);
        if (why)
            *why = L"the Monkey's Audio decoder module (" + std::wstring(kApeDecoderModule) +
                   L".so) is not the one this program was built with";
    }
    return g_open;
}

}  // namespace

bool LoadApeDecoder(std::wstring* why)
{
    return DecoderEntry(why) != nullptr;
}

IAPEDecompress* CreateIAPEDecompress(const wchar_t* path, int* errorCode)
{
    int code = ERROR_BAD_PARAMETER;
    IAPEDecompress* decoder = nullptr;
    if (path && *path) {
        // The library would wait forever in its open for a FIFO's writer.
        if (!win::RegularFileProblem(path).empty())
            code = ERROR_IO_READ;
        else if (OpenApeDecoderFn open = DecoderEntry(nullptr))
            decoder = open(win::ToUtf8(path).c_str(), &code);
        else
            code = ERROR_DECODER_MISSING;
    }
    if (errorCode)
        *errorCode = code;
    return decoder;
}
