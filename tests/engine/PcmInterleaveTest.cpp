#include "modules/apesdk/PcmInterleave.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/samplefmt.h>
}

#include <gtest/gtest.h>

namespace {

struct Frame {
    AVFrame* frame = av_frame_alloc();
    Frame(AVSampleFormat format, int channels, int samples)
    {
        frame->format = format;
        frame->nb_samples = samples;
        av_channel_layout_default(&frame->ch_layout, channels);
        av_frame_get_buffer(frame, 0);
    }
    ~Frame() { av_frame_free(&frame); }
    template <class T>
    T* Plane(int channel) { return reinterpret_cast<T*>(frame->extended_data[channel]); }
};

}  // namespace

TEST(PcmInterleave, TwentyFourBitIsTakenFromTheTopOfThirtyTwo)
{
    Frame f(AV_SAMPLE_FMT_S32P, 2, 2);
    f.Plane<std::int32_t>(0)[0] = 0x123456 << 8;
    f.Plane<std::int32_t>(1)[0] = -2 * 256;  // -2
    f.Plane<std::int32_t>(0)[1] = -8388608 * 256;
    f.Plane<std::int32_t>(1)[1] = 8388607 * 256;
    std::vector<unsigned char> out;
    ASSERT_TRUE(AppendInterleaved(f.frame, 0, 2, 3, out));
    std::vector<unsigned char> expected = {0x56, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0xFF, 0xFF, 0x7F};
    EXPECT_EQ(out, expected);
}

TEST(PcmInterleave, SkipsLeadingSamplesAndAppends)
{
    Frame f(AV_SAMPLE_FMT_S16P, 2, 3);
    for (int i = 0; i < 3; ++i) {
        f.Plane<std::int16_t>(0)[i] = static_cast<std::int16_t>(100 + i);
        f.Plane<std::int16_t>(1)[i] = static_cast<std::int16_t>(-100 - i);
    }
    std::vector<unsigned char> out = {9};
    ASSERT_TRUE(AppendInterleaved(f.frame, 1, 2, 2, out));
    ASSERT_EQ(out.size(), 1u + 2 * 4);
    auto at = [&](int i) { return static_cast<std::int16_t>(out[1 + 2 * i] | (out[2 + 2 * i] << 8)); };
    EXPECT_EQ(at(0), 101);
    EXPECT_EQ(at(1), -101);
    EXPECT_EQ(at(2), 102);
    EXPECT_EQ(at(3), -102);
}

TEST(PcmInterleave, EightBitUnsignedAndMismatchedWidths)
{
    Frame f(AV_SAMPLE_FMT_U8P, 1, 4);
    for (int i = 0; i < 4; ++i)
        f.Plane<std::uint8_t>(0)[i] = static_cast<std::uint8_t>(126 + i);
    std::vector<unsigned char> out;
    ASSERT_TRUE(AppendInterleaved(f.frame, 0, 1, 1, out));
    EXPECT_EQ(out, (std::vector<unsigned char>{126, 127, 128, 129}));
    EXPECT_FALSE(AppendInterleaved(f.frame, 0, 1, 2, out));  // u8 cannot be 16-bit
    EXPECT_EQ(out.size(), 4u);
}
