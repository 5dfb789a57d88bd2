// An FFmpeg demuxer on one file, once opened: hands out the audio stream's
// packets and seeks. How a file is opened (which demuxers may take it) is
// each decoder's own; it is used from one thread only, however many threads
// decode the packets it reads.
#pragma once

#include <cstdint>

struct AVFormatContext;
struct AVPacket;
struct AVStream;

class FfmpegDemuxer {
public:
    FfmpegDemuxer() = default;
    FfmpegDemuxer(const FfmpegDemuxer&) = delete;
    FfmpegDemuxer& operator=(const FfmpegDemuxer&) = delete;
    ~FfmpegDemuxer();

    const AVStream* Stream() const;

    enum class ReadResult {
        Packet,  // `packet` holds the next audio packet
        End,     // the file has ended where it should
        Failed,  // the file cannot be read further: an I/O error or damage
    };
    ReadResult Read(AVPacket* packet);
    // Positions reading at or before `timestamp` (in the stream's time base).
    bool Seek(std::int64_t timestamp);

protected:
    // After the file is open: picks its audio stream; false when none.
    bool FindAudioStream();

    AVFormatContext* format_ = nullptr;
    int stream_ = -1;
};
