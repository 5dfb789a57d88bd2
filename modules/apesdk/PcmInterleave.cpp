#include "modules/apesdk/PcmInterleave.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/samplefmt.h>
}

#include <cstring>

namespace {

template <class T>
const T* Plane(const AVFrame* frame, int channel, bool planar)
{
    return reinterpret_cast<const T*>(frame->extended_data[planar ? channel : 0]);
}

// Reads sample `i` of `channel` as a signed value in the file's width.
template <class T>
std::int32_t Sample(const AVFrame* frame, int channel, int channels, int i, bool planar)
{
    const T* p = Plane<T>(frame, channel, planar);
    return static_cast<std::int32_t>(planar ? p[i] : p[i * channels + channel]);
}

}  // namespace

bool AppendInterleaved(const AVFrame* frame, int first, int channels, int bytesPerSample,
                       std::vector<unsigned char>& out)
{
    auto format = static_cast<AVSampleFormat>(frame->format);
    bool planar = av_sample_fmt_is_planar(format);
    AVSampleFormat packed = av_get_packed_sample_fmt(format);
    int count = frame->nb_samples - first;
    if (count <= 0)
        return true;
    std::size_t start = out.size();
    out.resize(start + std::size_t(count) * std::size_t(channels) * std::size_t(bytesPerSample));
    unsigned char* dst = out.data() + start;

    if (packed == AV_SAMPLE_FMT_U8 && bytesPerSample == 1) {
        for (int i = first; i < frame->nb_samples; ++i)
            for (int c = 0; c < channels; ++c)
                *dst++ = static_cast<unsigned char>(Sample<std::uint8_t>(frame, c, channels, i, planar));
        return true;
    }
    if (packed == AV_SAMPLE_FMT_S16 && bytesPerSample == 2) {
        if (planar && channels == 2) {
            // The common case, kept tight: it runs once per decoded sample.
            const auto* l = Plane<std::int16_t>(frame, 0, true);
            const auto* r = Plane<std::int16_t>(frame, 1, true);
            for (int i = first; i < frame->nb_samples; ++i, dst += 4) {
                std::memcpy(dst, &l[i], 2);  // the output need not be aligned
                std::memcpy(dst + 2, &r[i], 2);
            }
            return true;
        }
        for (int i = first; i < frame->nb_samples; ++i)
            for (int c = 0; c < channels; ++c) {
                auto v = static_cast<std::int16_t>(Sample<std::int16_t>(frame, c, channels, i, planar));
                std::memcpy(dst, &v, 2);
                dst += 2;
            }
        return true;
    }
    if (packed == AV_SAMPLE_FMT_S32 && (bytesPerSample == 3 || bytesPerSample == 4)) {
        // 24-bit audio arrives left-aligned in 32 bits.
        int shift = 32 - 8 * bytesPerSample;
        for (int i = first; i < frame->nb_samples; ++i)
            for (int c = 0; c < channels; ++c) {
                std::int32_t v = Sample<std::int32_t>(frame, c, channels, i, planar) >> shift;
                for (int b = 0; b < bytesPerSample; ++b)
                    *dst++ = static_cast<unsigned char>((static_cast<std::uint32_t>(v) >> (8 * b)) & 0xFF);
            }
        return true;
    }
    out.resize(start);
    return false;
}
