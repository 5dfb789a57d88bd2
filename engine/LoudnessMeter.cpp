#include "engine/LoudnessMeter.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace {

constexpr double kSilenceFloor = -70.0;

// How each channel is weighed, for the layouts sources give by channel
// count (the WAV and FLAC order): the front pair and centre at 1, the LFE
// not at all, every surround channel (side, back or back centre) at 1.41,
// as ffmpeg's meter does.
constexpr int L = EBUR128_LEFT, R = EBUR128_RIGHT, C = EBUR128_CENTER, X = EBUR128_UNUSED,
                          Ls = EBUR128_LEFT_SURROUND, Rs = EBUR128_RIGHT_SURROUND;
constexpr int kLayouts[8][8] = {
    {L},
    {L, R},
    {L, R, C},
    {L, R, Ls, Rs},
    {L, R, C, Ls, Rs},
    {L, R, C, X, Ls, Rs},
    {L, R, C, X, Ls, Ls, Rs},
    {L, R, C, X, Ls, Rs, Ls, Rs},
};

double Floored(double loudness) { return std::isfinite(loudness) ? std::max(loudness, kSilenceFloor) : kSilenceFloor; }

}  // namespace

LoudnessMeter::LoudnessMeter(int channels, unsigned rate, int bits)
    : frames_(channels, bits), scale_(1.0 / std::ldexp(1.0, bits - 1))
{
    if (channels > 0 && rate > 0)
        state_ = ebur128_init(static_cast<unsigned>(channels), rate, EBUR128_MODE_I | EBUR128_MODE_SAMPLE_PEAK);
    for (int c = 0; state_ && channels <= 8 && c < channels; ++c)
        ebur128_set_channel(state_, static_cast<unsigned>(c), kLayouts[channels - 1][c]);
}

LoudnessMeter::~LoudnessMeter()
{
    if (state_)
        ebur128_destroy(&state_);
}

void LoudnessMeter::Add(const unsigned char* data, std::size_t bytes)
{
    if (!state_ || !data)
        return;
    const auto& samples = frames_.Take(data, bytes);
    if (samples.empty())
        return;
    buffer_.resize(samples.size());
    std::transform(samples.begin(), samples.end(), buffer_.begin(),
                   [this](std::int32_t s) { return static_cast<double>(s) * scale_; });
    ebur128_add_frames_double(state_, buffer_.data(), samples.size() / static_cast<std::size_t>(frames_.Channels()));
}

double LoudnessMeter::Loudness() const
{
    double loudness = -HUGE_VAL;
    if (state_ && ebur128_loudness_global(state_, &loudness) != EBUR128_SUCCESS)
        loudness = -HUGE_VAL;
    return Floored(loudness);
}

double LoudnessMeter::Peak() const
{
    double peak = 0.0;
    for (unsigned c = 0; state_ && c < static_cast<unsigned>(frames_.Channels()); ++c) {
        double channel = 0.0;
        if (ebur128_sample_peak(state_, c, &channel) == EBUR128_SUCCESS)
            peak = std::max(peak, channel);
    }
    return peak;
}

double LoudnessMeter::LoudnessOf(const std::vector<const LoudnessMeter*>& meters)
{
    std::vector<ebur128_state*> states;
    for (const LoudnessMeter* meter : meters)
        if (meter && meter->state_)
            states.push_back(meter->state_);
    double loudness = -HUGE_VAL;
    if (states.empty() || ebur128_loudness_global_multiple(states.data(), states.size(), &loudness) != EBUR128_SUCCESS)
        loudness = -HUGE_VAL;
    return Floored(loudness);
}

std::wstring ReplayGainText(double loudness)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"%+.2f dB", -18.0 - loudness);
    return text;
}

std::wstring PeakText(double peak)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"%.6f", peak);
    return text;
}

std::wstring R128GainText(double loudness)
{
    double q78 = std::round((-23.0 - loudness) * 256.0);
    return std::to_wstring(static_cast<int>(std::clamp(q78, -32768.0, 32767.0)));
}
