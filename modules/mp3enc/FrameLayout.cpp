#include "modules/mp3enc/FrameLayout.h"

#include <algorithm>

namespace {

class BitReader {
public:
    explicit BitReader(const std::uint8_t* data) : data_(data) {}
    unsigned Read(int bits)
    {
        unsigned value = 0;
        for (int i = 0; i < bits; ++i, ++at_)
            value = (value << 1) | ((data_[at_ / 8] >> (7 - at_ % 8)) & 1u);
        return value;
    }
    void Skip(int bits) { at_ += static_cast<std::size_t>(bits); }

private:
    const std::uint8_t* data_;
    std::size_t at_ = 0;
};

struct Header {
    bool mpeg1 = false;
    int channels = 0;
    int length = 0;
    int sideStart = 0;
    int sideEnd = 0;
};

bool ParseHeader(const std::uint8_t* p, Header& header)
{
    static const int kKbps[2][15] = {{0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
                                     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}};
    static const int kRates[4][3] = {{11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};
    int version = (p[1] >> 3) & 3;
    int bitRate = p[2] >> 4;
    int rate = (p[2] >> 2) & 3;
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0 || version == 1 || ((p[1] >> 1) & 3) != 1 || bitRate == 0 ||
        bitRate == 15 || rate == 3)
        return false;
    header.mpeg1 = version == 3;
    header.channels = (p[3] >> 6) == 3 ? 1 : 2;
    int kbps = kKbps[header.mpeg1][bitRate];
    header.length = (header.mpeg1 ? 144000 : 72000) * kbps / kRates[version][rate] + ((p[2] >> 1) & 1);
    int side = header.mpeg1 ? (header.channels == 1 ? 17 : 32) : (header.channels == 1 ? 9 : 17);
    header.sideStart = 4 + ((p[1] & 1) ? 0 : 2);
    header.sideEnd = header.sideStart + side;
    return header.length > header.sideEnd;
}

void ParseSideInformation(const std::uint8_t* side, const Header& header, Mp3Frame& frame)
{
    BitReader bits(side);
    int granules = header.mpeg1 ? 2 : 1;
    frame.mainDataBegin = static_cast<int>(bits.Read(header.mpeg1 ? 9 : 8));
    if (header.mpeg1)
        bits.Skip((header.channels == 1 ? 5 : 3) + 4 * header.channels);  // private bits, scfsi
    else
        bits.Skip(header.channels == 1 ? 1 : 2);
    long mainBits = 0;
    for (int granule = 0; granule < granules; ++granule) {
        for (int channel = 0; channel < header.channels; ++channel) {
            mainBits += bits.Read(12);  // part2_3_length
            bits.Skip(9 + 8 + (header.mpeg1 ? 4 : 9));  // big_values, global_gain, scalefac_compress
            std::uint8_t window = 0;
            if (bits.Read(1)) {  // window switching
                window = static_cast<std::uint8_t>(bits.Read(2));
                window |= static_cast<std::uint8_t>(bits.Read(1) << 2);
                bits.Skip(10 + 9);  // table_select, subblock_gain
            } else {
                bits.Skip(15 + 4 + 3);  // table_select, region counts
            }
            bits.Skip(header.mpeg1 ? 3 : 2);  // (preflag), scalefac_scale, count1table_select
            frame.lastWindow[channel] = window;
        }
    }
    frame.mainDataBytes = static_cast<int>((mainBits + 7) / 8);
}

}  // namespace

bool FrameLayout::Extend(const std::vector<std::uint8_t>& stream)
{
    Header header;
    while (parsed_ + 4 <= stream.size()) {
        if (!ParseHeader(&stream[parsed_], header))
            return false;
        if (parsed_ + static_cast<std::size_t>(header.length) > stream.size())
            break;
        Mp3Frame frame;
        frame.offset = parsed_;
        frame.length = header.length;
        frame.sideEnd = header.sideEnd;
        frame.slotStart = slots_;
        ParseSideInformation(&stream[parsed_ + static_cast<std::size_t>(header.sideStart)], header, frame);
        frames_.push_back(frame);
        slots_ = frame.SlotEnd();
        parsed_ += static_cast<std::size_t>(header.length);
    }
    return true;
}

std::size_t FrameLayout::ByteAt(std::int64_t position) const
{
    auto after = std::upper_bound(frames_.begin(), frames_.end(), position,
                                  [](std::int64_t p, const Mp3Frame& f) { return p < f.slotStart; });
    const Mp3Frame& frame = *(after - 1);
    return frame.offset + static_cast<std::size_t>(frame.sideEnd) + static_cast<std::size_t>(position - frame.slotStart);
}
