// A profile ("INI") file read the ways the skin reads one: section names,
// the keys of each section, each value, into buffers of every size from a
// single character up, and values with %NAME% references expanded. The
// first byte of the input picks the small buffer's size; the rest is the
// file. Buffers are allocated at exactly their size, so a write past the
// end is caught.
#include "fuzz/ScratchFile.h"
#include "platform/core/Profile.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using win::DWORD;

// A list or value read into a buffer of `size` characters; checks that the
// answer stays inside it and ends in a NUL.
std::wstring Read(DWORD size, const wchar_t* section, const wchar_t* key, const std::wstring& file)
{
    std::vector<wchar_t> buffer(size, L'\x7777');
    DWORD n = win::GetPrivateProfileString(section, key, L"default ", buffer.data(), size, file.c_str());
    if (size > 0 && (n >= size || buffer[n] != L'\0'))
        std::abort();
    return size > 0 ? std::wstring(buffer.data(), n) : std::wstring();
}

std::vector<std::wstring> Split(const std::wstring& list)
{
    std::vector<std::wstring> items;
    for (std::size_t start = 0; start < list.size();) {
        std::size_t end = list.find(L'\0', start);
        if (end == std::wstring::npos)
            end = list.size();
        items.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return items;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("KOLVEX_FUZZ_SKIN", "/usr/share/kolvex/skin", 1);
    setenv("kolvex_fuzz_empty", "", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const DWORD small = data[0] % 40;
    // Room for any answer: no list or value is longer than the file, with a
    // NUL after each name.
    const DWORD large = static_cast<DWORD>(2 * size + 4);
    std::wstring file = fuzz::WidePath(fuzz::WriteScratch("skin.ini", data + 1, size - 1));

    Read(small, nullptr, nullptr, file);
    std::vector<wchar_t> names(small + 1);
    win::GetPrivateProfileSectionNames(names.data(), small + 1, file.c_str());
    int values = 0;
    for (const std::wstring& section : Split(Read(large, nullptr, nullptr, file))) {
        Read(small, section.c_str(), nullptr, file);
        for (const std::wstring& key : Split(Read(large, section.c_str(), nullptr, file))) {
            Read(small, section.c_str(), key.c_str(), file);
            std::wstring value = Read(large, section.c_str(), key.c_str(), file);
            std::vector<wchar_t> expanded(small);
            DWORD needed = win::ExpandEnvironmentStrings(value.c_str(), expanded.data(), small);
            if (needed == 0)
                std::abort();
            // Cost stays linear in the file: a few hundred values are plenty.
            if (++values > 256)
                return 0;
        }
    }
    return 0;
}
