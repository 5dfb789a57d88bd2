#include "engine/WavWriter.h"

#include "platform/core/Files.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

void PutLe(unsigned char* at, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        at[i] = static_cast<unsigned char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

WavWriter::WavWriter(const std::wstring& path, int skipHeader) : skipHeader_(skipHeader)
{
    file_ = win::_wfopen(path.c_str(), L"w+b");
    created_ = file_ != nullptr;
    if (file_ && skipHeader_ == 0) {
        const unsigned char zeros[kHeaderBytes] = {};
        Put(zeros, sizeof zeros);
    }
}

WavWriter::~WavWriter() { CloseFile(); }

bool WavWriter::Put(const void* data, std::size_t bytes)
{
    if (bytes && std::fwrite(data, 1, bytes, file_) != bytes)
        failed_ = true;
    return !failed_;
}

int WavWriter::Write(const unsigned char* data, std::size_t bytes)
{
    if (!file_)
        return 0;
    if (format_.nChannels != 1) {
        Put(data, bytes);
        return 1;
    }
    // Mono: each frame twice, left and right, whatever the sample width.
    std::size_t align = format_.nBlockAlign;
    if (align == 0 || bytes % align != 0) {
        failed_ = true;  // a torn frame would shift every later sample
        return 1;
    }
    std::size_t count = bytes / align;
    std::vector<unsigned char> doubled(count * align * 2);
    unsigned char* out = doubled.data();
    for (std::size_t i = 0; i < count; ++i, data += align) {
        std::memcpy(out, data, align);
        std::memcpy(out + align, data, align);
        out += 2 * align;
    }
    Put(doubled.data(), doubled.size());
    return 1;
}

int WavWriter::WriteHeader()
{
    if (!file_)
        return 0;
    long length = std::ftell(file_);
    if (length < 0) {
        failed_ = true;
        return 0;
    }
    WAVEFORMATEX format = format_;
    if (format.nChannels == 1) {
        format.nChannels = 2;
        format.nBlockAlign = static_cast<std::uint16_t>(format.nBlockAlign * 2);
        format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    }
    // Sizes past 4 GiB cannot be told in RIFF; readers that know take the
    // largest value as "up to the end of the file".
    auto size = [](long v) { return static_cast<std::uint32_t>(std::min<long>(v, 0xFFFFFFFFL)); };

    unsigned char riff[20];
    std::memcpy(riff, "RIFF", 4);
    PutLe(riff + 4, size(length - 8), 4);
    std::memcpy(riff + 8, "WAVEfmt ", 8);
    PutLe(riff + 16, 18, 4);
    unsigned char fmt[18];
    PutLe(fmt, format.wFormatTag, 2);
    PutLe(fmt + 2, format.nChannels, 2);
    PutLe(fmt + 4, format.nSamplesPerSec, 4);
    PutLe(fmt + 8, format.nAvgBytesPerSec, 4);
    PutLe(fmt + 12, format.nBlockAlign, 2);
    PutLe(fmt + 14, format.wBitsPerSample, 2);
    PutLe(fmt + 16, format.cbSize, 2);
    unsigned char data[8];
    std::memcpy(data, "data", 4);
    PutLe(data + 4, size(length - kHeaderBytes), 4);

    if (std::fseek(file_, 0, SEEK_SET) != 0) {
        failed_ = true;
        return 0;
    }
    Put(riff, sizeof riff);
    Put(fmt, sizeof fmt);
    Put(data, sizeof data);
    return failed_ ? 0 : 1;
}

int WavWriter::CloseFile()
{
    if (!file_)
        return 0;
    if (std::fclose(file_) != 0)
        failed_ = true;
    file_ = nullptr;
    return 1;
}
