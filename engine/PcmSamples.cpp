#include "engine/PcmSamples.h"

#include <algorithm>

void UnpackPcm(const unsigned char* data, std::size_t frames, int channels, int bits,
               std::vector<std::int32_t>& samples)
{
    const std::size_t width = static_cast<std::size_t>(bits / 8);
    const std::size_t count = frames * static_cast<std::size_t>(channels);
    samples.reserve(samples.size() + count);
    for (std::size_t i = 0; i < count; ++i, data += width) {
        switch (width) {
        case 1: samples.push_back(static_cast<std::int32_t>(data[0]) - 128); break;
        case 2: samples.push_back(static_cast<std::int16_t>(data[0] | data[1] << 8)); break;
        case 3: {
            std::uint32_t u = data[0] | data[1] << 8 | static_cast<std::uint32_t>(data[2]) << 16;
            samples.push_back(static_cast<std::int32_t>(u << 8) >> 8);
            break;
        }
        default: {
            std::uint32_t u = data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24;
            samples.push_back(static_cast<std::int32_t>(u));
        }
        }
    }
}

const std::vector<std::int32_t>& PcmFrames::Take(const unsigned char* data, std::size_t bytes)
{
    samples_.clear();
    const std::size_t frame = static_cast<std::size_t>(channels_ * (bits_ / 8));
    if (frame == 0)
        return samples_;
    if (!pending_.empty()) {
        std::size_t fill = std::min(bytes, frame - pending_.size());
        pending_.insert(pending_.end(), data, data + fill);
        data += fill;
        bytes -= fill;
        if (pending_.size() < frame)
            return samples_;
        UnpackPcm(pending_.data(), 1, channels_, bits_, samples_);
        pending_.clear();
    }
    std::size_t whole = bytes / frame;
    UnpackPcm(data, whole, channels_, bits_, samples_);
    pending_.assign(data + whole * frame, data + bytes);
    return samples_;
}
