// The decoder interface as programs link it: the decoders themselves, on
// FFmpeg, are modules that are loaded the first time a file of theirs is
// opened, so that a program that never decodes (or not yet: the desktop
// program painting its window) never loads FFmpeg and the libraries it
// pulls in.
#include "modules/apesdk/ApeDecompress.h"

#include "modules/apesdk/ApeDecoderModule.h"
#include "modules/lossless/LosslessDecoderModule.h"
#include "modules/lossless/SourceSniffer.h"
#include "platform/core/Module.h"
#include "platform/core/RegularFile.h"
#include "platform/core/Strings.h"

#include <dlfcn.h>
#include <mutex>

namespace {

// One decoder module: loaded on first use. A failed load is tried again
// next time, so a repaired installation works without a restart. Once
// loaded, a module stays for the life of the process: its decoders may be
// anywhere.
template <class Entry>
class DecoderModule {
public:
    DecoderModule(const wchar_t* name, const char* entry, const wchar_t* what)
        : name_(name), entry_(entry), what_(what)
    {
    }

    // Null with the reason in `why` when it cannot be loaded.
    Entry Get(std::wstring* why)
    {
        std::lock_guard lock(mutex_);
        if (open_)
            return open_;
        dlerror();
        win::HMODULE module = win::LoadLibrary(name_);
        if (!module) {
            const char* error = dlerror();
            if (why)
                *why = std::wstring(L"the ") + what_ + L" decoder module (" + name_ +
                       L".so) cannot be loaded: " + (error ? win::FromUtf8(error) : L"not found");
            return nullptr;
        }
        open_ = reinterpret_cast<Entry>(win::GetProcAddress(module, entry_));
        if (!open_) {
            win::FreeLibrary(module);
            if (why)
                *why = std::wstring(L"the ") + what_ + L" decoder module (" + name_ +
                       L".so) is not the one this program was built with";
        }
        return open_;
    }

private:
    const wchar_t* name_;
    const char* entry_;
    const wchar_t* what_;
    std::mutex mutex_;
    Entry open_ = nullptr;
};

DecoderModule<OpenApeDecoderFn> g_apeModule(kApeDecoderModule, kApeDecoderEntry, L"Monkey's Audio");
DecoderModule<OpenLosslessDecoderFn> g_losslessModule(kLosslessDecoderModule, kLosslessDecoderEntry,
                                                      L"lossless audio");

thread_local std::wstring t_openError;

IAPEDecompress* OpenApe(const std::string& utf8Path, int& code)
{
    OpenApeDecoderFn open = g_apeModule.Get(&t_openError);
    if (!open) {
        code = ERROR_DECODER_MISSING;
        return nullptr;
    }
    IAPEDecompress* decoder = open(utf8Path.c_str(), &code);
    if (!decoder)
        t_openError = L"not a readable Monkey's Audio file (error " + std::to_wstring(code) + L")";
    return decoder;
}

IAPEDecompress* OpenOther(const std::string& utf8Path, const char* demuxer, int& code)
{
    OpenLosslessDecoderFn open = g_losslessModule.Get(&t_openError);
    if (!open) {
        code = ERROR_DECODER_MISSING;
        return nullptr;
    }
    char reason[512] = {};
    IAPEDecompress* decoder = open(utf8Path.c_str(), demuxer, &code, reason, sizeof reason);
    if (!decoder)
        t_openError = win::FromUtf8(reason[0] ? reason : "not a readable sound file");
    return decoder;
}

bool NamedApe(const wchar_t* path)
{
    std::wstring_view name(path);
    return name.size() > 4 && win::CompareNoCase(name.substr(name.size() - 4), L".ape") == 0;
}

}  // namespace

bool LoadApeDecoder(std::wstring* why)
{
    return g_apeModule.Get(why) != nullptr;
}

const std::wstring& LastOpenError() { return t_openError; }

IAPEDecompress* CreateIAPEDecompress(const wchar_t* path, int* errorCode)
{
    int code = ERROR_BAD_PARAMETER;
    IAPEDecompress* decoder = nullptr;
    t_openError.clear();
    if (!path || !*path) {
        t_openError = L"no source file";
    } else if (std::string why = win::RegularFileProblem(path); !why.empty()) {
        // The library would wait forever in its open for a FIFO's writer.
        code = ERROR_IO_READ;
        t_openError = win::FromUtf8(why);
    } else {
        SourceKind kind = SniffFile(path);
        std::string utf8Path = win::ToUtf8(path);
        if (kind == SourceKind::Unreadable) {
            code = ERROR_INVALID_INPUT_FILE;
            t_openError = L"the file cannot be read, or is empty";
        } else if (kind == SourceKind::Ape || (kind == SourceKind::Unknown && NamedApe(path))) {
            // A Monkey's Audio file with junk in front of its header is
            // still one: its name is the hint.
            decoder = OpenApe(utf8Path, code);
        } else {
            decoder = OpenOther(utf8Path, DemuxerName(kind), code);
        }
    }
    if (errorCode)
        *errorCode = code;
    return decoder;
}
