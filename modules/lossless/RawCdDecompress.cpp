#include "modules/lossless/RawCdDecompress.h"
#include "modules/apesdk/StreamInfo.h"
#include "modules/lossless/RawCdImage.h"

#include "platform/core/Files.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

RawCdDecompress::RawCdDecompress(bool bigEndian) : bigEndian_(bigEndian)
{
    wave_.wFormatTag = WAVE_FORMAT_PCM;
    wave_.nChannels = kChannels;
    wave_.nSamplesPerSec = kRate;
    wave_.wBitsPerSample = 16;
    wave_.nBlockAlign = kBlockAlign;
    wave_.nAvgBytesPerSec = kRate * kBlockAlign;
}

RawCdDecompress::~RawCdDecompress()
{
    if (file_)
        std::fclose(file_);
}

int RawCdDecompress::Open(const std::wstring& path)
{
    file_ = win::_wfopen(path.c_str(), L"rb");
    if (!file_)
        return ERROR_INVALID_INPUT_FILE;
    if (fseeko(file_, 0, SEEK_END) != 0)
        return ERROR_IO_READ;
    off_t size = ftello(file_);
    if (size < 0 || fseeko(file_, 0, SEEK_SET) != 0)
        return ERROR_IO_READ;
    // A byte or three past the last whole sample is no sound: ripped images
    // are whole sectors, and anything after them cannot be played.
    totalBlocks_ = static_cast<std::int64_t>(size) / kBlockAlign;
    return totalBlocks_ > 0 ? ERROR_SUCCESS : ERROR_INVALID_INPUT_FILE;
}

int RawCdDecompress::GetData(unsigned char* buffer, int blocks, int* retrieved)
{
    if (retrieved)
        *retrieved = 0;
    if (!buffer || blocks < 0 || !retrieved)
        return ERROR_BAD_PARAMETER;
    std::int64_t want = std::min<std::int64_t>(blocks, totalBlocks_ - currentBlock_);
    std::size_t got = want > 0 ? std::fread(buffer, kBlockAlign, static_cast<std::size_t>(want), file_) : 0;
    if (static_cast<std::int64_t>(got) < want && error_ == ERROR_SUCCESS)
        error_ = ERROR_IO_READ;  // the file shrank or the disk failed under us
    if (bigEndian_)
        for (std::size_t i = 0; i < got * kBlockAlign; i += 2)
            std::swap(buffer[i], buffer[i + 1]);
    currentBlock_ += static_cast<std::int64_t>(got);
    *retrieved = static_cast<int>(got);
    return error_;
}

int RawCdDecompress::Seek(std::int64_t block)
{
    if (block < 0)
        return ERROR_BAD_PARAMETER;
    block = std::min(block, totalBlocks_);
    if (fseeko(file_, static_cast<off_t>(block * kBlockAlign), SEEK_SET) != 0)
        return ERROR_IO_READ;
    currentBlock_ = block;
    return ERROR_SUCCESS;
}

std::intptr_t RawCdDecompress::GetInfo(APE_DECOMPRESS_FIELDS field, std::intptr_t param1, std::intptr_t)
{
    return StreamInfo{wave_, kBlockAlign, totalBlocks_, currentBlock_}.Answer(field, param1);
}

IAPEDecompress* CreateRawCdDecompress(const wchar_t* path, bool bigEndian, int* errorCode)
{
    int code = ERROR_BAD_PARAMETER;
    std::unique_ptr<RawCdDecompress> decoder;
    if (path && *path) {
        decoder = std::make_unique<RawCdDecompress>(bigEndian);
        code = decoder->Open(path);
        if (code != ERROR_SUCCESS)
            decoder.reset();
    }
    if (errorCode)
        *errorCode = code;
    return decoder.release();
}
