#include "resample/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ssrc {

bool TraceEnabled()
{
    static const bool enabled = [] {
        const char* value = std::getenv("KOLVEX_TRACE");
        return value && std::strcmp(value, "1") == 0;
    }();
    return enabled;
}

void Trace(const char* format, ...)
{
    if (!TraceEnabled())
        return;
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
}

}  // namespace ssrc
