#include "GoldenCases.h"

#include "resample/SsrcEngine.h"
#include "resample/WavResampler.h"

#include "TestWav.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace golden {

namespace {

constexpr int R = 44100;

// A tone per channel over noise, with a stretch loud enough to clip once
// filtered, so that clipping and the peak are part of every fingerprint.
std::vector<std::int32_t> Signal(const Case& c)
{
    const double full = c.width == 1 ? 127 : c.width == 2 ? 32767 : c.width == 3 ? 8388607 : 2147483647;
    std::uint32_t seed = 12345u + static_cast<std::uint32_t>(c.rate) * 7u + c.width;
    std::vector<std::int32_t> out;
    out.reserve(std::size_t(c.frames) * c.channels);
    for (int n = 0; n < c.frames; ++n) {
        const double loud = (n > c.frames / 2 && n < c.frames / 2 + c.frames / 20) ? 2.4 : 1.0;
        for (int ch = 0; ch < c.channels; ++ch) {
            seed = seed * 1664525u + 1013904223u;
            const double noise = (double(seed >> 8) / double(1u << 24) - 0.5) * 0.3;
            const double tone = 0.4 * std::sin(2 * std::numbers::pi * (440.0 + 311.0 * ch) * n / c.rate);
            const double v = std::clamp((tone + noise) * loud, -1.0, 1.0) * full;
            out.push_back(static_cast<std::int32_t>(std::clamp(std::lround(v), -std::lround(full) - 1,
                                                               std::lround(full))));
        }
    }
    return out;
}

std::uint64_t Hash(const std::vector<unsigned char>& bytes)
{
    std::uint64_t h = 14695981039346656037ull;  // FNV-1a
    for (unsigned char b : bytes)
        h = (h ^ b) * 1099511628211ull;
    return h;
}

std::uint64_t ThroughDriver(const Case& c)
{
    test::ScratchDir dir;
    test::WavLayout layout;
    layout.rate = c.rate;
    layout.width = c.width;
    layout.channels = c.channels;
    layout.samples = Signal(c);
    const auto file = dir / "in.wav";
    test::WriteFile(file, test::BuildWav(layout));
    WavResampler r;
    const std::wstring name = test::Wide(file);
    if (!r.Open(name.c_str(), name.c_str()))
        return 0;
    const int ok = r.Run();
    r.Close();
    return ok ? Hash(test::ReadFile(file)) : 0;
}

std::uint64_t ThroughRoutine(const Case& c)
{
    std::FILE* in = test::RawSamples(Signal(c), c.width);
    std::FILE* out = std::tmpfile();
    SsrcEngine engine;
    const int full = c.targetWidth == 1 ? 128 : c.targetWidth == 2 ? 32768 : 8388608;
    engine.DitherSetup(R, c.channels, -full, full - 1, c.dither, 0, 0.18);
    const auto frames = static_cast<std::uint32_t>(c.frames);
    if (c.rate < R)
        engine.ResampleUp(in, out, c.channels, c.width, c.targetWidth, c.rate, R, 1.0, frames, 0, c.dither);
    else if (c.rate > R)
        engine.ResampleDown(in, out, c.channels, c.width, c.targetWidth, c.rate, R, 1.0, frames, 0, c.dither);
    else
        engine.RequantizeOnly(in, out, c.channels, c.width, c.targetWidth, 1.0, frames, 0, c.dither);
    engine.DitherRelease(c.channels);
    std::fflush(out);
    std::rewind(out);
    std::vector<unsigned char> bytes;
    unsigned char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, out)) > 0;)
        bytes.insert(bytes.end(), buffer, buffer + got);
    std::fclose(in);
    std::fclose(out);
    return engine.LastOutcome() == SsrcEngine::Outcome::Done ? Hash(bytes) : 0;
}

}  // namespace

const std::vector<Case>& Cases()
{
    static const std::vector<Case> cases = {
        // The worker's conversions, several blocks each.
        {"48000 Hz 16-bit stereo", 48000, 2, 2, 50000, 0, 0, 6445156971368342541u},
        {"96000 Hz 24-bit stereo", 96000, 3, 2, 60000, 0, 0, 17833664271898413275u},
        {"22050 Hz 16-bit stereo", 22050, 2, 2, 70000, 0, 0, 12991769312668624268u},
        {"32000 Hz 16-bit mono", 32000, 2, 1, 40000, 0, 0, 9445249433682998970u},
        {"8000 Hz 8-bit mono", 8000, 1, 1, 20000, 0, 0, 4350985431088120889u},
        {"11025 Hz 24-bit 6 channels", 11025, 3, 6, 12000, 0, 0, 6913327767685593927u},
        {"88200 Hz 32-bit stereo", 88200, 4, 2, 60000, 0, 0, 1855893775836693384u},
        {"192000 Hz 24-bit 3 channels", 192000, 3, 3, 100000, 0, 0, 9628815142919217670u},
        {"44100 Hz 16-bit stereo", 44100, 2, 2, 40000, 0, 0, 37195186639654167u},
        {"44100 Hz 24-bit stereo", 44100, 3, 2, 40000, 0, 0, 18392853893647748993u},
        {"44100 Hz 8-bit mono", 44100, 1, 1, 20000, 0, 0, 5457950850154511252u},
        {"44100 Hz 32-bit 3 channels", 44100, 4, 3, 20000, 0, 0, 7293401775639677492u},
        // Output widths and dither kinds the driver does not choose.
        {"48000 Hz to 24-bit, no dither", 48000, 3, 2, 30000, 3, 0, 17328136079511068269u},
        {"22050 Hz to 8-bit, first-order shaping", 22050, 2, 2, 40000, 1, 2, 12896778477440583281u},
        {"96000 Hz to 16-bit, alternative shaper", 96000, 2, 2, 30000, 2, 4, 9361323495418132355u},
        {"16000 Hz to 24-bit, plain dither", 16000, 2, 3, 20000, 3, 1, 5359860089530991808u},
        {"44100 Hz to 8-bit, alternative shaper", 44100, 3, 2, 20000, 1, 4, 11127984150822565919u},
        {"44100 Hz to 24-bit, no dither", 44100, 4, 2, 20000, 3, 0, 11082369223975204902u},
    };
    return cases;
}

std::uint64_t Fingerprint(const Case& c)
{
    return c.targetWidth == 0 ? ThroughDriver(c) : ThroughRoutine(c);
}

}  // namespace golden
