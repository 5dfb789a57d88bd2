#include "Mp3TestSupport.h"

#include "engine/Mp3Sink.h"
#include "platform/Strings.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsPath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <numbers>

namespace mp3test {

std::vector<std::uint8_t> Pcm::WaveFormat() const
{
    std::vector<std::uint8_t> f(18, 0);
    auto put16 = [&](int at, unsigned v) { f[at] = v & 0xFF; f[at + 1] = (v >> 8) & 0xFF; };
    auto put32 = [&](int at, unsigned v) { put16(at, v & 0xFFFF); put16(at + 2, v >> 16); };
    int block = channels * bits / 8;
    put16(0, 1);
    put16(2, static_cast<unsigned>(channels));
    put32(4, static_cast<unsigned>(rate));
    put32(8, static_cast<unsigned>(rate * block));
    put16(12, static_cast<unsigned>(block));
    put16(14, static_cast<unsigned>(bits));
    return f;
}

Pcm Tones(const std::vector<double>& hz, const std::vector<double>& amplitude, int frames, int rate,
          int channels, int bits)
{
    Pcm pcm;
    pcm.channels = channels;
    pcm.rate = rate;
    pcm.bits = bits;
    int bytes = bits / 8;
    double scale = std::ldexp(1.0, bits - 1) - 1.0;
    for (int i = 0; i < frames; ++i) {
        double v = 0;
        for (std::size_t t = 0; t < hz.size(); ++t)
            v += amplitude[t] * std::sin(2 * std::numbers::pi * hz[t] * i / rate);
        auto sample = static_cast<std::int64_t>(std::lround(v * scale));
        if (bits == 8)
            sample += 128;
        for (int c = 0; c < channels; ++c) {
            for (int b = 0; b < bytes; ++b)
                pcm.bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(sample) >> (8 * b)));
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
    SetSettingsPath(SettingsFile());
}

Workspace::~Workspace()
{
    SetSettingsPath(L"");
    std::filesystem::remove_all(dir_);
}

std::wstring Workspace::Path(const std::string& name) const
{
    return win::FromUtf8((dir_ / name).string());
}

void Workspace::WriteSettings(const ConversionSettings& settings) const
{
    ASSERT_EQ(SettingsFile::Write(SettingsFile(), settings), 1);
}

std::int32_t Encode(const Pcm& pcm, const std::wstring& path)
{
    Mp3Sink sink;
    if (!sink.Load(L"lame_enc"))
        return -1;
    sink.InitDefaults();
    auto format = pcm.WaveFormat();
    std::int32_t opened = sink.Open(format.data(), path);
    // Chunks of 1024 blocks and a ragged last one, as a decoder delivers them.
    std::size_t chunk = static_cast<std::size_t>(1024 * pcm.channels * pcm.bits / 8);
    for (std::size_t at = 0; at < pcm.bytes.size(); at += chunk) {
        std::size_t n = std::min(chunk, pcm.bytes.size() - at);
        sink.Encode(pcm.bytes.data() + at, static_cast<int>(n));
    }
    std::int32_t finished = sink.Finish();
    return opened < 0 ? opened : finished;
}

bool HaveTool(const char* name)
{
    std::string command = std::string("command -v ") + name + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

namespace {

std::string Capture(const std::string& command)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, got);
    pclose(pipe);
    return out;
}

}  // namespace

std::vector<float> DecodeWithFfmpeg(const std::filesystem::path& mp3, int& channels, int& rate)
{
    std::string quoted = "'" + mp3.string() + "'";
    std::string info = Capture("ffprobe -v error -select_streams a:0 -show_entries stream=channels,sample_rate "
                               "-of default=nw=1:nk=1 " + quoted);
    if (std::sscanf(info.c_str(), "%d %d", &rate, &channels) != 2)
        return {};
    std::string raw = Capture("ffmpeg -v error -i " + quoted + " -f f32le -");
    std::vector<float> samples(raw.size() / sizeof(float));
    std::memcpy(samples.data(), raw.data(), samples.size() * sizeof(float));
    return samples;
}

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

namespace {

bool ParseHeader(const std::uint8_t* p, FrameHeader& header)
{
    static const int kRatesV1[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, -1};
    static const int kRatesV2[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1};
    static const int kSampleRates[4][3] = {
        {11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0)
        return false;
    int version = (p[1] >> 3) & 3;
    int layer = (p[1] >> 1) & 3;
    int rateIndex = (p[2] >> 2) & 3;
    if (version == 1 || layer != 1 || rateIndex == 3)
        return false;
    header.bitRate = (version == 3 ? kRatesV1 : kRatesV2)[p[2] >> 4];
    header.sampleRate = kSampleRates[version][rateIndex];
    if (header.bitRate <= 0)
        return false;
    header.crc = (p[1] & 1) == 0;
    header.copyright = (p[3] >> 3) & 1;
    header.original = (p[3] >> 2) & 1;
    int padding = (p[2] >> 1) & 1;
    header.length = (version == 3 ? 144 : 72) * header.bitRate * 1000 / header.sampleRate + padding;
    return true;
}

}  // namespace

FrameScan ScanFrames(const std::vector<std::uint8_t>& file)
{
    FrameScan scan;
    std::size_t at = 0;
    FrameHeader header;
    while (at + 4 <= file.size() && ParseHeader(&file[at], header) && at + header.length <= file.size()) {
        if (scan.frames.empty()) {
            std::string first(file.begin(), file.begin() + std::min<std::size_t>(header.length, 64));
            for (const char* tag : {"Xing", "Info"}) {
                if (first.find(tag) != std::string::npos)
                    scan.infoTag = tag;
            }
        }
        scan.frames.push_back(header);
        at += header.length;
    }
    scan.wholeFile = at == file.size() && !scan.frames.empty();
    return scan;
}

namespace {

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
        std::complex<double> step = std::polar(1.0, -2 * std::numbers::pi / static_cast<double>(len));
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> w = 1;
            for (std::size_t k = 0; k < len / 2; ++k, w *= step) {
                auto u = a[i + k];
                auto v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
            }
        }
    }
}

}  // namespace

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
