// Where each frame of an MP3 stream lies and what its side information says
// about the bit reservoir. A frame's main data need not sit in its own slot:
// it may start up to main_data_begin bytes back, in room earlier frames left
// free. Positions called "main-data positions" count only slot bytes (what
// follows header, CRC and side information), laid end to end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Mp3Frame {
    std::size_t offset = 0;       // of its header, in the stream
    int length = 0;               // the whole frame, in bytes
    int sideEnd = 0;              // header + CRC + side information, in bytes
    std::int64_t slotStart = 0;   // main-data position of its first slot byte
    int mainDataBegin = 0;        // how far before slotStart its main data starts
    int mainDataBytes = 0;        // its granules' part 2 and 3 lengths, rounded up
    std::uint8_t lastWindow[2] = {};  // block type and mixed flag of its last granule, per channel

    std::int64_t SlotEnd() const { return slotStart + (length - sideEnd); }
    std::int64_t MainDataEnd() const { return slotStart - mainDataBegin + mainDataBytes; }
};

class FrameLayout {
public:
    // Adds the frames of `stream` that are complete and not yet seen. False
    // when the bytes there are not a Layer III frame.
    bool Extend(const std::vector<std::uint8_t>& stream);
    const std::vector<Mp3Frame>& Frames() const { return frames_; }
    // The stream offset just past the last complete frame.
    std::size_t End() const { return parsed_; }
    // Stream offset of the byte at a main-data position inside the frames.
    std::size_t ByteAt(std::int64_t position) const;

private:
    std::vector<Mp3Frame> frames_;
    std::size_t parsed_ = 0;
    std::int64_t slots_ = 0;
};
