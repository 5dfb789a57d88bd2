// Several images of one sheet decoded as one stream, in the sheet's order:
// what converting a sheet with several FILE entries whole gives. They must
// agree in rate, width and channels; the blocks of each follow the last
// block of the one before, so nothing of any image is lost or doubled.
#pragma once

#include "engine/ImageDecoder.h"
#include "modules/apesdk/ApeDecompress.h"

#include <memory>
#include <string>
#include <vector>

class JoinedImages : public IAPEDecompress {
public:
    // Null, with the reason in `why`, when a part is missing, or when the
    // parts differ in rate, width or channels.
    struct Image {
        std::wstring path;
        RawImage raw = RawImage::None;
    };
    static std::unique_ptr<JoinedImages> Open(const std::vector<Image>& images, std::wstring& why);

    int GetData(unsigned char* buffer, int blocks, int* retrieved) override;
    int Seek(std::int64_t block) override;
    std::intptr_t GetInfo(APE_DECOMPRESS_FIELDS field, std::intptr_t param1 = 0, std::intptr_t param2 = 0) override;

private:
    struct Part {
        std::unique_ptr<IAPEDecompress> decoder;
        std::int64_t first = 0;   // the part's first block in the joined stream
        std::int64_t blocks = 0;
    };

    std::vector<Part> parts_;
    WAVEFORMATEX format_{};
    int blockAlign_ = 0;
    std::int64_t total_ = 0;
    std::size_t current_ = 0;  // the part the next GetData reads from
    std::int64_t position_ = 0;
    int error_ = ERROR_SUCCESS;
};
