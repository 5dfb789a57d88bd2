// Raw CD images (a sheet's BINARY and MOTOROLA files): bare 16-bit stereo
// samples at 44.1 kHz, delivered little-endian whichever way they are stored.
#include "tests/lossless/LosslessFixture.h"

#include "modules/lossless/RawCdImage.h"
#include "platform/core/Strings.h"

#include <gtest/gtest.h>

namespace {

using namespace lossless_test;

std::unique_ptr<IAPEDecompress> OpenRaw(const fs::path& path, bool bigEndian, int* error = nullptr)
{
    int code = -1;
    std::unique_ptr<IAPEDecompress> d(CreateRawCdDecompress(win::FromUtf8(path.string()).c_str(), bigEndian, &code));
    if (error)
        *error = code;
    return d;
}

TEST(RawCdImage, LittleAndBigEndianGiveTheSamePcm)
{
    ASSERT_EQ(MissingTools(), "");
    testing_support::TempDir dir;
    fs::path wav = MakeWav(dir.path(), "source.wav", {44100, 16, 2}, 3);
    std::vector<unsigned char> expected = WavData(wav);
    fs::path little = dir / "image.bin";
    fs::path big = dir / "image.motorola.bin";
    ASSERT_TRUE(RunTool("sox " + Quote(wav) + " -t raw -L " + Quote(little)));
    ASSERT_TRUE(RunTool("sox " + Quote(wav) + " -t raw -B " + Quote(big)));

    for (auto [path, bigEndian] : {std::pair{little, false}, std::pair{big, true}}) {
        auto d = OpenRaw(path, bigEndian);
        ASSERT_TRUE(d) << path;
        WAVEFORMATEX format;
        d->GetInfo(APE_INFO_WAVEFORMATEX, reinterpret_cast<std::intptr_t>(&format));
        EXPECT_EQ(format.nChannels, 2);
        EXPECT_EQ(format.nSamplesPerSec, 44100u);
        EXPECT_EQ(format.wBitsPerSample, 16);
        EXPECT_EQ(d->GetInfo(APE_INFO_BLOCK_ALIGN), 4);
        EXPECT_EQ(d->GetInfo(APE_DECOMPRESS_TOTAL_BLOCKS), std::intptr_t(expected.size() / 4));
        EXPECT_EQ(d->GetInfo(APE_INFO_LENGTH_MS), 3000);
        int error = -1;
        EXPECT_TRUE(ReadAll(*d, &error, 999) == expected) << path;
        EXPECT_EQ(error, ERROR_SUCCESS);

        // Seeks at CD-frame cuts land on the sample.
        for (std::int64_t frame : {150, 1, 224}) {
            std::int64_t block = frame * 588;
            ASSERT_EQ(d->Seek(block), ERROR_SUCCESS);
            std::vector<unsigned char> chunk(4 * 100);
            int got = 0;
            d->GetData(chunk.data(), 100, &got);
            ASSERT_EQ(got, 100);
            EXPECT_TRUE(std::equal(chunk.begin(), chunk.end(), expected.begin() + long(block * 4))) << frame;
        }
    }
}

TEST(RawCdImage, ATrailingPartialSampleIsNotSoundAndAnEmptyFileIsRefused)
{
    testing_support::TempDir dir;
    fs::path odd = dir / "odd.bin";
    testing_support::WriteBytes(odd, {1, 0, 2, 0, 3, 0, 4, 0, 9, 9});
    auto d = OpenRaw(odd, false);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->GetInfo(APE_DECOMPRESS_TOTAL_BLOCKS), 2);
    EXPECT_EQ(ReadAll(*d), (std::vector<unsigned char>{1, 0, 2, 0, 3, 0, 4, 0}));

    fs::path empty = dir / "empty.bin";
    testing_support::WriteBytes(empty, {});
    int error = 0;
    EXPECT_FALSE(OpenRaw(empty, false, &error));
    EXPECT_NE(error, ERROR_SUCCESS);
    EXPECT_FALSE(OpenRaw(dir / "missing.bin", true, &error));
    EXPECT_NE(error, ERROR_SUCCESS);
}

}  // namespace
