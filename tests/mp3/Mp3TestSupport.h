// Checking MP3 output from the outside: synthetic PCM, an encode through
// Mp3Sink, an independent decoder, frame headers and spectra.
#pragma once

#include "settings/ConversionSettings.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace mp3test {

struct Pcm {
    int channels = 2;
    int rate = 44100;
    int bits = 16;
    std::vector<std::uint8_t> bytes;

    int Frames() const { return static_cast<int>(bytes.size()) / (channels * bits / 8); }
    std::vector<std::uint8_t> WaveFormat() const;  // 18-byte WAVEFORMATEX
};

// Sines (full scale 1.0), the same in every channel.
Pcm Tones(const std::vector<double>& hz, double amplitude, int frames, int rate = 44100, int channels = 2,
          int bits = 16);

// A folder of its own for one test.
class Workspace {
public:
    Workspace();
    ~Workspace();
    std::filesystem::path Dir() const { return dir_; }
    std::wstring Path(const std::string& name) const;
    // What Encode hands the encoder from now on (the built-in defaults
    // until then).
    void WriteSettings(const ConversionSettings& settings) const;

private:
    std::filesystem::path dir_;
};

// Load, init defaults, open, encode in decoder-sized chunks (or chunks of
// `chunkBytes`), finish: the worker's order. Open's result when it failed,
// else Finish's.
std::int32_t Encode(const Pcm& pcm, const std::wstring& path, std::size_t chunkBytes = 0);
// The settings Encode uses, as the last WriteSettings left them.
const ConversionSettings& EncodeSettings();

// Interleaved samples as ffmpeg decodes the file; empty on failure.
std::vector<float> DecodeWithFfmpeg(const std::filesystem::path& mp3, int& channels, int& rate);

struct FrameHeader {
    int bitRate = 0;  // kbit/s
    int sampleRate = 0;
    bool crc = false;
    bool copyright = false;
    bool original = false;
    int length = 0;  // bytes
};

struct FrameScan {
    std::vector<FrameHeader> frames;
    std::string infoTag;     // "Xing" or "Info" when the first frame is one
    bool wholeFile = false;  // the frames tile the file exactly
};
FrameScan ScanFrames(const std::filesystem::path& mp3);

// dB of a Blackman-Harris-windowed block of one channel (0 dB = a
// full-scale sine on a bin).
std::vector<double> SpectrumDb(const std::vector<float>& interleaved, int channels, int channel,
                               std::size_t start, std::size_t size);

}  // namespace mp3test
