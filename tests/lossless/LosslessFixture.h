// Sound files for the lossless sources' tests, made at test time: known
// PCM from sox, encoded by each format's own encoder, and what our decoder
// interface makes of them.
#pragma once

#include "modules/apesdk/ApeDecompress.h"
#include "tests/support/TestFiles.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace lossless_test {

namespace fs = std::filesystem;

struct Shape {
    int rate;
    int bits;
    int channels;
};

// The tools every test here needs; a test fails when one is missing.
inline constexpr const char* kTools = "sox ffmpeg flac metaflac wavpack wvunpack";
std::string MissingTools();

// Runs a shell command; false (with the command printed) when it fails.
bool RunTool(const std::string& command);
std::string Quote(const fs::path& path);

// A WAV file of `seconds` of noise and tones in `shape`, made by sox.
fs::path MakeWav(const fs::path& dir, const std::string& name, Shape shape, double seconds = 2.5);
// The bytes of the "data" chunk of a WAV file (whatever its format chunk).
std::vector<unsigned char> WavData(const fs::path& wav);

// Encodes `wav` beside it with the format's own tool; the new file's path.
fs::path Encode(const fs::path& wav, const std::string& format);

struct Decoder {
    std::unique_ptr<IAPEDecompress> decoder;
    int error = 0;
    std::wstring reason;
};
Decoder Open(const fs::path& path);
// Everything from the current position on, in chunks of `chunkBlocks`;
// the last GetData result in `error`.
std::vector<unsigned char> ReadAll(IAPEDecompress& decoder, int* error = nullptr, int chunkBlocks = 1024);
std::vector<unsigned char> Decode(const fs::path& path, int* error = nullptr);

}  // namespace lossless_test
