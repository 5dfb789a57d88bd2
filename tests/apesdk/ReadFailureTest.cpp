// A frame the demuxer cannot read (its place in the seek table lies before
// the frame ahead of it) breaks the stream off: the decoder reports it at
// that point instead of ending as if the file were whole, and decoding ahead
// on several threads reports it at the very same call.
#include "tests/apesdk/DecodeTrace.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

std::uint32_t Le32(const std::vector<unsigned char>& bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// The file with its seek table's entry `frame` moved before the previous
// frame's start.
std::vector<unsigned char> WithFrameOutOfOrder(std::vector<unsigned char> bytes, std::size_t frame)
{
    std::size_t table = Le32(bytes, 8) + Le32(bytes, 12);  // after the descriptor and the header
    std::uint32_t moved = Le32(bytes, table + 4 * (frame - 1)) - 10;
    for (int i = 0; i < 4; ++i)
        bytes[table + 4 * frame + std::size_t(i)] = static_cast<unsigned char>(moved >> (8 * i));
    return bytes;
}

}  // namespace

TEST(ApeReadFailure, AFrameThatCannotBeReadFailsTheDecodeWhereItStands)
{
    TempDir dir;
    auto whole = ReadBytes(FixturePath("sweep8_8k.ape"));
    DecodeTrace sound = Decode(FixturePath("sweep8_8k.ape"), 1, 1000);
    for (std::size_t frame : {std::size_t(1), std::size_t(3), std::size_t(6)}) {
        fs::path path = dir / ("frame" + std::to_string(frame) + ".ape");
        WriteBytes(path, WithFrameOutOfOrder(whole, frame));
        DecodeTrace serial = Decode(path, 1, 1000);
        SCOPED_TRACE(path.filename().string());
        ASSERT_EQ(serial.openError, ERROR_SUCCESS);
        ASSERT_FALSE(serial.calls.empty());
        EXPECT_EQ(serial.calls.back().second, ERROR_IO_READ);
        // What came before the broken frame is the sound file's audio.
        ASSERT_LT(serial.pcm.size(), sound.pcm.size());
        EXPECT_TRUE(std::equal(serial.pcm.begin(), serial.pcm.end(), sound.pcm.begin()));
        for (const auto& [blocks, result] : serial.calls)
            if (result != ERROR_SUCCESS) {
                EXPECT_EQ(result, ERROR_IO_READ);
                break;
            }
        for (int threads : {2, 4}) {
            DecodeTrace parallel = Decode(path, threads, 1000);
            EXPECT_EQ(parallel.calls, serial.calls) << threads << " threads";
            EXPECT_TRUE(parallel.pcm == serial.pcm) << threads << " threads";
        }
    }
}
