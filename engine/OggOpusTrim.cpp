#include "engine/OggOpusTrim.h"

#include <opus/opus.h>

#include <array>
#include <cstring>

namespace {

constexpr std::size_t kHeaderSize = 27;
constexpr std::uint8_t kContinued = 0x01;
constexpr std::uint8_t kEndOfStream = 0x04;
constexpr std::int64_t kMaxPreSkip = 65535;

// The Ogg page checksum: CRC-32, polynomial 0x04c11db7, not reflected,
// starting from 0, over the page with its own field zeroed.
std::uint32_t PageCrc(const unsigned char* data, std::size_t size)
{
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t r = i << 24;
            for (int bit = 0; bit < 8; ++bit)
                r = (r & 0x80000000u) ? (r << 1) ^ 0x04c11db7u : r << 1;
            t[i] = r;
        }
        return t;
    }();
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < size; ++i)
        crc = (crc << 8) ^ table[((crc >> 24) ^ data[i]) & 0xff];
    return crc;
}

std::int64_t ReadLe64(const unsigned char* p)
{
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | p[i];
    return static_cast<std::int64_t>(v);
}

void WriteLe(unsigned char* p, std::uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i, v >>= 8)
        p[i] = static_cast<unsigned char>(v & 0xff);
}

}  // namespace

OggOpusTrim::OggOpusTrim(std::int64_t lead48, std::int64_t length48, Output output)
    : lead48_(lead48), length48_(length48), output_(std::move(output))
{
}

bool OggOpusTrim::Write(const unsigned char* data, std::size_t size)
{
    if (failed_)
        return false;
    pending_.insert(pending_.end(), data, data + size);
    Page page;
    while (!failed_ && TakePage(page))
        failed_ = !Forward(page);
    return !failed_;
}

// Cuts the first whole page off what has come; false while none is whole.
bool OggOpusTrim::TakePage(Page& page)
{
    if (pending_.size() < kHeaderSize)
        return false;
    if (std::memcmp(pending_.data(), "OggS", 4) != 0) {
        failed_ = true;
        return false;
    }
    const std::size_t segments = pending_[26];
    if (pending_.size() < kHeaderSize + segments)
        return false;
    std::size_t bodySize = 0;
    for (std::size_t i = 0; i < segments; ++i)
        bodySize += pending_[kHeaderSize + i];
    const std::size_t total = kHeaderSize + segments + bodySize;
    if (pending_.size() < total)
        return false;
    page.raw.assign(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(total));
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(total));
    page.flags = page.raw[5];
    page.granule = ReadLe64(&page.raw[6]);
    page.lacing.assign(page.raw.begin() + kHeaderSize, page.raw.begin() + static_cast<std::ptrdiff_t>(kHeaderSize + segments));
    page.body.assign(page.raw.begin() + static_cast<std::ptrdiff_t>(kHeaderSize + segments), page.raw.end());
    return true;
}

template <typename Ended>
void OggOpusTrim::Packets(const Page& page, Ended ended)
{
    std::size_t offset = 0;
    bool starts = !(page.flags & kContinued);
    for (std::size_t i = 0; i < page.lacing.size(); ++i) {
        if (starts) {
            for (std::size_t b = 0; b < unfinished_.size(); ++b)
                unfinished_[b] = offset + b < page.body.size() ? page.body[offset + b] : 0;
        }
        offset += page.lacing[i];
        starts = page.lacing[i] < 255;
        if (starts && ended(unfinished_, offset, i))
            return;
    }
}

bool OggOpusTrim::Forward(Page& page)
{
    if (ended_)
        return true;  // the encoder's audio after the track
    if (!headerSeen_)
        return LengthenPreSkip(page) && Emit(page);
    if (page.granule >= 0 && endGranule_ >= 0 && page.granule >= endGranule_) {
        EndTrackIn(page);
        ended_ = true;
        return Emit(page);
    }
    // Read through for the start of a packet that the next page finishes.
    Packets(page, [](const Start&, std::size_t, std::size_t) { return false; });
    if (page.granule >= 0)
        lastGranule_ = page.granule;
    ended_ = (page.flags & kEndOfStream) != 0;
    return Emit(page);
}

bool OggOpusTrim::LengthenPreSkip(Page& page)
{
    headerSeen_ = true;
    if (page.body.size() < 19 || std::memcmp(page.body.data(), "OpusHead", 8) != 0)
        return false;
    const std::int64_t preSkip = page.body[10] | (page.body[11] << 8);
    const std::int64_t lengthened = preSkip + lead48_;
    if (lengthened > kMaxPreSkip)
        return false;
    WriteLe(&page.body[10], static_cast<std::uint64_t>(lengthened), 2);
    endGranule_ = length48_ >= 0 ? lengthened + length48_ : -1;
    page.raw.resize(kHeaderSize);  // the header stays, the body changed
    return true;
}

void OggOpusTrim::EndTrackIn(Page& page)
{
    std::int64_t position = lastGranule_;
    std::size_t segmentsKept = page.lacing.size();
    std::size_t bytesKept = page.body.size();
    Packets(page, [&](const Start& start, std::size_t end, std::size_t index) {
        // A packet's length is in its first byte, or for one of several
        // frames also in its second.
        const int samples = opus_packet_get_nb_samples(start.data(), (start[0] & 3) == 3 ? 2 : 1, 48000);
        position += samples > 0 ? samples : 0;
        if (position < endGranule_)
            return false;
        segmentsKept = index + 1;
        bytesKept = end;
        return true;
    });
    page.lacing.resize(segmentsKept);
    page.body.resize(bytesKept);
    page.granule = endGranule_;
    page.flags = static_cast<std::uint8_t>(page.flags | kEndOfStream);
    page.raw.resize(kHeaderSize);
}

// A page as it came goes out as it came; a changed one gets its header
// (the encoder's serial and sequence numbers) with the new fields and a
// new checksum.
bool OggOpusTrim::Emit(const Page& page)
{
    if (page.raw.size() > kHeaderSize)
        return output_(page.raw.data(), page.raw.size());
    std::vector<unsigned char> raw(page.raw);
    raw[5] = page.flags;
    WriteLe(&raw[6], static_cast<std::uint64_t>(page.granule), 8);
    WriteLe(&raw[22], 0, 4);
    raw[26] = static_cast<unsigned char>(page.lacing.size());
    raw.insert(raw.end(), page.lacing.begin(), page.lacing.end());
    raw.insert(raw.end(), page.body.begin(), page.body.end());
    WriteLe(&raw[22], PageCrc(raw.data(), raw.size()), 4);
    return output_(raw.data(), raw.size());
}
