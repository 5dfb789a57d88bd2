// An FFmpeg demuxer on one sound file, chosen by what the file holds (see
// SourceSniffer.h) and never one that would open other files or URLs
// (playlists, concatenation lists): only the file itself is read.
#pragma once

#include <cstdint>
#include <string>

struct AVFormatContext;
struct AVPacket;
struct AVStream;

class LosslessDemuxer {
public:
    LosslessDemuxer() = default;
    LosslessDemuxer(const LosslessDemuxer&) = delete;
    LosslessDemuxer& operator=(const LosslessDemuxer&) = delete;
    ~LosslessDemuxer();

    // `demuxer` null: let FFmpeg recognise the file among the sound
    // containers. False when it cannot be opened or holds no audio stream.
    bool Open(const std::string& utf8Path, const char* demuxer);
    const AVStream* Stream() const;

    enum class ReadResult { Packet, End, Failed };
    ReadResult Read(AVPacket* packet);
    // Positions reading at or before `timestamp` (in the stream's time base).
    bool Seek(std::int64_t timestamp);

private:
    AVFormatContext* format_ = nullptr;
    int stream_ = -1;
};
