#include "Mp3TestSupport.h"

#include "engine/Mp3Sink.h"
#include "platform/core/Strings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <numbers>

namespace mp3test {

std::vector<std::uint8_t> Pcm::WaveFormat() const
{
    int block = channels * bits / 8;
    std::uint32_t fields[] = {1, static_cast<std::uint32_t>(channels), static_cast<std::uint32_t>(rate),
                              static_cast<std::uint32_t>(rate * block), static_cast<std::uint32_t>(block),
                              static_cast<std::uint32_t>(bits), 0};
    int sizes[] = {2, 2, 4, 4, 2, 2, 2};
    std::vector<std::uint8_t> record;
    for (int i = 0; i < 7; ++i) {
        for (int b = 0; b < sizes[i]; ++b)
            record.push_back(static_cast<std::uint8_t>(fields[i] >> (8 * b)));
    }
    return record;
}

Pcm Tones(const std::vector<double>& hz, double amplitude, int frames, int rate, int channels, int bits)
{
    Pcm pcm{channels, rate, bits, {}};
    double scale = std::ldexp(1.0, bits - 1) - 1.0;
    for (int i = 0; i < frames; ++i) {
        double v = 0;
        for (double f : hz)
            v += amplitude * std::sin(2 * std::numbers::pi * f * i / rate);
        auto sample = static_cast<std::uint64_t>(std::llround(v * scale) + (bits == 8 ? 128 : 0));
        for (int c = 0; c < channels; ++c) {
            for (int b = 0; b < bits / 8; ++b)
                pcm.bytes.push_back(static_cast<std::uint8_t>(sample >> (8 * b)));
        }
    }
    return pcm;
}

Workspace::Workspace()
{
    auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           (std::string("kolvex_mp3_") + info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    WriteSettings(ConversionSettings());
}

Workspace::~Workspace() { std::filesystem::remove_all(dir_); }

std::wstring Workspace::Path(const std::string& name) const { return win::FromUtf8((dir_ / name).string()); }

namespace {
ConversionSettings g_encodeSettings;
}

const ConversionSettings& EncodeSettings() { return g_encodeSettings; }

// Written before the threads that encode start, read by them.
void Workspace::WriteSettings(const ConversionSettings& settings) const { g_encodeSettings = settings; }

std::int32_t Encode(const Pcm& pcm, const std::wstring& path, std::size_t chunkBytes)
{
    Mp3Sink sink;
    if (!sink.Load(L"lame_enc"))
        return -1;
    sink.InitDefaults();
    auto format = pcm.WaveFormat();
    std::int32_t opened = sink.Open(reinterpret_cast<const WAVEFORMATEX*>(format.data()), path, g_encodeSettings);
    std::size_t chunk = chunkBytes ? chunkBytes : static_cast<std::size_t>(1024 * pcm.channels * pcm.bits / 8);
    for (std::size_t at = 0; at < pcm.bytes.size(); at += chunk)
        sink.Encode(pcm.bytes.data() + at, static_cast<int>(std::min(chunk, pcm.bytes.size() - at)));
    std::int32_t finished = sink.Finish();
    return opened < 0 ? opened : finished;
}

namespace {

std::string Capture(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[65536];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, got);
        pclose(pipe);
    }
    return out;
}

bool ParseHeader(const std::uint8_t* p, FrameHeader& header, int& length)
{
    static const int kRates[2][16] = {{0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1},
                                      {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, -1}};
    static const int kSampleRates[4][3] = {{11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000},
                                           {44100, 48000, 32000}};
    int version = (p[1] >> 3) & 3;
    int rateIndex = (p[2] >> 2) & 3;
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0 || version == 1 || ((p[1] >> 1) & 3) != 1 || rateIndex == 3)
        return false;
    header.bitRate = kRates[version == 3][p[2] >> 4];
    header.sampleRate = kSampleRates[version][rateIndex];
    header.crc = (p[1] & 1) == 0;
    header.copyright = (p[3] >> 3) & 1;
    header.original = (p[3] >> 2) & 1;
    length = (version == 3 ? 144 : 72) * header.bitRate * 1000 / header.sampleRate + ((p[2] >> 1) & 1);
    header.length = length;
    return header.bitRate > 0;
}

void Fft(std::vector<std::complex<double>>& a)
{
    std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        auto step = std::polar(1.0, -2 * std::numbers::pi / static_cast<double>(len));
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> w = 1;
            for (std::size_t k = 0; k < len / 2; ++k, w *= step) {
                auto u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
            }
        }
    }
}

}  // namespace

std::vector<float> DecodeWithFfmpeg(const std::filesystem::path& mp3, int& channels, int& rate)
{
    std::string quoted = "'" + mp3.string() + "'";
    std::string info = Capture("ffprobe -v error -show_entries stream=channels,sample_rate -of default=nw=1:nk=1 " +
                               quoted);
    if (std::sscanf(info.c_str(), "%d %d", &rate, &channels) != 2)
        return {};
    std::string raw = Capture("ffmpeg -v error -i " + quoted + " -f f32le -");
    std::vector<float> samples(raw.size() / sizeof(float));
    std::memcpy(samples.data(), raw.data(), samples.size() * sizeof(float));
    return samples;
}

FrameScan ScanFrames(const std::filesystem::path& mp3)
{
    std::ifstream in(mp3, std::ios::binary);
    std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    FrameScan scan;
    std::size_t at = 0;
    FrameHeader header;
    int length = 0;
    while (at + 4 <= file.size() && ParseHeader(&file[at], header, length) && at + length <= file.size()) {
        if (scan.frames.empty()) {
            std::string first(file.begin(), file.begin() + std::min(length, 64));
            scan.infoTag = first.find("Xing") != std::string::npos   ? "Xing"
                           : first.find("Info") != std::string::npos ? "Info"
                                                                     : "";
        }
        scan.frames.push_back(header);
        at += static_cast<std::size_t>(length);
    }
    scan.wholeFile = at == file.size() && !scan.frames.empty();
    return scan;
}

std::vector<double> SpectrumDb(const std::vector<float>& interleaved, int channels, int channel,
                               std::size_t start, std::size_t size)
{
    std::vector<std::complex<double>> a(size);
    double gain = 0;
    for (std::size_t i = 0; i < size; ++i) {
        double x = 2 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(size);
        double w = 0.35875 - 0.48829 * std::cos(x) + 0.14128 * std::cos(2 * x) - 0.01168 * std::cos(3 * x);
        gain += w;
        a[i] = w * interleaved[(start + i) * static_cast<std::size_t>(channels) + static_cast<std::size_t>(channel)];
    }
    Fft(a);
    std::vector<double> db(size / 2);
    for (std::size_t k = 0; k < db.size(); ++k)
        db[k] = 20 * std::log10(std::max(2 * std::abs(a[k]) / gain, 1e-12));
    return db;
}

}  // namespace mp3test
