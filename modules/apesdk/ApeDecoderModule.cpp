// The one entry of ape_ffmpeg.so, the decoder module the interface loads on
// first use (see ApeDecompress.cpp).
#include "modules/apesdk/ApeDecoderModule.h"

#include "modules/apesdk/FfmpegApeDecompress.h"

#include <memory>
#include <type_traits>

extern "C" {
#include <libavutil/log.h>
}

static_assert(std::is_same_v<decltype(&OpenApeDecoder), OpenApeDecoderFn>);

extern "C" __attribute__((visibility("default"))) IAPEDecompress* OpenApeDecoder(const char* utf8Path, int* errorCode)
{
    // The library's own complaints about damaged files are not for users;
    // the result code says what went wrong.
    av_log_set_level(AV_LOG_QUIET);
    auto decoder = std::make_unique<FfmpegApeDecompress>();
    int code = decoder->Open(utf8Path);
    *errorCode = code;
    return code == ERROR_SUCCESS ? decoder.release() : nullptr;
}
