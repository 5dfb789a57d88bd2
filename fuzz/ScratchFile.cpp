#include "fuzz/ScratchFile.h"

#include "platform/core/Strings.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fuzz {

namespace {

std::string MakeFolder()
{
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::getenv("TMPDIR");
    std::string pattern = std::string(base ? base : "/tmp") + "/kolvex-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("kolvex fuzz: cannot make a scratch folder");
        std::abort();
    }
    return pattern + "/";
}

struct Folder {
    std::string path = MakeFolder();
    ~Folder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

}  // namespace

const std::string& ScratchFolder()
{
    static Folder folder;
    return folder.path;
}

std::string WriteScratch(const std::string& name, const std::uint8_t* data, std::size_t size)
{
    std::string path = ScratchFolder() + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || (size > 0 && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) {
        std::perror("kolvex fuzz: cannot write a scratch file");
        std::abort();
    }
    return path;
}

std::wstring WidePath(const std::string& path) { return win::FromUtf8(path); }

}  // namespace fuzz
