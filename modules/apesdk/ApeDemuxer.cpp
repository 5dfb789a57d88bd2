#include "modules/apesdk/ApeDemuxer.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace {

// The largest frame (294912 blocks of two 32-bit channels) is under 3 MB.
constexpr std::size_t kMaxLibraryAllocation = 32u << 20;

}  // namespace

bool ApeDemuxer::Open(const std::string& utf8Path)
{
    // A damaged header can name frames of gigabytes and tables of millions of
    // entries, which the library would allocate as asked; no real file needs
    // a single block of this size.
    av_max_alloc(kMaxLibraryAllocation);
    // Only Monkey's Audio: left to guess, the library would also take a
    // playlist or a concatenation list and open the files it names.
    if (avformat_open_input(&format_, utf8Path.c_str(), av_find_input_format("ape"), nullptr) < 0)
        return false;
    return FindAudioStream();
}
