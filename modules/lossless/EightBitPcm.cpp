#include "modules/lossless/EightBitPcm.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/samplefmt.h>
}

#include <cstdint>

bool AppendEightBitFromS16(const AVFrame* frame, int first, int channels, std::vector<unsigned char>& out)
{
    auto format = static_cast<AVSampleFormat>(frame->format);
    if (av_get_packed_sample_fmt(format) != AV_SAMPLE_FMT_S16)
        return false;
    bool planar = av_sample_fmt_is_planar(format);
    for (int i = first; i < frame->nb_samples; ++i)
        for (int c = 0; c < channels; ++c) {
            const auto* plane = reinterpret_cast<const std::int16_t*>(frame->extended_data[planar ? c : 0]);
            std::int16_t v = planar ? plane[i] : plane[i * channels + c];
            out.push_back(static_cast<unsigned char>((v >> 8) + 128));
        }
    return true;
}
