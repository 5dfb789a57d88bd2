#include "JoinCheck.h"

#include "Mp3TestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <numbers>

#include <unistd.h>

namespace mp3test {

namespace {

std::string Quote(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

// Runs `command`; its standard output comes back, its standard error goes to `errors`.
std::string Run(const std::string& command, std::string& errors)
{
    std::filesystem::path err = std::filesystem::temp_directory_path() / ("kolvex_join_check_" + std::to_string(getpid()));
    std::string out;
    if (FILE* pipe = popen((command + " 2>" + Quote(err)).c_str(), "r")) {
        char buffer[65536];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, got);
        pclose(pipe);
    }
    std::ifstream in(err);
    errors.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    std::filesystem::remove(err);
    return out;
}

std::uint16_t Crc16(const std::uint8_t* data, std::size_t size)
{
    std::uint16_t crc = 0;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
    }
    return crc;
}

std::uint32_t BigEndian(const std::uint8_t* p, int bytes)
{
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | p[i];
    return value;
}

}  // namespace

StrictDecode DecodeStrictly(const std::filesystem::path& mp3)
{
    StrictDecode decode;
    std::string ignored;
    std::string info = Run("ffprobe -v error -show_entries stream=channels -of csv=p=0 " + Quote(mp3), ignored);
    decode.channels = std::atoi(info.c_str());
    std::string raw = Run("ffmpeg -nostdin -v warning -i " + Quote(mp3) + " -f f32le -", decode.ffmpegSays);
    decode.samples.resize(raw.size() / sizeof(float));
    std::memcpy(decode.samples.data(), raw.data(), decode.samples.size() * sizeof(float));
    std::string pcm = Run("mpg123 -q -s " + Quote(mp3), decode.mpg123Says);
    decode.mpg123Frames = decode.channels > 0 ? pcm.size() / (2u * static_cast<unsigned>(decode.channels)) : 0;
    return decode;
}

std::vector<double> ResidualLevels(const std::vector<float>& interleaved, int channels, double hz, int rate)
{
    const std::size_t frames = interleaved.size() / static_cast<std::size_t>(channels);
    const std::size_t windows = frames / 1152;
    std::vector<double> levels(windows, -400.0);
    for (int channel = 0; channel < channels; ++channel) {
        // Least squares over sin, cos and 1: the normal equations are 3 x 3.
        double m[3][4] = {};
        auto basis = [&](std::size_t i, double b[3]) {
            double phase = 2 * std::numbers::pi * hz * static_cast<double>(i) / rate;
            b[0] = std::sin(phase);
            b[1] = std::cos(phase);
            b[2] = 1;
        };
        for (std::size_t i = 0; i < frames; ++i) {
            double b[3];
            basis(i, b);
            double y = interleaved[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(channel)];
            for (int r = 0; r < 3; ++r) {
                for (int c = 0; c < 3; ++c)
                    m[r][c] += b[r] * b[c];
                m[r][3] += b[r] * y;
            }
        }
        for (int p = 0; p < 3; ++p) {
            for (int r = 0; r < 3; ++r) {
                if (r == p)
                    continue;
                double f = m[r][p] / m[p][p];
                for (int c = 0; c < 4; ++c)
                    m[r][c] -= f * m[p][c];
            }
        }
        double fit[3] = {m[0][3] / m[0][0], m[1][3] / m[1][1], m[2][3] / m[2][2]};
        for (std::size_t w = 0; w < windows; ++w) {
            double energy = 0;
            for (std::size_t i = w * 1152; i < (w + 1) * 1152; ++i) {
                double b[3];
                basis(i, b);
                double r = interleaved[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(channel)] -
                           (fit[0] * b[0] + fit[1] * b[1] + fit[2] * b[2]);
                energy += r * r;
            }
            levels[w] = std::max(levels[w], 10 * std::log10(energy / 1152 + 1e-30));
        }
    }
    return levels;
}

InfoTag ReadInfoTag(const std::filesystem::path& mp3)
{
    std::ifstream in(mp3, std::ios::binary);
    std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    InfoTag tag;
    FrameScan scan = ScanFrames(mp3);
    if (scan.frames.empty() || file.size() < 200)
        return tag;
    auto first = std::search(file.begin(), file.begin() + 64, std::begin("Info"), std::end("Info") - 1);
    if (first == file.begin() + 64)
        first = std::search(file.begin(), file.begin() + 64, std::begin("Xing"), std::end("Xing") - 1);
    if (first == file.begin() + 64)
        return tag;
    auto x = static_cast<std::size_t>(first - file.begin());
    if (BigEndian(&file[x + 4], 4) != 15)  // frames, bytes, seek table and quality
        return tag;
    tag.found = true;
    tag.frames = BigEndian(&file[x + 8], 4);
    tag.bytes = BigEndian(&file[x + 12], 4);
    std::size_t lame = x + 120;
    std::uint32_t delayPadding = BigEndian(&file[lame + 21], 3);
    tag.delay = static_cast<int>(delayPadding >> 12);
    tag.padding = static_cast<int>(delayPadding & 0xFFF);
    tag.musicLength = BigEndian(&file[lame + 28], 4);
    tag.musicCrc = static_cast<std::uint16_t>(BigEndian(&file[lame + 32], 2));
    tag.tagCrc = static_cast<std::uint16_t>(BigEndian(&file[lame + 34], 2));

    auto infoLength = static_cast<std::size_t>(scan.frames[0].length);
    tag.actualFrames = static_cast<std::uint32_t>(scan.frames.size() - 1);
    tag.actualBytes = static_cast<std::uint32_t>(file.size());
    tag.actualMusicCrc = Crc16(file.data() + infoLength, file.size() - infoLength);
    tag.actualTagCrc = Crc16(file.data(), lame + 34);
    return tag;
}

}  // namespace mp3test
