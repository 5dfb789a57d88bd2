// Which codecs a source may be in: lossless ones that FFmpeg decodes to the
// very samples that were encoded. Anything lossy is refused: its samples
// are an approximation already, and another lossy pass (MP3 out) would
// make it worse while looking like a faithful copy.
#pragma once

#include <string>

extern "C" {
#include <libavcodec/codec_id.h>
}

enum class CodecVerdict { Lossless, Lossy, Unsupported };

// With the user's reason in `reason` when it is not Lossless.
CodecVerdict JudgeCodec(AVCodecID codec, std::string& reason);

// The exact text shown for a lossy source.
inline constexpr const char* kLossyReason = "lossy source: converting it again would lose quality";
