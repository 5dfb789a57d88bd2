// A track cut from a continuous recording sounds clean at its edges only
// when the encoder heard what came before and after it: a cold encoder
// starts with a click and ends on padding. So the track is encoded with
// some of its neighbours' audio around it, and this filter, sitting between
// the encoder and the file, hides that audio again: the stream header's
// pre-skip grows by the audio heard before the track, and the stream ends
// on the page that holds the track's last sample, its position saying
// where to stop. Packets wholly after the track are dropped, so a decoder
// trims within the last packet only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

class OggOpusTrim {
public:
    // Where the pages go; false when they could not be written.
    using Output = std::function<bool(const unsigned char* data, std::size_t size)>;

    // `lead48`: samples (at 48 kHz) heard before the track, at most what the
    // pre-skip field can still hold. `length48`: the track's own length at
    // 48 kHz, or -1 when nothing follows it and the encoder's own end stands.
    OggOpusTrim(std::int64_t lead48, std::int64_t length48, Output output);

    // The encoder's bytes, in any pieces; false once the output failed or
    // the stream is not one this filter understands.
    bool Write(const unsigned char* data, std::size_t size);
    // Whether the whole stream went out: a track's end was found (or the
    // encoder's own end page came) and nothing is left half-read.
    bool Finished() const { return ended_ && pending_.empty(); }

private:
    struct Page {
        std::uint8_t flags = 0;
        std::int64_t granule = -1;
        std::vector<std::uint8_t> lacing;
        std::vector<unsigned char> body;
        std::vector<unsigned char> raw;  // header and body as they came; empty once changed
    };
    // A packet's first two bytes: enough to know how long it lasts.
    using Start = std::array<unsigned char, 2>;

    bool TakePage(Page& page);
    bool Forward(Page& page);
    bool LengthenPreSkip(Page& page);
    // Cuts the page after the packet that holds the track's end.
    void EndTrackIn(Page& page);
    // Calls `ended(start, end offset, lacing index)` for every packet that
    // ends on the page, until it returns true.
    template <typename Ended>
    void Packets(const Page& page, Ended ended);
    bool Emit(const Page& page);

    std::int64_t lead48_;
    std::int64_t length48_;
    Output output_;
    std::vector<unsigned char> pending_;
    std::int64_t endGranule_ = -1;  // known once the header is read
    std::int64_t lastGranule_ = 0;  // of the last page that ended a packet
    Start unfinished_{};  // of a packet that continues on the next page
    bool headerSeen_ = false;
    bool ended_ = false;
    bool failed_ = false;
};
