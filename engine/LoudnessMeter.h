// Measures a row's loudness (EBU R128 integrated, with its gating) and
// sample peak on libebur128, from the PCM chunks the row's sink gets, and
// turns the results into ReplayGain 2.0 and Opus R128 tag values.
#pragma once

#include "engine/PcmSamples.h"

#include <ebur128.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class LoudnessMeter {
public:
    LoudnessMeter(int channels, unsigned rate, int bits);
    ~LoudnessMeter();
    LoudnessMeter(const LoudnessMeter&) = delete;
    LoudnessMeter& operator=(const LoudnessMeter&) = delete;

    // False when the meter could not be set up for this format.
    bool Ok() const { return state_ != nullptr; }
    // A chunk of interleaved PCM in the source's format.
    void Add(const unsigned char* data, std::size_t bytes);
    // Integrated loudness in LUFS; silence counts as the gate's floor, -70.
    double Loudness() const;
    // The largest sample, 1.0 being full scale.
    double Peak() const;

    // The integrated loudness of several meters' audio together.
    static double LoudnessOf(const std::vector<const LoudnessMeter*>& meters);

private:
    ebur128_state* state_ = nullptr;
    PcmFrames frames_;
    double scale_;
    std::vector<double> buffer_;
};

// ReplayGain 2.0: the gain that brings `loudness` to -18 LUFS, "-6.52 dB".
std::wstring ReplayGainText(double loudness);
// "0.998871".
std::wstring PeakText(double peak);
// Opus's R128 gains: to -23 LUFS, in 1/256 dB, as an integer ("-1530").
std::wstring R128GainText(double loudness);
