#include "modules/mp3enc/Mp3Encoder.h"

#include "modules/mp3enc/LameEnc.h"

#include <lame/lame.h>

#include <algorithm>
#include <cstring>

namespace {

// Blocks per LAME call: bounds the work buffers, whatever the caller hands in.
constexpr int kMaxFramesPerCall = 8192;

std::uint32_t Field(const std::uint8_t* record, int offset)
{
    std::uint32_t value;
    std::memcpy(&value, record + offset, sizeof value);
    return value;
}

bool IsMpegRate(std::uint32_t rate)
{
    for (std::uint32_t r : {8000u, 11025u, 12000u, 16000u, 22050u, 24000u, 32000u, 44100u, 48000u}) {
        if (r == rate)
            return true;
    }
    return false;
}

bool IsBitRate(std::uint32_t kbps) { return kbps >= 8 && kbps <= 320; }

std::int32_t Configure(lame_global_flags* lame, const PcmFormat& input, const std::uint8_t* type)
{
    std::uint32_t rate = Field(type, MP3_OUT_SAMPLE_RATE);
    std::uint32_t mode = Field(type, MP3_OUT_MODE);
    std::uint32_t quality = Field(type, MP3_OUT_QUALITY);
    std::uint32_t cbr = Field(type, MP3_OUT_CBR_BIT_RATE);
    std::uint32_t vbrMin = Field(type, MP3_OUT_VBR_MINIMUM);
    std::uint32_t vbrMax = Field(type, MP3_OUT_VBR_MAXIMUM);
    if ((rate != 0 && !IsMpegRate(rate)) || quality > 9 || mode > 1)
        return MP3_E_INVALIDARG;
    if (mode == 1 ? !IsBitRate(cbr) : (!IsBitRate(vbrMin) || !IsBitRate(vbrMax) || vbrMin > vbrMax))
        return MP3_E_INVALIDARG;

    lame_set_in_samplerate(lame, input.sampleRate);
    lame_set_num_channels(lame, input.channels);
    if (rate == 0 && IsMpegRate(static_cast<std::uint32_t>(input.sampleRate)))
        rate = static_cast<std::uint32_t>(input.sampleRate);
    lame_set_out_samplerate(lame, static_cast<int>(rate));
    lame_set_quality(lame, static_cast<int>(quality));
    if (mode == 1) {
        lame_set_VBR(lame, vbr_off);
        lame_set_brate(lame, static_cast<int>(cbr));
    } else {
        lame_set_VBR(lame, vbr_default);
        lame_set_VBR_quality(lame, static_cast<float>(quality));
        lame_set_VBR_min_bitrate_kbps(lame, static_cast<int>(vbrMin));
        lame_set_VBR_max_bitrate_kbps(lame, static_cast<int>(vbrMax));
        lame_set_VBR_hard_min(lame, 1);
    }
    lame_set_error_protection(lame, Field(type, MP3_OUT_CRC) ? 1 : 0);
    lame_set_copyright(lame, Field(type, MP3_OUT_COPYRIGHT) ? 1 : 0);
    lame_set_original(lame, Field(type, MP3_OUT_ORIGINAL) ? 1 : 0);
    lame_set_bWriteVbrTag(lame, 1);
    return lame_init_params(lame) < 0 ? MP3_E_INVALIDARG : MP3_S_OK;
}

bool WriteAll(FILE* output, const std::vector<std::uint8_t>& bytes)
{
    return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), output) == bytes.size();
}

}  // namespace

Mp3Encoder::Mp3Encoder(const PcmFormat& input, lame_global_struct* lame)
    : input_(input), lame_(lame)
{
}

Mp3Encoder::~Mp3Encoder() { lame_close(lame_); }

std::int32_t Mp3Encoder::Create(const PcmFormat& input, const std::uint8_t* outputType,
                                std::unique_ptr<Mp3Encoder>& encoder)
{
    lame_global_flags* lame = lame_init();
    if (!lame)
        return MP3_E_FAIL;
    std::int32_t result = Configure(lame, input, outputType);
    if (result < 0) {
        lame_close(lame);
        return result;
    }
    encoder.reset(new Mp3Encoder(input, lame));
    return MP3_S_OK;
}

std::int32_t Mp3Encoder::Encode(const std::uint8_t* pcm, std::int32_t size)
{
    if (finished_)
        return MP3_E_UNEXPECTED;
    if (size <= 0)
        return size == 0 ? 0 : MP3_E_INVALIDARG;
    auto block = static_cast<std::size_t>(input_.blockAlign);
    if (!partialBlock_.empty()) {
        std::size_t take = std::min(block - partialBlock_.size(), static_cast<std::size_t>(size));
        partialBlock_.insert(partialBlock_.end(), pcm, pcm + take);
        if (partialBlock_.size() == block) {
            std::int32_t result = EncodeBlocks(partialBlock_.data(), 1);
            partialBlock_.clear();
            if (result < 0)
                return result;
        }
        return static_cast<std::int32_t>(take);
    }
    int frames = std::min(static_cast<int>(static_cast<std::size_t>(size) / block), kMaxFramesPerCall);
    if (frames == 0) {
        partialBlock_.assign(pcm, pcm + size);
        return size;
    }
    std::int32_t result = EncodeBlocks(pcm, frames);
    return result < 0 ? result : frames * input_.blockAlign;
}

std::int32_t Mp3Encoder::EncodeBlocks(const std::uint8_t* pcm, int frames)
{
    UnpackPcm(input_, pcm, frames, left_, right_);
    std::size_t start = pending_.size();
    std::size_t room = frames + frames / 4 + 7200;
    pending_.resize(start + room);
    const int* right = input_.channels == 2 ? right_.data() : left_.data();
    int made = lame_encode_buffer_int(lame_, left_.data(), right, frames, pending_.data() + start,
                                      static_cast<int>(room));
    pending_.resize(start + std::max(made, 0));
    return made < 0 ? MP3_E_FAIL : MP3_S_OK;
}

const std::vector<std::uint8_t>& Mp3Encoder::TakeFrames()
{
    taken_.swap(pending_);
    pending_.clear();
    return taken_;
}

std::int32_t Mp3Encoder::Finish(FILE* output)
{
    if (finished_)
        return MP3_E_UNEXPECTED;
    finished_ = true;
    // A partial block at the very end cannot be a sample: it is dropped.
    partialBlock_.clear();
    std::size_t start = pending_.size();
    pending_.resize(start + 7200);
    int made = lame_encode_flush(lame_, pending_.data() + start, 7200);
    pending_.resize(start + std::max(made, 0));
    if (made < 0)
        return MP3_E_FAIL;
    if (!output)
        return MP3_S_OK;
    if (!WriteAll(output, TakeFrames()))
        return MP3_E_FAIL;
    return WriteInformationFrame(InformationFrame(), output);
}

int Mp3Encoder::FrameSamples() const { return lame_get_framesize(lame_); }

int Mp3Encoder::Delay() const { return lame_get_encoder_delay(lame_); }

bool Mp3Encoder::Resamples() const { return lame_get_in_samplerate(lame_) != lame_get_out_samplerate(lame_); }

std::vector<std::uint8_t> Mp3Encoder::InformationFrame() const
{
    std::vector<std::uint8_t> frame(8192);
    std::size_t size = lame_get_lametag_frame(lame_, frame.data(), frame.size());
    frame.resize(size <= frame.size() ? size : 0);
    return frame;
}

// The information frame went out first as a placeholder; now that the
// stream's frame count and size are known it is written over its start.
std::int32_t Mp3Encoder::WriteInformationFrame(const std::vector<std::uint8_t>& frame, FILE* output)
{
    if (frame.empty())
        return MP3_S_OK;
    if (std::fseek(output, 0, SEEK_SET) != 0 || std::fwrite(frame.data(), 1, frame.size(), output) != frame.size() ||
        std::fseek(output, 0, SEEK_END) != 0 || std::fflush(output) != 0)
        return MP3_E_FAIL;
    return MP3_S_OK;
}
