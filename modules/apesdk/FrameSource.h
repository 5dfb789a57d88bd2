// Where the reader gets decoded frames from, in file order: decoded on the
// reader's own thread as they are asked for, or ahead on a pool of threads.
// Both read the demuxer on the reader's thread only.
#pragma once

#include "modules/apesdk/DecodedFrame.h"

class FrameSource {
public:
    virtual ~FrameSource() = default;
    // The next frame of the stream; false once the input has ended.
    virtual bool Next(DecodedFrame& frame) = 0;
    // The demuxer was moved: forget every frame read before.
    virtual void Restart() = 0;
};
