// CUE tracks cut at CD frames fall on the sample the sheet means, at every
// rate, and tile the image without a gap or an overlap.
#include "engine/ApeSource.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <vector>

using namespace testing_support;

namespace {

std::vector<unsigned char> g_frames;

void Keep(const unsigned char* data, int bytes, std::int64_t) { g_frames.insert(g_frames.end(), data, data + bytes); }

std::vector<unsigned char> DecodeFrames(const char* fixture, std::int64_t start, std::int64_t end)
{
    ApeSource source;
    EXPECT_EQ(source.Open(FixturePath(fixture).wstring().c_str()), 1);
    source.SetCallback(Keep);
    source.SetFrameRange(start, end);
    g_frames.clear();
    source.Decode();
    return g_frames;
}

}  // namespace

TEST(FrameRange, CutsFallOnFrameTimesRateOver75AndTileEveryRate)
{
    struct Case {
        const char* fixture;
        const char* raw;
        int rate, blockBytes;
        std::int64_t frames;  // the image's length in CD frames, rounded down
    } cases[] = {{"stereo16_44k.ape", "s16le", 44100, 4, 375},
                 {"mono16_22k.ape", "s16le", 22050, 2, 150},
                 {"stereo16_48k.ape", "s16le", 48000, 4, 150},
                 {"mono8_8k.ape", "u8", 8000, 1, 112}};
    for (const Case& c : cases) {
        auto whole = FfmpegDecode(FixturePath(c.fixture), c.raw);
        std::vector<std::int64_t> cuts = {0, 1, 2, 74, 75, 76, 101, c.frames - 1};
        std::vector<unsigned char> joined;
        for (std::size_t i = 0; i < cuts.size(); ++i) {
            std::int64_t end = i + 1 < cuts.size() ? cuts[i + 1] : -1;
            auto part = DecodeFrames(c.fixture, cuts[i], end);
            std::int64_t first = cuts[i] * c.rate / 75;
            std::int64_t last = end < 0 ? static_cast<std::int64_t>(whole.size()) / c.blockBytes : end * c.rate / 75;
            EXPECT_EQ(static_cast<std::int64_t>(part.size()), (last - first) * c.blockBytes)
                << c.fixture << " frames " << cuts[i] << "-" << end;
            joined.insert(joined.end(), part.begin(), part.end());
        }
        EXPECT_TRUE(joined == whole) << c.fixture << ": the tracks must neither repeat nor lose a sample";
    }
}
