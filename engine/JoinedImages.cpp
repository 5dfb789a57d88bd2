#include "engine/JoinedImages.h"

#include "modules/apesdk/StreamInfo.h"
#include "platform/core/PathParts.h"

#include <cstring>

std::unique_ptr<JoinedImages> JoinedImages::Open(const std::vector<Image>& images, std::wstring& why)
{
    auto joined = std::unique_ptr<JoinedImages>(new JoinedImages);
    for (const Image& image : images) {
        const std::wstring& path = image.path;
        int error = 0;
        std::wstring reason;
        Part part;
        part.decoder.reset(OpenImageDecoder(path, image.raw, error, reason));
        if (!part.decoder) {
            why = std::wstring(FileNameOf(path)) + L": " + reason;
            return nullptr;
        }
        WAVEFORMATEX format{};
        part.decoder->GetInfo(APE_INFO_WAVEFORMATEX, reinterpret_cast<std::intptr_t>(&format));
        if (joined->parts_.empty()) {
            joined->format_ = format;
            joined->blockAlign_ = static_cast<int>(part.decoder->GetInfo(APE_INFO_BLOCK_ALIGN));
        } else if (format.nSamplesPerSec != joined->format_.nSamplesPerSec ||
                   format.wBitsPerSample != joined->format_.wBitsPerSample ||
                   format.nChannels != joined->format_.nChannels) {
            why = L"the sheet's files differ in rate, width or channels (" + std::wstring(FileNameOf(path)) +
                  L"), so they cannot be joined into one file";
            return nullptr;
        }
        part.first = joined->total_;
        part.blocks = static_cast<std::int64_t>(part.decoder->GetInfo(APE_DECOMPRESS_TOTAL_BLOCKS));
        joined->total_ += part.blocks;
        joined->parts_.push_back(std::move(part));
    }
    if (joined->parts_.empty() || joined->blockAlign_ <= 0) {
        why = L"the sheet names no audio file";
        return nullptr;
    }
    return joined;
}

int JoinedImages::GetData(unsigned char* buffer, int blocks, int* retrieved)
{
    int got = 0;
    while (got < blocks && current_ < parts_.size()) {
        Part& part = parts_[current_];
        int piece = 0;
        int error = part.decoder->GetData(buffer + static_cast<std::size_t>(got) * blockAlign_, blocks - got, &piece);
        if (error != ERROR_SUCCESS && error_ == ERROR_SUCCESS)
            error_ = error;
        got += piece;
        position_ += piece;
        // A part that gives no more is over, whether it ended early or not:
        // the next one goes on from its own first block.
        if (piece == 0 || position_ >= part.first + part.blocks) {
            if (position_ < part.first + part.blocks && error_ == ERROR_SUCCESS)
                error_ = ERROR_IO_READ;  // it promised more than it gave
            if (++current_ < parts_.size()) {
                parts_[current_].decoder->Seek(0);
                position_ = parts_[current_].first;
            }
        }
    }
    if (retrieved)
        *retrieved = got;
    return error_;
}

int JoinedImages::Seek(std::int64_t block)
{
    if (block < 0 || block > total_)
        return ERROR_BAD_PARAMETER;
    current_ = 0;
    while (current_ + 1 < parts_.size() && block >= parts_[current_].first + parts_[current_].blocks)
        ++current_;
    position_ = block;
    return parts_[current_].decoder->Seek(block - parts_[current_].first);
}

std::intptr_t JoinedImages::GetInfo(APE_DECOMPRESS_FIELDS field, std::intptr_t param1, std::intptr_t)
{
    if (field == SOURCE_INFO_LOSSY_PART) {
        for (Part& part : parts_)
            if (part.decoder->GetInfo(field))
                return 1;
        return 0;
    }
    return StreamInfo{format_, blockAlign_, total_, position_}.Answer(field, param1);
}
