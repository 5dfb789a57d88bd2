#include "modules/mp3enc/StreamSummary.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

void PutBigEndian(std::uint8_t* at, std::uint64_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i, value >>= 8)
        at[i] = static_cast<std::uint8_t>(value);
}

std::uint32_t GetBigEndian(const std::uint8_t* at)
{
    return (std::uint32_t{at[0]} << 24) | (std::uint32_t{at[1]} << 16) | (std::uint32_t{at[2]} << 8) | at[3];
}

const std::array<std::uint16_t, 256>& CrcTable()
{
    static const std::array<std::uint16_t, 256> table = [] {
        std::array<std::uint16_t, 256> t{};
        for (unsigned i = 0; i < 256; ++i) {
            unsigned crc = i;
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc & 1) ? (crc >> 1) ^ 0xA001u : crc >> 1;
            t[i] = static_cast<std::uint16_t>(crc);
        }
        return t;
    }();
    return table;
}

// Xing header flags: which optional fields follow.
constexpr std::uint32_t kHasFrames = 1, kHasBytes = 2, kHasToc = 4, kHasQuality = 8;

}  // namespace

std::uint16_t UpdateCrc16(std::uint16_t crc, const std::uint8_t* data, std::size_t size)
{
    const auto& table = CrcTable();
    for (std::size_t i = 0; i < size; ++i)
        crc = static_cast<std::uint16_t>((crc >> 8) ^ table[(crc ^ data[i]) & 0xFF]);
    return crc;
}

void StreamSummary::Add(const std::uint8_t* frame, std::size_t length)
{
    if (bytes_ > 0) {
        if (audioFrames_ % step_ == 0) {
            if (offsets_.size() == kSeekPoints) {
                for (std::size_t i = 0; i < kSeekPoints / 2; ++i)
                    offsets_[i] = offsets_[2 * i];
                offsets_.resize(kSeekPoints / 2);
                step_ *= 2;
            }
            if (audioFrames_ % step_ == 0)
                offsets_.push_back(bytes_);
        }
        ++audioFrames_;
        musicCrc_ = UpdateCrc16(musicCrc_, frame, length);
    }
    bytes_ += length;
}

void StreamSummary::Complete(std::vector<std::uint8_t>& frame, std::int64_t samples, int delay,
                             int frameSamples) const
{
    // The header sits after the side information, whose size depends on the
    // frame's kind: look for its tag rather than compute where it is.
    std::size_t at = 0;
    for (; at + 8 <= std::min<std::size_t>(frame.size(), 64); ++at) {
        if (std::memcmp(&frame[at], "Xing", 4) == 0 || std::memcmp(&frame[at], "Info", 4) == 0)
            break;
    }
    if (at + 8 > std::min<std::size_t>(frame.size(), 64))
        return;
    std::uint32_t flags = GetBigEndian(&frame[at + 4]);
    std::size_t field = at + 8;
    if (flags & kHasFrames) {
        PutBigEndian(&frame[field], static_cast<std::uint64_t>(audioFrames_), 4);
        field += 4;
    }
    if (flags & kHasBytes) {
        PutBigEndian(&frame[field], bytes_, 4);
        field += 4;
    }
    if (flags & kHasToc) {
        for (int i = 0; i < 100 && !offsets_.empty(); ++i) {
            auto index = static_cast<std::size_t>(audioFrames_ * i / 100 / step_);
            std::uint64_t offset = offsets_[std::min(index, offsets_.size() - 1)];
            frame[field + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(std::min<std::uint64_t>(255, offset * 256 / bytes_));
        }
        field += 100;
    }
    if (flags & kHasQuality)
        field += 4;
    // The encoder's own extension: delay and padding, music length and CRCs.
    std::size_t lame = field;
    if (lame + 36 > frame.size() || std::memcmp(&frame[lame], "LAME", 4) != 0)
        return;
    std::int64_t padding = audioFrames_ * frameSamples - delay - samples;
    padding = std::clamp<std::int64_t>(padding, 0, 4095);
    frame[lame + 21] = static_cast<std::uint8_t>(delay >> 4);
    frame[lame + 22] = static_cast<std::uint8_t>(((delay & 15) << 4) | static_cast<int>(padding >> 8));
    frame[lame + 23] = static_cast<std::uint8_t>(padding);
    PutBigEndian(&frame[lame + 28], bytes_, 4);
    PutBigEndian(&frame[lame + 32], musicCrc_, 2);
    PutBigEndian(&frame[lame + 34], UpdateCrc16(0, frame.data(), lame + 34), 2);
}
