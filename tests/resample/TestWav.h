// Test helpers: WAV files of any layout, good or broken, in a scratch
// folder; signals; and the posted messages of a window on this thread.
#pragma once

#include "platform/core/Types.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace win::internal {
struct WindowHooks;
}

namespace test {

// A RIFF/WAVE file assembled field by field, so a test can break any of it.
struct WavLayout {
    std::string riffTag = "RIFF";
    std::string waveTag = "WAVEfmt ";
    int formatTag = 1;
    int channels = 2;
    int rate = 44100;
    int width = 2;                        // bytes per sample
    std::int64_t byteRateOverride = -1;   // -1: rate x channels x width
    std::int64_t formatLength = 16;       // extra bytes are zeros
    std::vector<std::pair<std::string, std::string>> chunksBeforeData;  // no pad bytes
    std::int64_t dataLengthOverride = -1; // -1: the real length
    std::vector<std::int32_t> samples;    // interleaved, in the width's integer range
};

std::vector<unsigned char> BuildWav(const WavLayout& layout);
void WriteFile(const std::filesystem::path& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> ReadFile(const std::filesystem::path& path);

// The samples and format of a PCM file, whatever its chunk layout.
struct PcmFile {
    int channels = 0;
    int rate = 0;
    int width = 0;
    std::vector<std::int32_t> samples;
};
PcmFile ReadPcm(const std::filesystem::path& path);

// Little-endian fields of raw bytes.
std::uint32_t U32(const std::vector<unsigned char>& bytes, std::size_t at);
std::uint16_t U16(const std::vector<unsigned char>& bytes, std::size_t at);

// A fresh folder removed with everything in it at the end of the test.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& Path() const { return path_; }
    std::vector<std::string> Names() const;

private:
    std::filesystem::path path_;
};

std::wstring Wide(const std::filesystem::path& path);

// amplitude x sin(2 pi f n / rate) as integers of `width` bytes.
std::vector<std::int32_t> Sine(double frequency, int rate, std::size_t frames, int channels,
                               double amplitude, int width);

// A tmpfile() holding `samples` at `width` bytes, rewound.
std::FILE* RawSamples(const std::vector<std::int32_t>& samples, int width);
// Everything written to `file` from its start, as signed integers.
std::vector<std::int32_t> ReadRaw(std::FILE* file, int width);

// Sets the threads one row may use for as long as it lives.
class RowThreads {
public:
    explicit RowThreads(int threads);
    ~RowThreads();
    RowThreads(const RowThreads&) = delete;
    RowThreads& operator=(const RowThreads&) = delete;

private:
    int saved_;
};

// Runs sox with `arguments`; false when it failed.
bool Sox(const std::string& arguments);

// A window handle on the calling thread that the resampler can post to; the
// messages are collected from the thread's queue. These programs link the
// message core alone, so the sink stands in for the window layer there:
// the handle names no real window, only the thread that owns it. One sink
// at a time.
class MessageSink {
public:
    MessageSink();
    ~MessageSink();
    MessageSink(const MessageSink&) = delete;
    MessageSink& operator=(const MessageSink&) = delete;
    win::HWND Window() const { return window_; }
    std::vector<win::MSG> Collect();

private:
    win::HWND window_;
    const win::internal::WindowHooks* previousHooks_;
};

}  // namespace test
