// One FFmpeg Monkey's Audio decoder context: turns whole demuxed frames into
// DecodedFrame records. Each decoding thread owns one; a context is never
// shared between threads.
#pragma once

#include "modules/apesdk/DecodedFrame.h"

#include <atomic>

struct AVCodecContext;
struct AVCodecParameters;
struct AVFrame;
struct AVPacket;
struct AVRational;

class FrameDecoder {
public:
    FrameDecoder() = default;
    FrameDecoder(const FrameDecoder&) = delete;
    FrameDecoder& operator=(const FrameDecoder&) = delete;
    ~FrameDecoder();

    // False when FFmpeg has no decoder for these parameters or refuses them.
    bool Open(const AVCodecParameters* parameters, const AVRational& timeBase, int channels,
              int bytesPerSample);

    // Decodes all of `packet`, appending to `out`. Returns early, leaving
    // `out` partial, once `cancel` becomes true: nobody wants the frame then.
    void Decode(const AVPacket* packet, DecodedFrame& out, const std::atomic<bool>* cancel = nullptr);
    // The input has ended: appends whatever the context still held.
    void Drain(DecodedFrame& out);
    // Forgets all input so far (after a seek, or before an unrelated frame).
    void Flush();

private:
    void Receive(DecodedFrame& out, const std::atomic<bool>* cancel);

    AVCodecContext* codec_ = nullptr;
    AVFrame* frame_ = nullptr;
    int channels_ = 0;
    int bytesPerSample_ = 0;
};
