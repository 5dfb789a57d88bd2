// IAPEDecompress over a raw CD image (see RawCdImage.h): reads the file in
// place, swapping the bytes of big-endian images.
#pragma once

#include "modules/apesdk/ApeDecompress.h"

#include <cstdint>
#include <cstdio>
#include <string>

class RawCdDecompress : public IAPEDecompress {
public:
    static constexpr int kRate = 44100;
    static constexpr int kChannels = 2;
    static constexpr int kBlockAlign = 4;

    explicit RawCdDecompress(bool bigEndian);
    ~RawCdDecompress() override;
    RawCdDecompress(const RawCdDecompress&) = delete;
    RawCdDecompress& operator=(const RawCdDecompress&) = delete;

    int Open(const std::wstring& path);

    int GetData(unsigned char* buffer, int blocks, int* retrieved) override;
    int Seek(std::int64_t block) override;
    std::intptr_t GetInfo(APE_DECOMPRESS_FIELDS field, std::intptr_t param1, std::intptr_t param2) override;

private:

    bool bigEndian_;
    FILE* file_ = nullptr;
    WAVEFORMATEX wave_;
    std::int64_t totalBlocks_ = 0;
    std::int64_t currentBlock_ = 0;
    int error_ = ERROR_SUCCESS;
};
