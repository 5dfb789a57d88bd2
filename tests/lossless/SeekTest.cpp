// Seeks land on the exact sample, at the cuts a CUE sheet makes (CD frame
// x rate / 75), forwards and backwards, in every format.
#include "tests/lossless/LosslessFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace lossless_test;

class LosslessSeek : public testing::TestWithParam<std::string> {};

TEST_P(LosslessSeek, LandsOnTheSampleAtEveryCdFrameCut)
{
    ASSERT_EQ(MissingTools(), "");
    testing_support::TempDir dir;
    const Shape shape{44100, 16, 2};
    fs::path wav = MakeWav(dir.path(), "source.wav", shape, 6);
    std::vector<unsigned char> expected = WavData(wav);
    fs::path file = Encode(wav, GetParam());
    Decoder d = Open(file);
    ASSERT_TRUE(d.decoder) << "error " << d.error;
    const std::size_t align = 4;
    const std::int64_t total = std::int64_t(expected.size() / align);
    // Out of order, across frame boundaries, to the very end.
    for (std::int64_t frame : {301, 75, 1, 0, 413, 37, 449}) {
        std::int64_t block = frame * shape.rate / 75;
        ASSERT_EQ(d.decoder->Seek(block), ERROR_SUCCESS) << "frame " << frame;
        const int want = 2000;
        std::vector<unsigned char> chunk(align * want);
        int got = 0;
        EXPECT_EQ(d.decoder->GetData(chunk.data(), want, &got), ERROR_SUCCESS);
        std::int64_t expectedBlocks = std::min<std::int64_t>(want, total - block);
        ASSERT_EQ(got, expectedBlocks) << "frame " << frame;
        EXPECT_TRUE(std::equal(chunk.begin(), chunk.begin() + long(std::size_t(got) * align),
                               expected.begin() + long(std::size_t(block) * align)))
            << "frame " << frame << " (block " << block << ")";
        EXPECT_EQ(d.decoder->GetInfo(APE_DECOMPRESS_CURRENT_MS), (block + got) * 1000 / shape.rate);
    }
    // After a seek, reading on to the end gives the rest exactly.
    std::int64_t block = 150 * shape.rate / 75;
    ASSERT_EQ(d.decoder->Seek(block), ERROR_SUCCESS);
    std::vector<unsigned char> rest = ReadAll(*d.decoder);
    EXPECT_TRUE(rest == std::vector<unsigned char>(expected.begin() + long(block * 4), expected.end()));
}

INSTANTIATE_TEST_SUITE_P(Formats, LosslessSeek,
                         testing::Values("flac", "flac-unknown-length", "ogg-flac", "wv", "tta",
                                         "alac", "wav", "rf64", "w64", "aiff"),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
