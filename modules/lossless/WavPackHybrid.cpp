#include "modules/lossless/WavPackHybrid.h"

#include <cstdio>
#include <cstring>

namespace {

// The block header: "wvpk", size, version, track and index bytes, the
// block's sample index and count, then its flags.
constexpr std::size_t kHeaderBytes = 32;
constexpr std::size_t kFlagsAt = 24;
constexpr unsigned kHybridFlag = 0x8;

}  // namespace

bool IsWavPackHybrid(const std::string& utf8Path)
{
    FILE* file = std::fopen(utf8Path.c_str(), "rb");
    if (!file)
        return false;
    unsigned char header[kHeaderBytes];
    std::size_t got = std::fread(header, 1, sizeof header, file);
    std::fclose(file);
    if (got != sizeof header || std::memcmp(header, "wvpk", 4) != 0)
        return false;
    return header[kFlagsAt] & kHybridFlag;
}
