#include "engine/WavPcmReader.h"

#include "platform/core/Strings.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint16_t kExtensible = 0xFFFE;

std::uint32_t Le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24; }
std::uint16_t Le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

}  // namespace

WavPcmReader::~WavPcmReader()
{
    if (file_)
        std::fclose(file_);
}

bool WavPcmReader::ReadFormat(std::uint32_t size)
{
    unsigned char record[40] = {};
    if (size < 16 || std::fread(record, 1, std::min<std::size_t>(size, sizeof record), file_) !=
                         std::min<std::size_t>(size, sizeof record))
        return false;
    format_.wFormatTag = Le16(record);
    // An extensible record names its sample format in its sub-format GUID.
    if (format_.wFormatTag == kExtensible && size >= 26)
        format_.wFormatTag = Le16(record + 24);
    format_.nChannels = Le16(record + 2);
    format_.nSamplesPerSec = Le32(record + 4);
    format_.nAvgBytesPerSec = Le32(record + 8);
    format_.nBlockAlign = Le16(record + 12);
    format_.wBitsPerSample = Le16(record + 14);
    format_.cbSize = 0;
    long rest = static_cast<long>(size + (size & 1)) - static_cast<long>(std::min<std::size_t>(size, sizeof record));
    return format_.wFormatTag == WAVE_FORMAT_PCM && (rest == 0 || fseeko(file_, rest, SEEK_CUR) == 0);
}

bool WavPcmReader::Open(const std::wstring& path)
{
    file_ = std::fopen(win::ToUtf8(path).c_str(), "rb");
    unsigned char header[12];
    if (!file_ || std::fread(header, 1, 12, file_) != 12 || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "WAVE", 4) != 0)
        return false;
    bool haveFormat = false;
    unsigned char chunk[8];
    while (std::fread(chunk, 1, 8, file_) == 8) {
        std::uint32_t size = Le32(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (!ReadFormat(size))
                return false;
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            left_ = size;
            return haveFormat;
        } else if (fseeko(file_, static_cast<off_t>(size + (size & 1)), SEEK_CUR) != 0) {
            return false;
        }
    }
    return false;
}

std::size_t WavPcmReader::Read(unsigned char* buffer, std::size_t bytes)
{
    if (!file_ || failed_ || left_ == 0)
        return 0;
    std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(bytes, left_));
    std::size_t got = std::fread(buffer, 1, want, file_);
    left_ -= got;
    if (got < want)
        failed_ = true;
    return got;
}
