// Decoding ahead on several threads gives what decoding on the caller's
// thread gives: the same PCM, the same result codes at the same calls, on
// sound, damaged and refused files alike, and after seeks to any block.
#include "tests/apesdk/DecodeTrace.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

constexpr int kThreadCounts[] = {2, 4};

// Several frames ahead of the reader, odd chunks that end inside frames.
constexpr int kChunk = 1000;

void ExpectSameAsSerial(const fs::path& path, std::int64_t start = 0, std::int64_t blocks = -1)
{
    DecodeTrace serial = Decode(path, 1, kChunk, start, blocks);
    for (int threads : kThreadCounts) {
        SCOPED_TRACE(path.filename().string() + ", " + std::to_string(threads) + " threads, from block " +
                     std::to_string(start));
        DecodeTrace parallel = Decode(path, threads, kChunk, start, blocks);
        EXPECT_EQ(parallel.openError, serial.openError);
        EXPECT_EQ(parallel.calls, serial.calls);
        EXPECT_TRUE(parallel.pcm == serial.pcm) << parallel.pcm.size() << " bytes, serial " << serial.pcm.size();
    }
}

}  // namespace

TEST(ParallelDecode, EveryFileGivesTheSerialBytesAndResults)
{
    auto files = AllApeFiles();
    ASSERT_FALSE(SharedTestData().empty()) << "shared test data not found (KOLVEX_TESTDATA)";
    ASSERT_GE(files.size(), 14u);
    int decodable = 0;
    for (const fs::path& file : files) {
        ExpectSameAsSerial(file);
        ExpectSameAsSerial(file, 12345, 20000);
        decodable += Decode(file, 1, kChunk).pcm.empty() ? 0 : 1;
    }
    EXPECT_GE(decodable, 10) << "most files hold audio";
}

TEST(ParallelDecode, TheSerialDecodeIsTheSourcePcm)
{
    // The reference the other cases hold the pool to must itself be right.
    for (auto [name, format] : {std::pair{"sweep8_8k.ape", "u8"}, std::pair{"stereo16_44k.ape", "s16le"}}) {
        auto serial = Decode(FixturePath(name), 1, kChunk);
        auto parallel = Decode(FixturePath(name), 4, kChunk);
        EXPECT_TRUE(serial.pcm == FfmpegDecode(FixturePath(name), format)) << name;
        EXPECT_TRUE(parallel.pcm == serial.pcm) << name;
    }
}

TEST(ParallelDecode, DamagedFilesFailAtTheSameCallsAsSerial)
{
    TempDir dir;
    int reportedDamage = 0;
    for (const char* name : {"stereo16_44k.ape", "sweep8_8k.ape"}) {
        auto whole = ReadBytes(FixturePath(name));
        std::vector<std::pair<std::string, std::vector<unsigned char>>> damaged;
        for (std::size_t cut : {std::size_t(100), whole.size() / 3, whole.size() / 2, whole.size() - 7})
            damaged.emplace_back("cut" + std::to_string(cut), std::vector<unsigned char>(whole.begin(), whole.begin() + std::ptrdiff_t(cut)));
        for (std::size_t at : {std::size_t(40), std::size_t(120), whole.size() / 5, whole.size() / 2, whole.size() * 6 / 7}) {
            damaged.emplace_back("flip" + std::to_string(at), whole);
            damaged.back().second[at] ^= 0x5A;
        }
        for (const auto& [label, bytes] : damaged) {
            fs::path path = dir / (std::string(name) + "." + label + ".ape");
            WriteBytes(path, bytes);
            ExpectSameAsSerial(path);
            ExpectSameAsSerial(path, 80000, 30000);
            for (const auto& [got, result] : Decode(path, 1, kChunk).calls)
                if (result != ERROR_SUCCESS) {
                    ++reportedDamage;
                    break;
                }
        }
    }
    EXPECT_GE(reportedDamage, 6) << "the damage must reach the decoder, not only the demuxer";
}

TEST(ParallelDecode, SeeksLandOnTheExactBlockInsideAndBetweenFrames)
{
    std::vector<fs::path> files = {FixturePath("stereo16_44k.ape"), FixturePath("sweep8_8k.ape"),
                                   SharedTestData() / "ape" / "mac-399.ape"};
    for (const fs::path& file : files) {
        DecodeTrace whole = Decode(file, 1, kChunk);
        ASSERT_FALSE(whole.pcm.empty()) << file;
        auto decoder = OpenDecoder(file, 1);
        auto align = static_cast<std::size_t>(decoder->GetInfo(APE_INFO_BLOCK_ALIGN));
        std::int64_t total = static_cast<std::int64_t>(whole.pcm.size() / align);
        const std::int64_t frame = 73728;  // the encoder's frame at these levels
        for (std::int64_t start : {std::int64_t(1), std::int64_t(777), frame - 1, frame, frame + 1, 2 * frame + 4321,
                                   total - 3, total, total + 100}) {
            for (int threads : {1, 2, 4}) {
                SCOPED_TRACE(file.filename().string() + " at " + std::to_string(start) + ", " +
                             std::to_string(threads) + " threads");
                DecodeTrace part = Decode(file, threads, kChunk, start, 20000);
                std::size_t from = std::min<std::size_t>(std::size_t(start) * align, whole.pcm.size());
                std::size_t to = std::min<std::size_t>(from + 20000 * align, whole.pcm.size());
                EXPECT_EQ(part.calls.front(), std::make_pair(-1, ERROR_SUCCESS));
                EXPECT_TRUE(part.pcm == std::vector<unsigned char>(whole.pcm.begin() + std::ptrdiff_t(from),
                                                                   whole.pcm.begin() + std::ptrdiff_t(to)));
            }
        }
    }
}
