// PCM bytes as the sources give them become the signed samples encoders and
// meters take, whatever the width and however the chunks cut the frames.
#include "engine/PcmSamples.h"

#include <gtest/gtest.h>

#include <random>

TEST(PcmSamples, EveryWidthGivesSignedSamplesAtItsOwnScale)
{
    std::vector<std::int32_t> samples;
    const unsigned char u8[] = {0x00, 0x80, 0xFF};
    UnpackPcm(u8, 3, 1, 8, samples);
    EXPECT_EQ(samples, (std::vector<std::int32_t>{-128, 0, 127}));

    samples.clear();
    const unsigned char s16[] = {0x00, 0x80, 0xFF, 0x7F, 0xFF, 0xFF};
    UnpackPcm(s16, 3, 1, 16, samples);
    EXPECT_EQ(samples, (std::vector<std::int32_t>{-32768, 32767, -1}));

    samples.clear();
    const unsigned char s24[] = {0x00, 0x00, 0x80, 0xFF, 0xFF, 0x7F, 0xFE, 0xFF, 0xFF};
    UnpackPcm(s24, 3, 1, 24, samples);
    EXPECT_EQ(samples, (std::vector<std::int32_t>{-8388608, 8388607, -2}));

    samples.clear();
    const unsigned char s32[] = {0x00, 0x00, 0x00, 0x80, 0x01, 0x00, 0x00, 0x00};
    UnpackPcm(s32, 1, 2, 32, samples);
    EXPECT_EQ(samples, (std::vector<std::int32_t>{INT32_MIN, 1}));
}

TEST(PcmSamples, ChunksCutInsideFramesGiveTheSameSamplesAsOneChunk)
{
    for (int bits : {8, 16, 24, 32}) {
        SCOPED_TRACE(bits);
        const int channels = 3;
        const std::size_t frame = static_cast<std::size_t>(channels * bits / 8);
        std::mt19937 random(bits);
        std::vector<unsigned char> bytes(frame * 101);
        for (auto& b : bytes)
            b = static_cast<unsigned char>(random());
        std::vector<std::int32_t> whole;
        UnpackPcm(bytes.data(), 101, channels, bits, whole);

        PcmFrames frames(channels, bits);
        std::vector<std::int32_t> pieces;
        for (std::size_t at = 0; at < bytes.size();) {
            std::size_t size = std::min<std::size_t>(1 + random() % (2 * frame), bytes.size() - at);
            const auto& got = frames.Take(bytes.data() + at, size);
            pieces.insert(pieces.end(), got.begin(), got.end());
            at += size;
        }
        EXPECT_EQ(pieces, whole);
        EXPECT_EQ(frames.Pending(), 0u);

        frames.Take(bytes.data(), frame + 1);
        EXPECT_EQ(frames.Pending(), 1u);
    }
}
