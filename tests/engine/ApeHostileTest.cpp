// Files that only pretend to be Monkey's Audio: the decoder interface
// refuses or ends them without following them elsewhere or allocating what
// their headers ask for.
#include "modules/apesdk/ApeDecompress.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <future>
#include <sys/stat.h>
#include <unistd.h>
#include <memory>
#include <vector>

using namespace testing_support;

namespace {

std::unique_ptr<IAPEDecompress> Open(const std::filesystem::path& path, int* error)
{
    return std::unique_ptr<IAPEDecompress>(CreateIAPEDecompress(path.wstring().c_str(), error));
}

}  // namespace

// A list of files in the library's playlist and concatenation formats,
// named .ape, beside a real file: opening it must not decode the file it
// names.
TEST(ApeHostile, ListsOfOtherFilesAreRefused)
{
    TempDir dir;
    WriteBytes(dir / "real.ape", ReadBytes(FixturePath("mono8_8k.ape")));
    int error = 0;
    ASSERT_TRUE(Open(dir / "real.ape", &error)) << "the real file opens";
    for (const char* list : {"ffconcat version 1.0\nfile real.ape\n", "#EXTM3U\n#EXTINF:1,\nreal.ape\n"}) {
        std::ofstream(dir / "list.ape") << list;
        error = ERROR_SUCCESS;
        EXPECT_FALSE(Open(dir / "list.ape", &error)) << list;
        EXPECT_EQ(error, ERROR_INVALID_INPUT_FILE) << list;
    }
}

// 281 bytes whose header makes a frame of about two gigabytes, found by
// fuzzing: the library allocated that much for it. Now it may allocate no
// more than 32 MB at once, the frame cannot be read, and the stream ends
// there without delivering anything for it.
TEST(ApeHostile, AFrameLargerThanAnyRealOneEndsTheStream)
{
    int error = -1;
    auto decoder = Open(FixturePath("fuzz/ape-huge-frame.ape"), &error);
    ASSERT_TRUE(decoder) << error;
    const auto align = decoder->GetInfo(APE_INFO_BLOCK_ALIGN);
    ASSERT_GT(align, 0);
    std::vector<unsigned char> buffer(static_cast<std::size_t>(align) * 4096);
    int got = -1;
    decoder->GetData(buffer.data(), 4096, &got);
    EXPECT_EQ(got, 0);
}

// 104 bytes whose last (and only) frame claims 9.8 million blocks, found by
// fuzzing: the library decoded them from 12 bytes of data, for seconds, into
// 39 MB of noise. No encoder writes a frame that long, so the frame is
// reported damaged without being decoded.
TEST(ApeHostile, AFrameLongerThanAnyEncoderWritesIsDamaged)
{
    int error = -1;
    auto decoder = Open(FixturePath("fuzz/ape-long-final-frame.ape"), &error);
    ASSERT_TRUE(decoder) << error;
    const auto align = decoder->GetInfo(APE_INFO_BLOCK_ALIGN);
    ASSERT_GT(align, 0);
    std::vector<unsigned char> buffer(static_cast<std::size_t>(align) * 4096);
    int got = -1;
    EXPECT_EQ(decoder->GetData(buffer.data(), 4096, &got), ERROR_DECOMPRESSING_FRAME);
    EXPECT_EQ(got, 0);
}

// A FIFO named as an album's image (or given directly) used to block the
// row forever in the library's open, waiting for a writer.
TEST(ApeHostile, AFifoIsRefusedWithoutWaiting)
{
    TempDir dir;
    const auto fifo = dir / "image.ape";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    auto opening = std::async(std::launch::async, [&] {
        int error = ERROR_SUCCESS;
        bool opened = Open(fifo, &error) != nullptr;
        return std::make_pair(opened, error);
    });
    if (opening.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "opening a FIFO blocked";
        close(open(fifo.c_str(), O_WRONLY));
    }
    auto [opened, error] = opening.get();
    EXPECT_FALSE(opened);
    EXPECT_EQ(error, ERROR_IO_READ);
}
