// kolvex-convert with rows side by side (-j): the same files as one row at a
// time, each row's own summary line and the run's exit status, clean
// interruption, and (in the TSan build) no data race among the workers.
#include "tests/cli/CommandRun.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// Runs the converter; a report of the thread sanitizer fails the test.
Result Checked(const std::string& arguments)
{
    Result r = Convert(arguments);
    EXPECT_FALSE(Has(r, "ThreadSanitizer")) << r.output;
    return r;
}

std::map<std::string, std::vector<unsigned char>> Files(const fs::path& dir)
{
    std::map<std::string, std::vector<unsigned char>> files;
    for (const auto& entry : fs::directory_iterator(dir))
        files[entry.path().filename().string()] = ReadBytes(entry.path());
    return files;
}

// The small fixtures, each `copies` times over, as one argument list.
std::string ManySmallFiles(const TempDir& dir, int copies)
{
    std::string inputs;
    for (const char* name : {"mono8_8k.ape", "stereo8_11k.ape", "mono16_22k.ape", "stereo16_48k.ape"})
        for (int i = 0; i < copies; ++i) {
            fs::path copy = dir / (std::to_string(i) + "_" + name);
            fs::copy_file(FixturePath(name), copy, fs::copy_options::skip_existing);
            inputs += " " + Q(copy);
        }
    return inputs;
}

// Converts `inputs` one row at a time and then `jobs` rows at once: both
// runs succeed and make the same `count` files, byte for byte.
void ExpectSameFilesSideBySide(const TempDir& dir, const std::string& options, const std::string& inputs, int jobs,
                               std::size_t count)
{
    SCOPED_TRACE(options);
    Result one = Checked(options + " -j 1 --yes -o " + Q(dir / "one") + inputs);
    Result many = Checked(options + " -j " + std::to_string(jobs) + " --yes -o " + Q(dir / "many") + inputs);
    ASSERT_EQ(one.status, 0) << one.output;
    ASSERT_EQ(many.status, 0) << many.output;
    auto expected = Files(dir / "one");
    EXPECT_EQ(expected.size(), count);
    EXPECT_TRUE(Files(dir / "many") == expected);
    fs::remove_all(dir / "one");
    fs::remove_all(dir / "many");
}

}  // namespace

TEST(ParallelCommand, AnAlbumSideBySideGivesTheSameFilesAsOneRowAtATime)
{
    TempDir dir;
    ExpectSameFilesSideBySide(dir, "--wav --resample", " " + Q(Demo("demo.cue")), 2, 3);
    ExpectSameFilesSideBySide(dir, "--mp3 --threads 2", " " + Q(Demo("demo.cue")), 2, 3);
}

// Many short rows keep four workers starting and ending at once; with the
// resampler on, mono and odd rates also take the resampling path. The same
// threads per row on both sides: rows side by side must not change a file.
TEST(ParallelCommand, FourWorkersOnManySmallFilesEachMakeTheirOwnFile)
{
    TempDir dir;
    std::string inputs = ManySmallFiles(dir, 4);
    ExpectSameFilesSideBySide(dir, "--wav --resample", inputs, 4, 16);
    ExpectSameFilesSideBySide(dir, "--mp3 --threads 2", inputs, 4, 16);
}

// The summary stays one line per row in row order, whichever row ends
// first, and a single failed row among them makes the run fail.
TEST(ParallelCommand, OneFailingRowAmongParallelOnesFailsTheRunAndSaysWhich)
{
    TempDir dir;
    auto image = ReadBytes(Demo("demo.ape"));
    WriteBytes(dir / "cut.ape", std::vector<unsigned char>(image.begin(), image.begin() + 300000));
    fs::copy_file(FixturePath("stereo16_44k.ape"), dir / "b.ape");
    fs::copy_file(FixturePath("mono16_22k.ape"), dir / "d.ape");
    Result r = Checked("--wav --no-resample -j 3 --yes -o " + Q(dir / "out") + " " + Q(FixturePath("mono8_8k.ape")) + " " +
                   Q(dir / "b.ape") + " " + Q(dir / "cut.ape") + " " + Q(dir / "d.ape"));
    EXPECT_EQ(r.status, 1) << r.output;
    auto summary = r.output.substr(std::min(r.output.size(), r.output.find("Summary:")));
    const char* lines[] = {"OK       mono8_8k.ape", "OK       b.ape", "FAILED   cut.ape", "OK       d.ape"};
    std::size_t at = 0;
    for (const char* line : lines) {
        std::size_t found = summary.find(line, at);
        EXPECT_NE(found, std::string::npos) << line << " in row order in:\n" << summary;
        at = found == std::string::npos ? at : found;
    }
    EXPECT_TRUE(Has(r, "cut.wav: damaged source")) << r.output;
    EXPECT_FALSE(fs::exists(dir / "out" / "cut.wav"));
    EXPECT_EQ(Files(dir / "out").size(), 3u);
}

// Ctrl-C stops every running row: each leaves its finished file or none,
// never a part of one under a real name or a temporary one.
TEST(ParallelCommand, AnInterruptedRunLeavesNoPartialFiles)
{
    TempDir dir;
    fs::copy_file(Demo("demo.ape"), dir / "demo.ape");
    Result alone = Checked("--wav --no-resample -o " + Q(dir / "ref") + " " + Q(dir / "demo.ape"));
    ASSERT_EQ(alone.status, 0) << alone.output;
    auto reference = ReadBytes(dir / "ref" / "demo.wav");
    std::string inputs;
    for (int i = 0; i < 8; ++i) {
        fs::copy_file(dir / "demo.ape", dir / ("d" + std::to_string(i) + ".ape"));
        inputs += " " + Q(dir / ("d" + std::to_string(i) + ".ape"));
    }
    std::string out = Q(dir / "out");
    Result r = Shell("$K --wav --no-resample -j 3 --yes -o " + out + inputs + " & p=$!; i=0; until ls " + out +
                     " 2>/dev/null | grep -q . || [ $i -gt 3000 ]; do sleep 0.01; i=$((i+1)); done; kill -INT $p; wait $p");
    EXPECT_FALSE(Has(r, "ThreadSanitizer")) << r.output;
    EXPECT_EQ(r.status, 130) << r.output;
    EXPECT_TRUE(Has(r, "cancelled: the unfinished file was removed")) << r.output;
    int whole = 0;
    for (const auto& [name, bytes] : Files(dir / "out")) {
        EXPECT_TRUE(bytes == reference) << name << " is not a whole file";
        whole += bytes == reference;
    }
    EXPECT_LT(whole, 8) << "the run was not interrupted";
}

// On a terminal the rows running at once each have a bar, redrawn together
// with the run's line above them (the cursor goes back up over all of
// them), and no line is wider than the terminal, which would break that
// redrawing.
TEST(ParallelCommand, OnATerminalEveryRunningRowHasItsOwnBar)
{
    ASSERT_EQ(MissingTools({"script"}), "");
    TempDir dir;
    fs::copy_file(Demo("demo.ape"), dir / "first.ape");
    fs::copy_file(Demo("demo.ape"), dir / "second.ape");
    Result r = Shell("script -qec \"stty cols 80; $K --wav --no-resample -j 2 --yes -o " + Q(dir / "out") + " " +
                     Q(dir / "first.ape") + " " + Q(dir / "second.ape") + "\" /dev/null");
    EXPECT_FALSE(Has(r, "ThreadSanitizer")) << r.output;
    ASSERT_EQ(r.status, 0) << r.output;
    // Numbered in the order they started, which either may win.
    EXPECT_TRUE(Has(r, "/2] first.ape ")) << r.output;
    EXPECT_TRUE(Has(r, "/2] second.ape ")) << r.output;
    EXPECT_TRUE(Has(r, "[2/2] ")) << r.output;
    // The run's own line stands above the bars.
    EXPECT_TRUE(Has(r, "\x1b[A\x1b[A\x1b[J")) << "two bars were never shown at once";
    // Bars follow the list's order, so either number may come first.
    EXPECT_TRUE(std::regex_search(r.output, std::regex("\x1b\\[Jalbums [0-2] of 2, audio [0-9:]+ of 0:47\r\n\\[")))
        << r.output;
    std::size_t start = 0;
    for (std::size_t at = 0; at <= r.output.size(); ++at) {
        if (at < r.output.size() && r.output[at] != '\r' && r.output[at] != '\n')
            continue;
        std::string line = r.output.substr(start, at - start);
        for (const char* escape : {"\x1b[A", "\x1b[J", "\x1b[K"})
            for (std::size_t e; (e = line.find(escape)) != std::string::npos;)
                line.erase(e, 3);
        if (line.find(" converting [") != std::string::npos || line.find("albums ") != std::string::npos) {
            EXPECT_LT(line.size(), 80u) << line;
        }
        start = at + 1;
    }
}
