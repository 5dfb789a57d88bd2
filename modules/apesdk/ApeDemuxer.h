// FFmpeg's Monkey's Audio demuxer on one file: hands out the audio stream's
// packets, one encoder frame each, and seeks. It is used from one thread
// only, however many threads decode the packets it reads.
#pragma once

#include <cstdint>
#include <string>

struct AVFormatContext;
struct AVPacket;
struct AVStream;

class ApeDemuxer {
public:
    ApeDemuxer() = default;
    ApeDemuxer(const ApeDemuxer&) = delete;
    ApeDemuxer& operator=(const ApeDemuxer&) = delete;
    ~ApeDemuxer();

    // False when the file cannot be opened or holds no audio stream.
    bool Open(const std::string& utf8Path);
    const AVStream* Stream() const;

    enum class ReadResult {
        Packet,  // `packet` holds the next audio packet
        End,     // the file has ended where it should
        Failed,  // the file cannot be read further: an I/O error or damage
    };
    ReadResult Read(AVPacket* packet);
    // Positions reading at the frame holding `block` or before it.
    bool Seek(std::int64_t block);

private:
    AVFormatContext* format_ = nullptr;
    int stream_ = -1;
};
