// Reads pieces of a file at given offsets, each piece no larger than the
// caller allows: a length field in a hostile file can claim gigabytes, and
// nothing here may allocate more than the piece it really needs.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class BoundedFile {
public:
    explicit BoundedFile(const std::wstring& path);
    ~BoundedFile();
    BoundedFile(const BoundedFile&) = delete;
    BoundedFile& operator=(const BoundedFile&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    std::int64_t Size() const { return size_; }
    // Exactly `count` bytes from `offset`, or false (past the end, or
    // `count` above `limit`).
    bool Read(std::int64_t offset, std::size_t count, std::vector<unsigned char>& out,
              std::size_t limit = 1u << 20);

private:
    FILE* file_ = nullptr;
    std::int64_t size_ = 0;
};

inline std::uint32_t BigEndian32(const unsigned char* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}
inline std::uint32_t LittleEndian32(const unsigned char* p)
{
    return std::uint32_t(p[3]) << 24 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
}
inline std::uint64_t BigEndian64(const unsigned char* p)
{
    return std::uint64_t(BigEndian32(p)) << 32 | BigEndian32(p + 4);
}
