// kolvex-convert with the inputs and situations that used to lose or harm
// files or report a failure as success: clashing track titles, kept files,
// inputs it cannot convert, odd names and signals. (Links to the source are
// the engine's own check: engine_safety_test.)
#include "tests/cli/CommandRun.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sys/stat.h>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// Three tracks of the demo image, all titled `title`.
fs::path SheetWithTitles(const TempDir& dir, const std::string& title)
{
    fs::copy_file(Demo("demo.ape"), dir / "demo.ape", fs::copy_options::skip_existing);
    std::string sheet = "FILE \"demo.ape\" WAVE\n";
    for (int i = 0; i < 3; ++i)
        sheet += "  TRACK 0" + std::to_string(i + 1) + " AUDIO\n    TITLE \"" + title + "\"\n    INDEX 01 00:0" +
                 std::to_string(2 * i) + ":00\n";
    WriteBytes(dir / "same.cue", std::vector<unsigned char>(sheet.begin(), sheet.end()));
    return dir / "same.cue";
}

}  // namespace

TEST(CarefulCommand, TracksWithOneTitleGetNumberedNamesAndControlCharactersAreNotShown)
{
    TempDir dir;
    auto sheet = SheetWithTitles(dir, "Same");
    for (const char* answer : {"--yes ", ""}) {
        Result r = Convert(std::string(answer) + "--wav --no-resample -o " + Q(dir / "out") + " " + Q(sheet));
        EXPECT_EQ(r.status, 0) << r.output;
        EXPECT_EQ(FileNames(dir / "out"), (std::vector<std::string>{"Same (2).wav", "Same (3).wav", "Same.wav"}));
        fs::remove_all(dir / "out");
    }
    // ESC and BEL in a title reach neither the terminal nor the file name.
    fs::remove(sheet);
    sheet = SheetWithTitles(dir, "Red\x1b[31m\x07");
    Result r = Convert("--wav --no-resample -o " + Q(dir / "out") + " " + Q(sheet));
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output.find('\x1b'), std::string::npos);
    EXPECT_EQ(r.output.find('\x07'), std::string::npos);
    EXPECT_TRUE(Has(r, "Red\xEF\xBF\xBD[31m\xEF\xBF\xBD")) << r.output;
    EXPECT_TRUE(fs::exists(dir / "out" / "Red_[31m_.wav"));
}

// A kept file is left out entirely and never resampled. With --resample a
// kept WAV that is not 16-bit 44100 Hz stereo (the source-rate file of an
// earlier run whose resampling failed, say) is not taken for a finished one:
// the run fails and says so.
TEST(CarefulCommand, KeptFilesAreLeftOutEntirely)
{
    TempDir dir;
    auto made = RunCapture("sox -n -r 48000 -c 2 -b 16 " + Q(dir / "stereo16_48k.wav") + " synth 0.2 sine 440 && " +
                           "sox -n -r 44100 -c 2 -b 16 " + Q(dir / "stereo16_44k.wav") + " synth 0.2 sine 440 && echo ok");
    ASSERT_NE(std::string(made.begin(), made.end()).find("ok"), std::string::npos);
    auto before = ReadBytes(dir / "stereo16_48k.wav");
    Result r = Convert("--wav --resample --no -o " + Q(dir.path()) + " " + Q(FixturePath("stereo16_48k.ape")));
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_TRUE(Has(r, "FAILED   stereo16_48k.ape")) << r.output;
    EXPECT_TRUE(Has(r, "kept the existing file, which is not 16-bit 44100 Hz stereo")) << r.output;
    EXPECT_FALSE(Has(r, "resampling")) << "a kept file is not resampled";
    EXPECT_TRUE(ReadBytes(dir / "stereo16_48k.wav") == before);

    Result cd = Convert("--wav --resample --no -o " + Q(dir.path()) + " " + Q(FixturePath("stereo16_44k.ape")));
    EXPECT_EQ(cd.status, 0) << cd.output;
    EXPECT_TRUE(Has(cd, "skipped  stereo16_44k.ape")) << cd.output;
}

TEST(CarefulCommand, InputsItCannotConvertAreLeftOutBeforeAnythingRuns)
{
    TempDir dir;
    WriteBytes(dir / "notes.txt", {'h', 'i'});
    WriteBytes(dir / "notes.wav", {'m', 'i', 'n', 'e'});
    ASSERT_EQ(mkfifo((dir / "pipe.ape").c_str(), 0600), 0);
    fs::create_symlink("/dev/urandom", dir / "noise.ape");
    fs::create_directory(dir / "folder");
    // A sheet beside an image that leads to an endless device: ignored.
    fs::copy_file(FixturePath("mono8_8k.ape"), dir / "song.ape");
    fs::create_symlink("/dev/zero", dir / "song.cue");

    Result r = Shell("timeout 60 $K --wav --no-resample " + Q(dir / "notes.txt") + " " + Q(dir / "pipe.ape") + " " +
                     Q(dir / "noise.ape") + " " + Q(dir / "folder") + " " + Q(dir / "song.ape"));
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_TRUE(Has(r, "notes.txt: not a sound file we can convert")) << r.output;
    EXPECT_TRUE(Has(r, "pipe.ape: not an ordinary file")) << r.output;
    EXPECT_TRUE(Has(r, "noise.ape: not an ordinary file")) << r.output;
    EXPECT_TRUE(Has(r, "folder: is a folder")) << r.output;
    EXPECT_TRUE(Has(r, "OK       song.ape")) << r.output;
    EXPECT_EQ(ReadBytes(dir / "notes.wav").size(), 4u);

    Result folderOnly = Convert("--wav " + Q(dir / "folder") + " " + Q(dir / "song.ape") + " --yes");
    EXPECT_EQ(folderOnly.status, 0) << folderOnly.output;
}

TEST(CarefulCommand, TheOutputFolderIsCreatedOrRefusedBeforeAnyRow)
{
    TempDir dir;
    Result made = Convert("--wav -o " + Q(dir / "a" / "b" / "c") + " " + Q(FixturePath("mono8_8k.ape")));
    EXPECT_EQ(made.status, 0) << made.output;
    EXPECT_TRUE(fs::exists(dir / "a" / "b" / "c" / "mono8_8k.wav"));

    WriteBytes(dir / "file", {'x'});
    Result refused = Convert("--wav -o " + Q(dir / "file" / "sub") + " " + Q(FixturePath("mono8_8k.ape")));
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(Has(refused, "cannot create the output folder")) << refused.output;

    // A folder that cannot be made fails only the rows that write there.
    fs::copy_file(Demo("demo.ape"), dir / "demo.ape");
    std::string sheet = "FILE \"demo.ape\" WAVE\n  TRACK 01 AUDIO\n    TITLE \"file\"\n    INDEX 01 00:00:00\n"
                        "  TRACK 02 AUDIO\n    TITLE \"fine\"\n    INDEX 01 00:02:00\n";
    WriteBytes(dir / "two.cue", std::vector<unsigned char>(sheet.begin(), sheet.end()));
    Result alone = Convert("--wav --no-resample --name '%t/x' -o " + Q(dir.path()) + " " + Q(dir / "two.cue"));
    EXPECT_EQ(alone.status, 1) << alone.output;
    EXPECT_TRUE(Has(alone, "FAILED   file")) << alone.output;
    EXPECT_TRUE(Has(alone, "OK       fine")) << alone.output;
    EXPECT_TRUE(fs::exists(dir / "fine" / "x.wav")) << alone.output;

    // A sub-folder made for a row that then failed does not stay behind.
    auto whole = ReadBytes(FixturePath("mono8_8k.ape"));
    WriteBytes(dir / "cut.ape", std::vector<unsigned char>(whole.begin(), whole.begin() + whole.size() / 3));
    Result damaged = Convert("--wav --no-resample --name 'sub/deeper/%f' -o " + Q(dir / "out") + " " + Q(dir / "cut.ape"));
    EXPECT_EQ(damaged.status, 1) << damaged.output;
    EXPECT_TRUE(Has(damaged, "damaged source")) << damaged.output;
    // Audio that made no file does not count as converted.
    EXPECT_TRUE(Has(damaged, "0 converted, 1 failed, 0 skipped, 0 up to date; audio 0:00 in")) << damaged.output;
    EXPECT_TRUE(fs::exists(dir / "out"));
    EXPECT_FALSE(fs::exists(dir / "out" / "sub")) << damaged.output;
}

TEST(CarefulCommand, NamesThatAreNotUtf8RoundTrip)
{
    TempDir dir;
    fs::path folder = dir / "d\xE9r";
    fs::create_directory(folder);
    fs::copy_file(FixturePath("mono8_8k.ape"), folder / "caf\xE9.ape");
    Result r = Convert("--wav -o " + Q(dir / "out\xE9") + " " + Q(folder / "caf\xE9.ape"));
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(fs::exists(dir / "out\xE9" / "caf\xE9.wav"));
    EXPECT_TRUE(Has(r, "caf\xEF\xBF\xBD.ape")) << "shown as U+FFFD";
    EXPECT_FALSE(Has(r, "caf\xE9")) << "the raw byte never reaches the terminal";
}

TEST(CarefulCommand, SignalsEndTheRunCleanlyWithItsSummary)
{
    TempDir dir;
    // Copies: one file given twice is converted once.
    std::string inputs;
    for (int i = 0; i < 12; ++i) {
        fs::path copy = dir / ("d" + std::to_string(i) + ".ape");
        fs::copy_file(Demo("demo.ape"), copy);
        inputs += " " + Q(copy);
    }
    for (const char* signal : {"INT", "TERM", "HUP", "QUIT"}) {
        SCOPED_TRACE(signal);
        fs::remove_all(dir / "out");
        // The signal comes once the first row writes its (temporary) file.
        std::string out = Q(dir / "out");
        Result r = Shell("$K --yes -o " + out + inputs + " & p=$!; i=0; until ls -A " + out +
                         " 2>/dev/null | grep -q '[.]tmp$' || [ $i -gt 3000 ]; do sleep 0.01; i=$((i+1)); done; kill -" +
                         signal + " $p; wait $p");
        EXPECT_GT(r.status, 128) << r.output;
        EXPECT_TRUE(Has(r, "Summary")) << r.output;
        EXPECT_TRUE(Has(r, "cancelled: the unfinished file was removed") || Has(r, "not started")) << r.output;
        for (const auto& name : FileNames(dir / "out"))
            EXPECT_FALSE(name.ends_with(".tmp")) << name;
    }
    // A closed pipe ends the run too, with the summary on stderr.
    Shell("$K --yes -o " + Q(dir / "out") + inputs + " 2>" + Q(dir / "err") + " | head -c 1 >/dev/null");
    auto err = ReadBytes(dir / "err");
    EXPECT_NE(std::string(err.begin(), err.end()).find("Summary"), std::string::npos);
}

TEST(CarefulCommand, TwoRunsOnOneOutputLeaveOneWholeFile)
{
    TempDir dir;
    fs::copy_file(Demo("demo.ape"), dir / "demo.ape");  // without its sheet: one file
    Result alone = Convert("--wav --no-resample -o " + Q(dir / "ref") + " " + Q(dir / "demo.ape"));
    ASSERT_EQ(alone.status, 0) << alone.output;
    auto reference = ReadBytes(dir / "ref" / "demo.wav");
    for (int round = 0; round < 3; ++round) {
        std::string run = "$K --wav --no-resample --yes -o " + Q(dir / "out") + " " + Q(dir / "demo.ape");
        Result both = Shell(run + " >/dev/null & " + run + " >/dev/null; s=$?; wait $! && exit $s");
        EXPECT_EQ(both.status, 0) << both.output;
        EXPECT_TRUE(ReadBytes(dir / "out" / "demo.wav") == reference);
        EXPECT_EQ(FileNames(dir / "out"), std::vector<std::string>{"demo.wav"});
    }
}

// Killed at random moments: never a half file under a real name, never a
// changed source; at most temporary files stay behind.
TEST(CarefulCommand, SigkillNeverLeavesAHalfFileUnderARealName)
{
    TempDir dir;
    fs::copy_file(Demo("demo.ape"), dir / "demo.ape");
    fs::copy_file(Demo("demo.cue"), dir / "demo.cue");
    auto source = ReadBytes(dir / "demo.ape");
    Result first = Convert("--wav --no-resample -o " + Q(dir / "ref") + " " + Q(dir / "demo.cue"));
    ASSERT_EQ(first.status, 0) << first.output;
    std::map<std::string, std::vector<unsigned char>> reference;
    for (const auto& name : FileNames(dir / "ref"))
        reference[name] = ReadBytes(dir / "ref" / name);
    fs::create_directory(dir / "out");
    WriteBytes(dir / "out" / "Slow Tide.wav", {'o', 'l', 'd'});

    std::mt19937 random(20261206);
    int killedMidway = 0, temporaries = 0;
    for (int run = 0; run < 20; ++run) {
        // Killed at a random moment after the first file began.
        int ms = static_cast<int>(random() % 300);
        std::string out = Q(dir / "out");
        Result r = Shell("$K --wav --no-resample --yes -o " + out + " " + Q(dir / "demo.cue") +
                         " >/dev/null & p=$!; until ls -A " + out + " | grep -q 'tmp$' || ! kill -0 $p 2>/dev/null; " +
                         "do sleep 0.005; done; sleep " + std::to_string(ms / 1000.0) + "; kill -KILL $p; wait $p");
        killedMidway += r.status == 137;
        for (const auto& name : FileNames(dir / "out")) {
            if (name.ends_with(".tmp")) {
                ++temporaries;
                fs::remove(dir / "out" / name);
                continue;
            }
            auto bytes = ReadBytes(dir / "out" / name);
            bool old = name == "Slow Tide.wav" && bytes.size() == 3;
            EXPECT_TRUE(old || bytes == reference[name]) << name << " after " << ms << " ms";
        }
        EXPECT_TRUE(ReadBytes(dir / "demo.ape") == source);
    }
    std::printf("SIGKILL: 20 runs, %d killed while converting, %d temporary files left (removed between runs), "
                "0 half files, source unchanged\n", killedMidway, temporaries);
    EXPECT_GT(killedMidway, 0);
}
