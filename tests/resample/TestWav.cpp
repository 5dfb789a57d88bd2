#include "TestWav.h"

#include "platform/core/Strings.h"
#include "platform/core/WorkThreads.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Thread.h"
#include "platform/messaging/WindowHooks.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <numbers>
#include <stdexcept>
#include <unistd.h>

namespace test {

namespace {

void Put(std::vector<unsigned char>& out, std::uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void PutText(std::vector<unsigned char>& out, const std::string& text)
{
    out.insert(out.end(), text.begin(), text.end());
}

std::int32_t SignExtend(std::uint32_t v, int width)
{
    if (width == 1)
        return std::int32_t(v) - 128;
    int shift = 32 - 8 * width;
    return std::int32_t(v << shift) >> shift;
}

}  // namespace

std::vector<unsigned char> BuildWav(const WavLayout& s)
{
    std::vector<unsigned char> data;
    for (std::int32_t v : s.samples)
        Put(data, s.width == 1 ? std::uint32_t(v + 128) : std::uint32_t(v), s.width);

    std::vector<unsigned char> out;
    PutText(out, s.riffTag);
    Put(out, 0, 4);  // patched below
    PutText(out, s.waveTag);
    Put(out, s.formatLength, 4);
    std::vector<unsigned char> fmt;
    Put(fmt, s.formatTag, 2);
    Put(fmt, s.channels, 2);
    Put(fmt, s.rate, 4);
    std::int64_t byteRate = s.byteRateOverride >= 0 ? s.byteRateOverride
                                                    : std::int64_t(s.rate) * s.channels * s.width;
    Put(fmt, byteRate, 4);
    Put(fmt, s.channels * s.width, 2);
    Put(fmt, 8 * s.width, 2);
    fmt.resize(std::max<std::size_t>(s.formatLength, 0), 0);
    out.insert(out.end(), fmt.begin(), fmt.begin() + std::min<std::size_t>(fmt.size(), s.formatLength));
    for (auto& [tag, body] : s.chunksBeforeData) {
        PutText(out, tag);
        Put(out, body.size(), 4);
        PutText(out, body);
    }
    PutText(out, "data");
    Put(out, s.dataLengthOverride >= 0 ? std::uint64_t(s.dataLengthOverride) : data.size(), 4);
    out.insert(out.end(), data.begin(), data.end());
    std::uint32_t riff = static_cast<std::uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i)
        out[4 + i] = static_cast<unsigned char>(riff >> (8 * i));
    return out;
}

void WriteFile(const std::filesystem::path& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<unsigned char> ReadFile(const std::filesystem::path& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(f), {});
}

std::uint32_t U32(const std::vector<unsigned char>& b, std::size_t at)
{
    return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | std::uint32_t(b.at(at + 3)) << 24;
}

std::uint16_t U16(const std::vector<unsigned char>& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8);
}

PcmFile ReadPcm(const std::filesystem::path& path)
{
    std::vector<unsigned char> b = ReadFile(path);
    PcmFile pcm;
    std::size_t at = 12;
    while (at + 8 <= b.size()) {
        std::string tag(b.begin() + at, b.begin() + at + 4);
        std::uint32_t length = U32(b, at + 4);
        at += 8;
        if (tag == "fmt ") {
            pcm.channels = U16(b, at + 2);
            pcm.rate = static_cast<int>(U32(b, at + 4));
            pcm.width = U16(b, at + 14) / 8;
        } else if (tag == "data") {
            std::size_t end = std::min<std::size_t>(b.size(), at + length);
            for (; at + pcm.width <= end; at += pcm.width) {
                std::uint32_t v = 0;
                for (int i = 0; i < pcm.width; ++i)
                    v |= std::uint32_t(b[at + i]) << (8 * i);
                pcm.samples.push_back(SignExtend(v, pcm.width));
            }
            return pcm;
        }
        at += length + (length & 1);
    }
    throw std::runtime_error("no data chunk in " + path.string());
}

ScratchDir::ScratchDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kolvex-resample-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a scratch folder");
    path_ = pattern;
}

ScratchDir::~ScratchDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::vector<std::string> ScratchDir::Names() const
{
    std::vector<std::string> names;
    for (auto& entry : std::filesystem::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::wstring Wide(const std::filesystem::path& path)
{
    return win::FromUtf8(path.string());
}

std::vector<std::int32_t> Sine(double frequency, int rate, std::size_t frames, int channels,
                               double amplitude, int width)
{
    const double full = width == 1 ? 127 : width == 2 ? 32767 : width == 3 ? 8388607 : 2147483647;
    std::vector<std::int32_t> out;
    out.reserve(frames * channels);
    for (std::size_t n = 0; n < frames; ++n) {
        double v = amplitude * std::sin(2 * std::numbers::pi * frequency * double(n) / rate);
        for (int c = 0; c < channels; ++c)
            out.push_back(static_cast<std::int32_t>(std::lround(v * full)));
    }
    return out;
}

RowThreads::RowThreads(int threads)
    : saved_(win::RowThreads())
{
    win::SetRowThreads(threads);
}

RowThreads::~RowThreads()
{
    win::SetRowThreads(saved_);
}

std::FILE* RawSamples(const std::vector<std::int32_t>& samples, int width)
{
    std::FILE* f = std::tmpfile();
    std::vector<unsigned char> bytes;
    for (std::int32_t v : samples)
        Put(bytes, width == 1 ? std::uint32_t(v + 128) : std::uint32_t(v), width);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    return f;
}

std::vector<std::int32_t> ReadRaw(std::FILE* file, int width)
{
    std::fflush(file);
    std::rewind(file);
    std::vector<std::int32_t> out;
    unsigned char b[4];
    while (std::fread(b, 1, width, file) == std::size_t(width)) {
        std::uint32_t v = 0;
        for (int i = 0; i < width; ++i)
            v |= std::uint32_t(b[i]) << (8 * i);
        out.push_back(SignExtend(v, width));
    }
    return out;
}

bool Sox(const std::string& arguments)
{
    return std::system(("sox " + arguments + " 2>/dev/null").c_str()) == 0;
}

namespace {

const win::HWND kSinkWindow = reinterpret_cast<win::HWND>(0x51A4);
std::atomic<win::DWORD> g_sinkThread{0};

win::DWORD SinkOwner(win::HWND hwnd) { return hwnd == kSinkWindow ? g_sinkThread.load() : 0; }

const win::internal::WindowHooks kSinkHooks{.ownerThread = SinkOwner};

}  // namespace

MessageSink::MessageSink() : window_(kSinkWindow)
{
    g_sinkThread = win::GetCurrentThreadId();
    previousHooks_ = win::internal::SetWindowHooks(&kSinkHooks);
    // Threads post to the sink at once: give this thread its queue now.
    win::MSG msg;
    win::PeekMessage(&msg, window_, 0, 0, win::PM_NOREMOVE);
}

MessageSink::~MessageSink()
{
    Collect();
    win::internal::SetWindowHooks(previousHooks_);
    g_sinkThread = 0;
}

std::vector<win::MSG> MessageSink::Collect()
{
    std::vector<win::MSG> out;
    win::MSG msg;
    while (win::PeekMessage(&msg, window_, 0, 0, win::PM_REMOVE))
        out.push_back(msg);
    return out;
}

}  // namespace test
