#include "engine/WavWriter.h"

#include "resample/WavHeader.h"

#include "platform/core/Files.h"

#include <algorithm>
#include <cstring>
#include <vector>

WavWriter::WavWriter(const std::wstring& path, bool replaceExisting)
{
    output_.SetReplaceExisting(replaceExisting);
    if (output_.Create(path))
        file_ = output_.Stream();
    created_ = file_ != nullptr;
    if (file_) {
        const unsigned char zeros[kHeaderBytes] = {};
        Put(zeros, sizeof zeros);
    }
}

WavWriter::~WavWriter() { Abandon(); }

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
    // The stored record keeps one channel for a mono source, so that later
    // writes still double; the header tells what the file holds.
    WavFormat header;
    header.formatTag = format_.wFormatTag;
    header.channels = format_.nChannels;
    header.samplesPerSec = format_.nSamplesPerSec;
    header.avgBytesPerSec = format_.nAvgBytesPerSec;
    header.blockAlign = format_.nBlockAlign;
    header.bitsPerSample = format_.wBitsPerSample;
    header.extraSize = format_.cbSize;
    header.recordBytes = 18;
    if (header.channels == 1) {
        header.channels = 2;
        header.blockAlign = static_cast<std::uint16_t>(header.blockAlign * 2);
        header.avgBytesPerSec = header.samplesPerSec * header.blockAlign;
    }
    if (!WriteWavHeader(file_, header, static_cast<std::uint64_t>(length)))
        failed_ = true;
    return failed_ ? 0 : 1;
}

int WavWriter::CloseFile(const std::function<std::wstring(win::OutputFile&)>& beforeCommit)
{
    if (!file_)
        return 0;
    file_ = nullptr;
    if (!failed_ && beforeCommit &&
        (std::fflush(output_.Stream()) != 0 || !beforeCommit(output_).empty()))
        failed_ = true;
    if (failed_)
        output_.Abandon();
    else if (!output_.Commit())
        failed_ = true;
    return 1;
}

void WavWriter::Abandon()
{
    if (file_)
        failed_ = true;
    file_ = nullptr;
    output_.Abandon();
}
