#include "resample/WavHeader.h"

#include <cstring>

namespace ssrc {

namespace {

void PutU16(unsigned char* p, unsigned v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

void PutU32(unsigned char* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

bool WriteU32At(std::FILE* out, long offset, std::uint32_t v)
{
    unsigned char b[4];
    PutU32(b, v);
    return fseeko(out, offset, SEEK_SET) == 0 && std::fwrite(b, 1, 4, out) == 4;
}

}  // namespace

bool WriteOutputHeader(std::FILE* out, int channels)
{
    constexpr std::uint32_t rate = 44100;
    unsigned char h[kHeaderBytes] = {};
    std::memcpy(h, "RIFF", 4);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    PutU32(h + 16, 16);
    PutU16(h + 20, 1);
    PutU16(h + 22, channels);
    PutU32(h + 24, rate);
    PutU32(h + 28, rate * channels * 2);
    PutU16(h + 32, 2 * channels);
    PutU16(h + 34, 16);
    std::memcpy(h + 36, "data", 4);
    return std::fwrite(h, 1, kHeaderBytes, out) == kHeaderBytes;
}

bool FinishOutputHeader(std::FILE* out)
{
    if (std::fflush(out) != 0 || fseeko(out, 0, SEEK_END) != 0)
        return false;
    const long long length = ftello(out);
    if (length < kHeaderBytes || std::uint64_t(length) - 8 > kMaxWavBytes)
        return false;
    return WriteU32At(out, 4, static_cast<std::uint32_t>(length - 8)) &&
           WriteU32At(out, 40, static_cast<std::uint32_t>(length - 44)) && std::fflush(out) == 0;
}

}  // namespace ssrc
