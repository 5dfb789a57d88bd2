#include "engine/OpusSink.h"

#include "platform/core/Strings.h"

#include <algorithm>
#include <cmath>
#include <numeric>

OpusSink::~OpusSink() { Abandon(); }

int OpusSink::WriteTo(void* sink, const unsigned char* data, opus_int32 length)
{
    auto* self = static_cast<OpusSink*>(sink);
    return self->trim_->Write(data, static_cast<std::size_t>(length)) ? 0 : 1;
}

namespace {

// What the stream header's pre-skip can still take on top of the
// encoder's own delay.
constexpr std::int64_t kMaxLead48 = 60000;

// Sources give their channels in the WAV order (front left, front right,
// centre, LFE, back left, back right, ...); the surround mapping takes them
// in the Vorbis order (left, centre, right, rear left, rear right, LFE).
// Row n: for each Vorbis channel, the source channel it is.
constexpr int kVorbisOrder[8][8] = {
    {0},
    {0, 1},
    {0, 2, 1},
    {0, 1, 2, 3},
    {0, 2, 1, 3, 4},
    {0, 2, 1, 4, 5, 3},
    {0, 2, 1, 5, 6, 4, 3},
    {0, 2, 1, 6, 7, 4, 5, 3},
};

std::wstring EncoderError(const char* what, int error)
{
    return win::FromUtf8(std::string(what) + ": " + ope_strerror(error));
}

}  // namespace

std::int64_t OpusSink::LeadFrames(std::uint32_t rate, std::int64_t start)
{
    if (rate == 0 || start <= 0)
        return 0;
    // The encoder starts on the grid of 20-ms frames that an encoder of the
    // whole image would use, about a second before the track: its state has
    // then mostly become what that encoder's would be at the cut.
    const std::int64_t grid = rate / std::gcd(rate, 50u);
    const std::int64_t from = std::max<std::int64_t>(0, (start - rate) / grid * grid);
    const std::int64_t lead = start - from;
    // Hidden again only when it is a whole number of samples at 48 kHz.
    const bool whole = lead * 48000 % rate == 0;
    return whole && lead * 48000 / rate <= kMaxLead48 ? lead : 0;
}

std::wstring OpusSink::StartEncoder(const WAVEFORMATEX& format)
{
    if (format.nChannels > 8)
        return L"Opus holds at most 8 channels here; the source has " + std::to_wstring(format.nChannels);
    if (format.nSamplesPerSec < 100 || format.nSamplesPerSec > 768000)
        return L"the Opus encoder cannot take the source's sample rate";
    channels_ = format.nChannels;
    trim_ = std::make_unique<OggOpusTrim>(leadFrames_ * 48000 / format.nSamplesPerSec, length48_,
                                          [this](const unsigned char* data, std::size_t size) {
                                              return WriteBytes(data, size);
                                          });
    scale_ = 1.0f / std::ldexp(1.0f, format.wBitsPerSample - 1);
    OggOpusComments* comments = ope_comments_create();
    if (!comments)
        return L"the Opus encoder cannot be started";
    OpusEncCallbacks callbacks{WriteTo, CloseStream};
    int error = OPE_OK;
    const int family = channels_ > 2 ? 1 : 0;
    encoder_ = ope_encoder_create_callbacks(&callbacks, this, comments, static_cast<opus_int32>(format.nSamplesPerSec),
                                            channels_, family, &error);
    ope_comments_destroy(comments);
    if (!encoder_)
        return EncoderError("the Opus encoder refused the source's format", error);
    if ((error = ope_encoder_ctl(encoder_, OPUS_SET_BITRATE(kbps_ * 1000))) != OPE_OK ||
        (error = ope_encoder_ctl(encoder_, OPUS_SET_VBR(1))) != OPE_OK ||
        (error = ope_encoder_ctl(encoder_, OPUS_SET_VBR_CONSTRAINT(0))) != OPE_OK ||
        (error = ope_encoder_ctl(encoder_, OPUS_SET_LSB_DEPTH(std::clamp<int>(format.wBitsPerSample, 8, 24)))) != OPE_OK) {
        DropEncoder();
        return EncoderError("the Opus encoder refused the bit rate", error);
    }
    return {};
}

std::wstring OpusSink::Encode(const std::int32_t* samples, std::size_t frames)
{
    const auto channels = static_cast<std::size_t>(channels_);
    const int* order = kVorbisOrder[channels_ - 1];
    pcm_.resize(frames * channels);
    for (std::size_t f = 0; f < frames; ++f, samples += channels)
        for (std::size_t c = 0; c < channels; ++c)
            pcm_[f * channels + c] = static_cast<float>(samples[order[c]]) * scale_;
    int error = ope_encoder_write_float(encoder_, pcm_.data(), static_cast<int>(frames));
    return error == OPE_OK ? std::wstring() : EncoderError("the Opus encoder failed", error);
}

std::wstring OpusSink::FinishEncoder()
{
    // Draining writes the last pages, the final one marked with the exact
    // end position.
    int error = ope_encoder_drain(encoder_);
    ope_encoder_destroy(encoder_);
    encoder_ = nullptr;
    if (error != OPE_OK)
        return EncoderError("the Opus encoder failed", error);
    return trim_->Finished() ? std::wstring() : L"the Opus stream could not be ended at the track's end";
}

void OpusSink::DropEncoder()
{
    if (encoder_)
        ope_encoder_destroy(encoder_);
    encoder_ = nullptr;
}
