#include "modules/lossless/CodecPolicy.h"

extern "C" {
#include <libavcodec/codec_desc.h>
}

namespace {

// Decoded to integer samples, bit for bit. WavPack is here although it has
// a lossy (hybrid) mode: the decoder says which a file is (see
// WavPackHybrid.h). Monkey's Audio has a module of its own.
bool Decodable(AVCodecID codec)
{
    switch (codec) {
    case AV_CODEC_ID_FLAC:
    case AV_CODEC_ID_WAVPACK:
    case AV_CODEC_ID_TTA:
    case AV_CODEC_ID_ALAC:
    case AV_CODEC_ID_TAK:
    case AV_CODEC_ID_PCM_U8:
    case AV_CODEC_ID_PCM_S8:
    case AV_CODEC_ID_PCM_S16LE:
    case AV_CODEC_ID_PCM_S16BE:
    case AV_CODEC_ID_PCM_S24LE:
    case AV_CODEC_ID_PCM_S24BE:
    case AV_CODEC_ID_PCM_S32LE:
    case AV_CODEC_ID_PCM_S32BE:
        return true;
    default:
        return false;
    }
}

}  // namespace

CodecVerdict JudgeCodec(AVCodecID codec, std::string& reason)
{
    if (Decodable(codec))
        return CodecVerdict::Lossless;
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(codec);
    if (!descriptor) {
        reason = "the sound in the file is in a codec this program does not know";
        return CodecVerdict::Unsupported;
    }
    if ((descriptor->props & AV_CODEC_PROP_LOSSLESS)) {
        // Lossless, but not to integer PCM of a width a WAV file carries
        // (floating point samples, DSD, ...), or not decoded here at all.
        reason = std::string("the ") + descriptor->name + " codec is not supported";
        return CodecVerdict::Unsupported;
    }
    if (descriptor->type != AVMEDIA_TYPE_AUDIO) {
        reason = "the file holds no sound";
        return CodecVerdict::Unsupported;
    }
    reason = kLossyReason;
    return CodecVerdict::Lossy;
}
