#include "modules/apesdk/ApeDecompress.h"

#include "modules/apesdk/FfmpegApeDecompress.h"
#include "platform/core/Strings.h"

#include <memory>

extern "C" {
#include <libavutil/log.h>
}

IAPEDecompress* CreateIAPEDecompress(const wchar_t* path, int* errorCode)
{
    auto fail = [&](int code) -> IAPEDecompress* {
        if (errorCode)
            *errorCode = code;
        return nullptr;
    };
    if (!path || !*path)
        return fail(ERROR_BAD_PARAMETER);
    // The library's own complaints about damaged files are not for users;
    // the result code says what went wrong.
    av_log_set_level(AV_LOG_QUIET);
    auto decoder = std::make_unique<FfmpegApeDecompress>();
    int code = decoder->Open(win::ToUtf8(path));
    if (code != ERROR_SUCCESS)
        return fail(code);
    if (errorCode)
        *errorCode = ERROR_SUCCESS;
    return decoder.release();
}
