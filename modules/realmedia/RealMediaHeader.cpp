#include "modules/realmedia/RealMediaHeader.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr std::uint32_t kHeaderSize = 10;      // id, size, version
constexpr std::uint32_t kPropBodySize = 40;    // version 0 layout
constexpr std::uint32_t kDurationOffset = 20;  // within the PROP body
constexpr int kMaxChunks = 256;

struct ChunkHeader {
    char id[4];
    std::uint32_t size;
    std::uint16_t version;
};

std::uint32_t BigEndian32(const unsigned char* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

bool ReadAt(FILE* file, std::uint64_t offset, unsigned char* out, std::size_t size)
{
    return std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0 &&
           std::fread(out, 1, size, file) == size;
}

bool ReadChunkHeader(FILE* file, std::uint64_t offset, ChunkHeader& header)
{
    unsigned char bytes[kHeaderSize];
    if (!ReadAt(file, offset, bytes, sizeof bytes))
        return false;
    std::memcpy(header.id, bytes, 4);
    header.size = BigEndian32(bytes + 4);
    header.version = static_cast<std::uint16_t>((bytes[8] << 8) | bytes[9]);
    return true;
}

bool Is(const ChunkHeader& header, const char* id) { return std::memcmp(header.id, id, 4) == 0; }

}  // namespace

std::optional<std::uint32_t> ReadRealMediaLength(const std::string& path)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0)
        return std::nullopt;
    long end = std::ftell(file.get());
    if (end < 0)
        return std::nullopt;
    auto fileSize = static_cast<std::uint64_t>(end);

    ChunkHeader header;
    if (!ReadChunkHeader(file.get(), 0, header) || !Is(header, ".RMF") || header.size < kHeaderSize)
        return std::nullopt;
    std::uint64_t offset = header.size;
    for (int i = 0; i < kMaxChunks && offset + kHeaderSize <= fileSize; ++i) {
        if (!ReadChunkHeader(file.get(), offset, header) || header.size < kHeaderSize ||
            offset + header.size > fileSize)
            return std::nullopt;
        if (Is(header, "PROP")) {
            if (header.version != 0 || header.size < kHeaderSize + kPropBodySize)
                return std::nullopt;
            unsigned char duration[4];
            if (!ReadAt(file.get(), offset + kHeaderSize + kDurationOffset, duration, sizeof duration))
                return std::nullopt;
            return BigEndian32(duration);
        }
        // The properties come before the media data; past it there is none.
        if (Is(header, "DATA"))
            return std::nullopt;
        offset += header.size;
    }
    return std::nullopt;
}
