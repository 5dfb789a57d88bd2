// The one entry of lossless_ffmpeg.so (see ApeDecompress.cpp for how it is
// loaded).
#include "modules/lossless/LosslessDecoderModule.h"

#include "modules/lossless/LosslessDecompress.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <type_traits>

extern "C" {
#include <libavutil/log.h>
}

static_assert(std::is_same_v<decltype(&OpenLosslessDecoder), OpenLosslessDecoderFn>);

extern "C" __attribute__((visibility("default"))) IAPEDecompress* OpenLosslessDecoder(
    const char* utf8Path, const char* demuxer, int* errorCode, char* reason, int reasonBytes)
{
    av_log_set_level(AV_LOG_QUIET);
    auto decoder = std::make_unique<LosslessDecompress>();
    std::string why;
    int code = decoder->Open(utf8Path, demuxer, why);
    *errorCode = code;
    if (reason && reasonBytes > 0) {
        std::size_t n = std::min(why.size(), static_cast<std::size_t>(reasonBytes - 1));
        std::memcpy(reason, why.data(), n);
        reason[n] = '\0';
    }
    return code == ERROR_SUCCESS ? decoder.release() : nullptr;
}
