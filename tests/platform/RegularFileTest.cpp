// Files named to be read are opened only when they are ordinary files, and
// the open never waits: a FIFO under the name used to block forever.
#include "platform/core/RegularFile.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <future>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace testing_support;

TEST(RegularFile, RefusesAFifoAtOnce)
{
    TempDir dir;
    const auto fifo = dir / "image.wav";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    auto opening = std::async(std::launch::async, [&] {
        std::string why = "unchanged";
        int fd = win::OpenRegularFile(fifo.wstring(), &why);
        return std::make_pair(fd, why);
    });
    if (opening.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "opening a FIFO blocked";
        // A writer lets the blocked open go on, so the test can end.
        close(open(fifo.c_str(), O_WRONLY));
    }
    auto [fd, why] = opening.get();
    EXPECT_EQ(fd, -1);
    EXPECT_EQ(why, "not an ordinary file (a pipe or a device)");

    std::string streamWhy;
    EXPECT_EQ(win::OpenRegularStream(fifo.wstring(), &streamWhy), nullptr);
    EXPECT_EQ(streamWhy, "not an ordinary file (a pipe or a device)");
    EXPECT_EQ(win::RegularFileProblem(fifo.wstring()), "not an ordinary file (a pipe or a device)");
}

TEST(RegularFile, OpensOrdinaryFilesForBlockingReadsAndSaysWhyNot)
{
    TempDir dir;
    std::ofstream(dir / "a.dat") << "abc";
    std::string why;
    std::FILE* file = win::OpenRegularStream((dir / "a.dat").wstring(), &why);
    ASSERT_NE(file, nullptr) << why;
    EXPECT_EQ(fcntl(fileno(file), F_GETFL) & O_NONBLOCK, 0);
    char text[4] = {};
    EXPECT_EQ(std::fread(text, 1, 3, file), 3u);
    EXPECT_STREQ(text, "abc");
    std::fclose(file);
    EXPECT_EQ(win::RegularFileProblem((dir / "a.dat").wstring()), "");

    EXPECT_EQ(win::RegularFileProblem(dir.path().wstring()), "is a folder");
    EXPECT_EQ(win::RegularFileProblem((dir / "missing").wstring()), "cannot be read: No such file or directory");
    EXPECT_EQ(win::RegularFileProblem(L"/dev/null"), "not an ordinary file (a pipe or a device)");
}
