#include "engine/ApeSource.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <vector>

using namespace testing_support;

namespace {

std::vector<unsigned char> g_pcm;
int g_calls = 0;

void Capture(const unsigned char* data, int bytes, std::int64_t)
{
    ++g_calls;
    g_pcm.insert(g_pcm.end(), data, data + bytes);
}

std::vector<unsigned char> DecodeRange(const std::wstring& path, std::uint32_t start, std::uint32_t end)
{
    ApeSource source;
    EXPECT_EQ(source.Open(path.c_str()), 1);
    EXPECT_EQ(source.SetCallback(Capture), 1);
    source.SetRange(start, end);
    g_pcm.clear();
    g_calls = 0;
    source.Decode();
    return g_pcm;
}

std::wstring Fixture(const char* name) { return FixturePath(name).wstring(); }

}  // namespace

TEST(ApeSource, AdjacentRangesTileTheStreamExactly)
{
    // Odd boundaries inside and across the encoder's frames (73728 blocks).
    const std::uint32_t cuts[] = {0, 999, 1672, 1673, 3333, 4987};
    auto whole = DecodeRange(Fixture("stereo16_44k.ape"), 0, 0);
    ApeSource probe;
    ASSERT_EQ(probe.Open(Fixture("stereo16_44k.ape").c_str()), 1);

    std::vector<unsigned char> joined;
    for (std::size_t i = 0; i < std::size(cuts); ++i) {
        std::uint32_t start = cuts[i];
        std::uint32_t end = i + 1 < std::size(cuts) ? cuts[i + 1] : 0;
        auto part = DecodeRange(Fixture("stereo16_44k.ape"), start, end);
        std::int64_t endBlock = end ? probe.BlockAt(end) : 220500;
        EXPECT_EQ(static_cast<std::int64_t>(part.size()), (endBlock - probe.BlockAt(start)) * 4)
            << "range " << start << "-" << end;
        joined.insert(joined.end(), part.begin(), part.end());
    }
    EXPECT_TRUE(joined == whole) << "tracks must neither repeat nor lose a block";
}

TEST(ApeSource, MillisecondsToBlocksAndEmptyRanges)
{
    ApeSource source;
    ASSERT_EQ(source.Open(Fixture("stereo16_44k.ape").c_str()), 1);
    EXPECT_EQ(source.Info(APE_DECOMPRESS_LENGTH_MS), 5000);
    EXPECT_EQ(source.BlockAt(2500), 110250);
    EXPECT_EQ(source.BlockAt(1), 44);  // 44.1 rounds down

    ApeSource mono;
    ASSERT_EQ(mono.Open(Fixture("mono16_22k.ape").c_str()), 1);
    EXPECT_EQ(mono.BlockAt(1000), 22050);
    EXPECT_EQ(mono.BlockAt(3), 66);  // 66.15

    // A range whose end is not after its start delivers nothing.
    EXPECT_TRUE(DecodeRange(Fixture("stereo16_44k.ape"), 2000, 2000).empty());
    EXPECT_TRUE(DecodeRange(Fixture("stereo16_44k.ape"), 3000, 1000).empty());
    EXPECT_EQ(g_calls, 1);
}

TEST(ApeSource, RefusesWhatItCannotOpen)
{
    ApeSource source;
    EXPECT_EQ(source.Open(nullptr), 0);
    EXPECT_EQ(source.Open(L"/no/such/file.ape"), 0);
    EXPECT_EQ(source.Open(Fixture("stereo16_44k.wav").c_str()), 0);  // not .ape/.cue
    EXPECT_EQ(source.Decode(), -1);
    EXPECT_EQ(source.Info(APE_INFO_BLOCK_ALIGN), -1);
    EXPECT_EQ(source.SetCallback(nullptr), 0);
}
