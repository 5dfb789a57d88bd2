// Drives the decoder interface the way the engine does and writes down
// everything a caller can observe: the open result, each call's result code
// and block count, and the PCM.
#pragma once

#include "modules/apesdk/ApeDecompress.h"

#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

namespace testing_support {

struct DecodeTrace {
    int openError = -1;
    std::vector<std::pair<int, int>> calls;  // (blocks retrieved, result code)
    std::vector<unsigned char> pcm;

    bool operator==(const DecodeTrace&) const = default;
};

// Opens `path` with `threads` row threads.
std::unique_ptr<IAPEDecompress> OpenDecoder(const std::filesystem::path& path, int threads, int* error = nullptr);

// Reads up to `blocks` blocks (all when negative) in calls of `chunk`
// blocks, appending to `trace`; stops at the first call that gives none.
void ReadBlocks(IAPEDecompress& decoder, int chunk, std::int64_t blocks, DecodeTrace& trace);

// Opens, seeks to `start` unless it is 0 and reads up to `blocks` blocks.
DecodeTrace Decode(const std::filesystem::path& path, int threads, int chunk, std::int64_t start = 0,
                   std::int64_t blocks = -1);

// Every APE file of the fixtures and of the shared real-world data.
std::vector<std::filesystem::path> AllApeFiles();

}  // namespace testing_support
