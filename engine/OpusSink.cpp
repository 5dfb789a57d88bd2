#include "engine/OpusSink.h"

#include "platform/core/Strings.h"

#include <cmath>

OpusSink::~OpusSink() { Abandon(); }

int OpusSink::WriteTo(void* sink, const unsigned char* data, opus_int32 length)
{
    return static_cast<OpusSink*>(sink)->WriteBytes(data, static_cast<std::size_t>(length)) ? 0 : 1;
}

namespace {

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

std::wstring OpusSink::StartEncoder(const WAVEFORMATEX& format)
{
    if (format.nChannels > 8)
        return L"Opus holds at most 8 channels here; the source has " + std::to_wstring(format.nChannels);
    if (format.nSamplesPerSec < 100 || format.nSamplesPerSec > 768000)
        return L"the Opus encoder cannot take the source's sample rate";
    channels_ = format.nChannels;
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
        (error = ope_encoder_ctl(encoder_, OPUS_SET_VBR(1))) != OPE_OK) {
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
    return error == OPE_OK ? std::wstring() : EncoderError("the Opus encoder failed", error);
}

void OpusSink::DropEncoder()
{
    if (encoder_)
        ope_encoder_destroy(encoder_);
    encoder_ = nullptr;
}
