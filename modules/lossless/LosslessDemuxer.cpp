#include "modules/lossless/LosslessDemuxer.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/mem.h>
}

namespace {

// No lossless frame or table of a real file comes near this; a damaged
// header can ask the library for gigabytes.
constexpr std::size_t kMaxLibraryAllocation = 32u << 20;

// The containers a file of unrecognised first bytes may be taken for.
constexpr const char* kSoundContainers = "flac,wv,tta,wav,w64,aiff,mov,caf,tak,ogg,matroska";

}  // namespace

bool LosslessDemuxer::Open(const std::string& utf8Path, const char* demuxer)
{
    av_max_alloc(kMaxLibraryAllocation);
    const AVInputFormat* forced = nullptr;
    if (demuxer && !(forced = av_find_input_format(demuxer)))
        return false;
    format_ = avformat_alloc_context();
    if (!format_)
        return false;
    if (!forced)
        format_->format_whitelist = av_strdup(kSoundContainers);
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    // "file:" in front: a name such as "concat:a|b" is a file name here.
    int opened = avformat_open_input(&format_, ("file:" + utf8Path).c_str(), forced, &options);
    av_dict_free(&options);
    if (opened < 0)
        return false;  // the context is freed on failure
    if (avformat_find_stream_info(format_, nullptr) < 0)
        return false;
    return FindAudioStream();
}
