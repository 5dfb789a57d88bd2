#include "resample/TrailingChunks.h"

#include <cstring>

namespace ssrc {

namespace {

bool IsChunkTag(const unsigned char* tag)
{
    for (int i = 0; i < 4; ++i)
        if (tag[i] < 0x20 || tag[i] > 0x7E)
            return false;
    return true;
}

bool ReadAt(std::FILE* in, std::uint64_t at, unsigned char* to, std::size_t n)
{
    return fseeko(in, static_cast<off_t>(at), SEEK_SET) == 0 && std::fread(to, 1, n, in) == n;
}

}  // namespace

std::vector<unsigned char> ReadTrailingChunks(std::FILE* in, std::uint64_t samplesAt, std::uint32_t dataLength,
                                              std::size_t limit)
{
    std::vector<unsigned char> kept;
    std::uint64_t at = samplesAt + dataLength;
    unsigned char header[8];
    // Some writers leave out the pad byte after odd-length audio.
    if (dataLength % 2 == 1 && !(ReadAt(in, at, header, 8) && IsChunkTag(header)))
        ++at;
    while (ReadAt(in, at, header, 8) && IsChunkTag(header)) {
        if (std::memcmp(header, "data", 4) == 0 || std::memcmp(header, "fmt ", 4) == 0)
            break;
        std::uint32_t length = header[4] | header[5] << 8 | header[6] << 16 | std::uint32_t(header[7]) << 24;
        std::uint64_t stored = 8 + std::uint64_t(length) + (length & 1);
        // A fact chunk counts the old samples: it would be wrong after.
        if (std::memcmp(header, "fact", 4) == 0) {
            at += stored;
            continue;
        }
        if (kept.size() + stored > limit)
            break;
        std::size_t start = kept.size();
        kept.resize(start + stored, 0);
        std::size_t body = 8 + length;
        if (!ReadAt(in, at, kept.data() + start, body)) {
            kept.resize(start);
            break;
        }
        at += stored;
    }
    return kept;
}

}  // namespace ssrc
