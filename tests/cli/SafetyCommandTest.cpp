// kolvex-convert where a run used to lose files, leave them behind or say
// too little: audio MP3 cannot hold, output folders a damaged settings file
// names, runs killed or interrupted twice, names longer than a file system
// takes, and the small things of the command line itself.
#include "tests/cli/CommandRun.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// A copy of a fixture whose header says `rate` Hz.
fs::path WithRate(const TempDir& dir, const char* fixture, std::uint32_t rate, const std::string& name)
{
    auto bytes = ReadBytes(FixturePath(fixture));
    std::uint32_t descriptor;
    std::memcpy(&descriptor, bytes.data() + 8, sizeof descriptor);
    std::memcpy(bytes.data() + descriptor + 20, &rate, sizeof rate);
    WriteBytes(dir / name, bytes);
    return dir / name;
}

// `count` copies of the demo image, as one argument list.
std::string DemoCopies(const TempDir& dir, int count)
{
    std::string inputs;
    for (int i = 0; i < count; ++i) {
        fs::path copy = dir / ("d" + std::to_string(i) + ".ape");
        fs::copy_file(Demo("demo.ape"), copy, fs::copy_options::skip_existing);
        inputs += " " + Q(copy);
    }
    return inputs;
}

std::vector<std::string> Temporaries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& name : FileNames(folder))
        if (name.ends_with(".tmp"))
            names.push_back(name);
    return names;
}

// Starts `run` in the background and, once a temporary file shows in
// `folder`, does `then` to it ($p is its process id).
std::string OnceWriting(const std::string& run, const fs::path& folder, const std::string& then)
{
    return run + " >/dev/null & p=$!; until ls -A " + Q(folder) + " 2>/dev/null | grep -q 'tmp$' || ! kill -0 $p " +
           "2>/dev/null; do sleep 0.002; done; " + then + "; wait $p";
}

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

}  // namespace

TEST(SafetyCommand, Mp3RowsOfRatesMp3CannotHoldFailWithTheReasonAndTheOthersFinish)
{
    TempDir dir;
    auto low = WithRate(dir, "stereo16_44k.ape", 1000, "low.ape");
    auto high = WithRate(dir, "mono16_22k.ape", 1000000, "high.ape");
    fs::copy_file(FixturePath("mono8_8k.ape"), dir / "fine.ape");
    Result r = Convert("-j 1 -o " + Q(dir / "out") + " " + Q(low) + " " + Q(high) + " " + Q(dir / "fine.ape"));
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_TRUE(Has(r, "Summary")) << r.output;
    EXPECT_TRUE(Has(r, "FAILED   low.ape")) << r.output;
    EXPECT_TRUE(Has(r, "sample rate 1000 Hz is below what MP3 can hold")) << r.output;
    EXPECT_TRUE(Has(r, "sample rate 1000000 Hz is above what the MP3 encoder can take")) << r.output;
    EXPECT_TRUE(Has(r, "OK       fine.ape")) << r.output;
    EXPECT_EQ(FileNames(dir / "out"), std::vector<std::string>{"fine.mp3"});
}

// Ten bytes of configure.dat that spell no usable folder: the root another
// way, a relative folder, a control character. Each is said once, and every
// row writes beside its source: never into "/", nor where the program runs.
TEST(SafetyCommand, AStoredFolderThatCannotBeUsedIsSaidOnceAndRowsGoBesideTheirSources)
{
    TempDir dir;
    fs::create_directories(dir / "album");
    fs::create_directories(dir / "cwd");
    fs::copy_file(Demo("demo.ape"), dir / "album" / "demo.ape");
    fs::copy_file(Demo("demo.cue"), dir / "album" / "demo.cue");
    const std::vector<std::pair<std::vector<unsigned char>, std::string>> damaged = {
        {{3, 0, 0, 0, '/', 0, '/', 0, '/', 0}, "the output folder \"///\" is the root folder"},
        {{3, 0, 0, 0, 'o', 0, 'u', 0, 't', 0}, "the output folder \"out/\" is not an absolute path"},
        {{3, 0, 0, 0, '/', 0, 0x1b, 0, 'x', 0}, "the output folder \"/\xEF\xBF\xBDx/\" holds control characters"},
    };
    for (const auto& [bytes, warning] : damaged) {
        SCOPED_TRACE(warning);
        WriteBytes(dir / "configure.dat", bytes);
        Result r = Shell("cd " + Q(dir / "cwd") + " && $K --wav --no-resample --yes --settings " +
                         Q(dir / "configure.dat") + " " + Q(dir / "album" / "demo.cue"));
        EXPECT_EQ(r.status, 0) << r.output;
        EXPECT_EQ(Count(r.output, "kolvex-convert: warning: " + warning + "; writing beside each source"), 1u)
            << r.output;
        EXPECT_EQ(r.output.find('\x1b'), std::string::npos);
        EXPECT_TRUE(Has(r, "Output Directory: (beside each source)")) << r.output;
        auto names = FileNames(dir / "album");
        EXPECT_EQ(names.size(), 5u) << "the sheet, its image and three tracks";
        for (const auto& name : names)
            EXPECT_FALSE(fs::exists(fs::path("/") / name) && name.ends_with(".wav")) << name;
        EXPECT_TRUE(FileNames(dir / "cwd").empty());
    }
    // -o names the folder: the stored one does not matter, nor is it mentioned.
    Result named = Convert("--wav --no-resample --settings " + Q(dir / "configure.dat") + " -o " + Q(dir / "out") +
                           " " + Q(dir / "album" / "demo.cue"));
    EXPECT_EQ(named.status, 0) << named.output;
    EXPECT_FALSE(Has(named, "warning")) << named.output;
    EXPECT_EQ(FileNames(dir / "out").size(), 3u);
}

// A killed run leaves its temporary files; the next run into that folder
// removes them before it writes.
TEST(SafetyCommand, ARunClearsWhatAKilledRunLeftInItsOutputFolder)
{
    TempDir dir;
    std::string inputs = DemoCopies(dir, 6);
    fs::path out = dir / "out";
    std::vector<std::string> left;
    for (int attempt = 0; attempt < 10 && left.empty(); ++attempt) {
        fs::remove_all(out);
        Shell(OnceWriting("$K --yes -o " + Q(out) + inputs, out, "kill -KILL $p"));
        left = Temporaries(out);
    }
    ASSERT_FALSE(left.empty()) << "the run was never killed while it wrote";

    Result next = Convert("--wav --no-resample --yes -o " + Q(out) + " " + Q(FixturePath("mono8_8k.ape")));
    EXPECT_EQ(next.status, 0) << next.output;
    for (const auto& name : left)
        EXPECT_FALSE(fs::exists(out / name)) << name;
    EXPECT_TRUE(fs::exists(out / "mono8_8k.wav"));
}

// A second signal ends the run at once, rows still writing: their
// unfinished files go too.
TEST(SafetyCommand, TwoSignalsInARowLeaveNoTemporaryFile)
{
    TempDir dir;
    std::string inputs = DemoCopies(dir, 8);
    for (const char* second : {"sleep 0.01; kill -INT $p", "kill -TERM $p"}) {
        SCOPED_TRACE(second);
        fs::path out = dir / "out";
        fs::remove_all(out);
        Result r = Shell(OnceWriting("$K -j 2 --yes -o " + Q(out) + inputs, out, std::string("kill -INT $p; ") + second));
        EXPECT_GT(r.status, 128) << r.output;
        EXPECT_EQ(Temporaries(out), std::vector<std::string>{});
    }
}

// Titles and patterns longer than a file name can be still convert: the
// name is cut at a character, its number and extension kept.
TEST(SafetyCommand, ALongTitleOrNamePatternStillConverts)
{
    TempDir dir;
    fs::copy_file(Demo("demo.ape"), dir / "demo.ape");
    // 300 bytes; a sheet's line holds 260, so the title keeps 252 of them:
    // with ".mp3" one byte more than a name can have.
    std::string title;
    for (int i = 0; i < 150; ++i)
        title += "\xC3\xA9";
    std::string sheet = "FILE \"demo.ape\" WAVE\n";
    for (int i = 1; i <= 2; ++i)
        sheet += "TRACK 0" + std::to_string(i) + " AUDIO\nTITLE \"" + title + "\"\nINDEX 01 00:0" +
                 std::to_string(2 * i) + ":00\n";
    WriteBytes(dir / "long.cue", std::vector<unsigned char>(sheet.begin(), sheet.end()));

    Result r = Convert("-o " + Q(dir / "mp3") + " " + Q(dir / "long.cue"));
    EXPECT_EQ(r.status, 0) << r.output;
    auto names = FileNames(dir / "mp3");
    ASSERT_EQ(names.size(), 2u);
    EXPECT_TRUE(names[0].ends_with("\xC3\xA9 (2).mp3")) << names[0];
    EXPECT_TRUE(names[1].ends_with("\xC3\xA9.mp3")) << names[1];
    for (const auto& name : names) {
        EXPECT_LE(name.size(), 255u);
        EXPECT_GE(name.size(), 250u);
        EXPECT_EQ(Count(name, "\xC3"), Count(name, "\xA9")) << "no character cut in half";
    }

    Result pattern = Convert("--wav --no-resample --name '%t-" + std::string(300, 'x') + "' -o " + Q(dir / "wav") +
                             " " + Q(dir / "long.cue"));
    EXPECT_EQ(pattern.status, 0) << pattern.output;
    names = FileNames(dir / "wav");
    ASSERT_EQ(names.size(), 2u);
    for (const auto& name : names) {
        EXPECT_LE(name.size(), 255u);
        EXPECT_TRUE(name.ends_with(".wav")) << name;
    }
}

TEST(SafetyCommand, ListFailsForASheetWithoutAnImageOrTracks)
{
    TempDir dir;
    std::string missing = "FILE \"gone.ape\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n";
    WriteBytes(dir / "missing.cue", std::vector<unsigned char>(missing.begin(), missing.end()));
    std::string empty = "REM GENRE Silence\n";
    WriteBytes(dir / "empty.cue", std::vector<unsigned char>(empty.begin(), empty.end()));

    Result gone = Convert("--list " + Q(dir / "missing.cue"));
    EXPECT_EQ(gone.status, 1) << gone.output;
    EXPECT_TRUE(Has(gone, "missing.cue: cannot be converted: the file is missing: " + (dir / "gone.ape").string()))
        << gone.output;
    Result none = Convert("--list " + Q(dir / "empty.cue"));
    EXPECT_EQ(none.status, 1) << none.output;
    EXPECT_TRUE(Has(none, "empty.cue: cannot be converted: the CUE sheet names no audio file")) << none.output;

    Result fine = Convert("--list " + Q(Demo("demo.cue")));
    EXPECT_EQ(fine.status, 0) << fine.output;
}

TEST(SafetyCommand, UsageErrorsSayWhatIsWrongAndNeverEchoControlCharacters)
{
    Result jobs = Convert("-j abc x.ape");
    EXPECT_EQ(jobs.status, 2);
    EXPECT_TRUE(Has(jobs, "'abc' is not a whole number")) << jobs.output;
    EXPECT_FALSE(Has(jobs, "not in range")) << jobs.output;
    Result threads = Convert("--threads 0 x.ape");
    EXPECT_EQ(threads.status, 2);
    EXPECT_TRUE(Has(threads, "--threads: 0 is not between 1 and 256")) << threads.output;

    for (const char* arguments : {"--bogus $(printf '\\033[31m\\007') x.ape", "$(printf 'no\\033]0;title\\007.ape')",
                                  "-j $(printf '\\033[2J')"}) {
        SCOPED_TRACE(arguments);
        Result r = Convert(arguments);
        EXPECT_EQ(r.status, 2) << r.output;
        EXPECT_EQ(r.output.find('\x1b'), std::string::npos) << r.output;
        EXPECT_EQ(r.output.find('\x07'), std::string::npos) << r.output;
        EXPECT_TRUE(Has(r, "\xEF\xBF\xBD")) << r.output;
    }
}

// By its path twice, by another spelling of the path, by a link: one file,
// converted once, with a word about the others.
TEST(SafetyCommand, OneFileGivenSeveralTimesIsConvertedOnce)
{
    TempDir dir;
    fs::copy_file(FixturePath("mono8_8k.ape"), dir / "song.ape");
    fs::create_symlink("song.ape", dir / "link.ape");
    fs::create_hard_link(dir / "song.ape", dir / "hard.ape");
    Result r = Shell("cd " + Q(dir.path()) + " && $K --wav --no-resample -o out song.ape ./song.ape " +
                     Q(dir / "song.ape") + " link.ape hard.ape song.ape");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(FileNames(dir / "out"), std::vector<std::string>{"song.wav"});
    EXPECT_EQ(Count(r.output, "; converting it once"), 5u) << r.output;
    EXPECT_TRUE(Has(r, "song.ape: warning: given more than once; converting it once")) << r.output;
    EXPECT_TRUE(Has(r, "link.ape: warning: the same file as song.ape; converting it once")) << r.output;
    EXPECT_EQ(Count(r.output, "OK       "), 1u) << r.output;
}

TEST(SafetyCommand, ASettingsFileThatIsAPipeOrADeviceIsRefused)
{
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "settings").c_str(), 0600), 0);
    for (const fs::path& settings : {dir / "settings", fs::path("/dev/null")}) {
        SCOPED_TRACE(settings.string());
        Result r = Shell("timeout 30 $K --wav -o " + Q(dir / "out") + " --settings " + Q(settings) + " " +
                         Q(FixturePath("mono8_8k.ape")));
        EXPECT_EQ(r.status, 1) << r.output;
        EXPECT_TRUE(Has(r, "kolvex-convert: --settings " + settings.string() +
                               ": not an ordinary file (a pipe or a device)"))
            << r.output;
        EXPECT_FALSE(fs::exists(dir / "out"));
    }
}
