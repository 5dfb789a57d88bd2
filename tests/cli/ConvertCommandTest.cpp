// kolvex-convert as a user runs it: arguments in, files, text and an exit
// status out.
#include "tests/cli/CommandRun.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

std::string Probe(const fs::path& file, const std::string& entries)
{
    auto out = RunCapture("ffprobe -v error -show_entries " + entries + " -of csv=p=0 " + Q(file));
    std::string text(out.begin(), out.end());
    while (!text.empty() && (text.back() == '\n' || text.back() == ','))
        text.pop_back();
    return text;
}

}  // namespace

TEST(ConvertCommand, BadUsageEndsWithStatusTwo)
{
    EXPECT_EQ(Convert("").status, 2);
    EXPECT_EQ(Convert("--cbr 999 " + Q(FixturePath("mono8_8k.ape"))).status, 2);
    EXPECT_EQ(Convert("--vbr 192-64 " + Q(FixturePath("mono8_8k.ape"))).status, 2);
    EXPECT_EQ(Convert("--mp3 --wav " + Q(FixturePath("mono8_8k.ape"))).status, 2);
    EXPECT_EQ(Convert("--quality 10 " + Q(FixturePath("mono8_8k.ape"))).status, 2);
    Result missing = Convert("/no/such/file.ape");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.output.find("/no/such/file.ape"), std::string::npos);
}

TEST(ConvertCommand, ListShowsTheRowsAndConvertsNothing)
{
    TempDir dir;
    Result r = Convert("--list -o " + Q(dir.path()) + " " + Q(Demo("demo.cue")) + " " + Q(FixturePath("mono8_8k.ape")));
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Morning Steps"), std::string::npos);
    EXPECT_NE(r.output.find("00:00:06  17.600 - end"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("mono8_8k.ape"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(ConvertCommand, AnAlbumSplitToWavTilesTheImageExactly)
{
    TempDir dir;
    Result r = Convert("--wav --no-resample -o " + Q(dir.path()) + " " + Q(Demo("demo.cue")));
    ASSERT_EQ(r.status, 0) << r.output;
    std::vector<unsigned char> joined;
    const std::pair<const char*, std::size_t> tracks[] = {
        {"Morning Steps.wav", 423360}, {"Slow Tide.wav", 352800}, {"Evening Bells.wav", 264600}};
    for (auto [name, frames] : tracks) {
        auto file = ReadBytes(dir / name);
        ASSERT_EQ(Le32(file, 42), frames * 4) << name;  // the blocks the CUE range makes; tags follow
        joined.insert(joined.end(), file.begin() + 46, file.begin() + 46 + static_cast<long>(frames * 4));
    }
    EXPECT_TRUE(joined == FfmpegDecode(Demo("demo.ape"), "s16le")) << "tracks must tile the image";
}

TEST(ConvertCommand, Mp3OptionsReachTheEncoderWithoutTouchingStoredSettings)
{
    TempDir dir;
    // A stored settings file asking for VBR; the command line asks for CBR.
    auto stored = dir / "configure.dat";
    std::vector<unsigned char> record(3200, 0);
    record[0x878] = 1;
    WriteBytes(stored, record);
    auto before = ReadBytes(stored);

    Result r = Convert("--cbr 192 --quality 5 --settings " + Q(stored) + " -o " + Q(dir.path()) + " " +
                       Q(FixturePath("stereo16_44k.ape")));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Output Format MP3 Constant Bitrate: 192 Quality: 5"), std::string::npos) << r.output;
    EXPECT_EQ(Probe(dir / "stereo16_44k.mp3", "stream=bit_rate,sample_rate"), "44100,192000");
    EXPECT_TRUE(ReadBytes(stored) == before) << "the stored settings must not be rewritten";
}

// The batch hears its settings in memory: nothing is written to $TMPDIR (an
// empty folder stays empty, a missing one does not stop the run) and the
// stored settings file is neither rewritten nor copied.
TEST(ConvertCommand, ARunWritesNothingOutsideItsOutputFolder)
{
    TempDir dir;
    fs::create_directories(dir / "tmp");
    fs::create_directories(dir / "stored");
    std::vector<unsigned char> record(3200, 0);
    record[0x808] = 192;  // CBR at 192 kbit/s
    record[0x860] = 1;
    WriteBytes(dir / "stored" / "configure.dat", record);
    for (const char* tmp : {"tmp", "no-such-tmp"}) {
        SCOPED_TRACE(tmp);
        Result r = Shell("TMPDIR=" + Q(dir / tmp) + " KOLVEX_SETTINGS=" + Q(dir / "stored" / "configure.dat") +
                         " $K --yes -o " + Q(dir / "out") + " " + Q(Demo("demo.cue")) + " 2>&1");
        ASSERT_EQ(r.status, 0) << r.output;
        EXPECT_TRUE(FileNames(dir / "tmp").empty());
        EXPECT_FALSE(fs::exists(dir / "no-such-tmp"));
        EXPECT_EQ(FileNames(dir / "stored"), std::vector<std::string>{"configure.dat"});
        EXPECT_EQ(FileNames(dir / "out").size(), 3u);
    }
    EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"out", "stored", "tmp"}));
}

TEST(ConvertCommand, ExistingFilesAreKeptOrOverwrittenAsAsked)
{
    TempDir dir;
    WriteBytes(dir / "mono8_8k.wav", {'o', 'l', 'd'});
    std::string args = "--wav --no-resample -o " + Q(dir.path()) + " " + Q(FixturePath("mono8_8k.ape"));

    // A kept file is no failure: the row is left out of the batch.
    Result kept = Convert("--no " + args);
    EXPECT_EQ(kept.status, 0);
    EXPECT_NE(kept.output.find("skipped  mono8_8k.ape"), std::string::npos) << kept.output;
    EXPECT_NE(kept.output.find("kept the existing file"), std::string::npos) << kept.output;
    EXPECT_EQ(ReadBytes(dir / "mono8_8k.wav").size(), 3u);

    Result without = Convert(args);  // no terminal to ask: No
    EXPECT_EQ(without.status, 0);
    EXPECT_EQ(ReadBytes(dir / "mono8_8k.wav").size(), 3u);

    Result overwritten = Convert("--yes " + args);
    EXPECT_EQ(overwritten.status, 0) << overwritten.output;
    EXPECT_EQ(ReadBytes(dir / "mono8_8k.wav").size(), 46u + 12000 * 2);
}

TEST(ConvertCommand, ResamplingMakesSixteenBit44100)
{
    TempDir dir;
    // A 24-bit 44100 Hz stereo source is only narrowed, with the resampler's
    // dither: the help promises 16 bits for every source.
    Result r = Convert("--wav --resample -o " + Q(dir.path()) + " " + Q(FixturePath("stereo16_48k.ape")) + " " +
                       Q(FixturePath("mono8_8k.ape")) + " " + Q(SharedTestData() / "ape" / "mac-399-24bit-stereo.ape"));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(Probe(dir / "mac-399-24bit-stereo.wav", "stream=sample_rate,channels,bits_per_sample"), "44100,2,16");
    EXPECT_EQ(Probe(dir / "stereo16_48k.wav", "stream=sample_rate,channels,bits_per_sample"), "44100,2,16");
    EXPECT_EQ(Probe(dir / "mono8_8k.wav", "stream=sample_rate,channels,bits_per_sample"), "44100,2,16");
    EXPECT_EQ(fs::file_size(dir / "stereo16_48k.wav"), 44u + (96000u * 44100 / 48000 + 2) * 4);
}

TEST(ConvertCommand, RowsThatProduceNothingSayWhy)
{
    TempDir dir;
    WriteBytes(dir / "notes.txt", {'h', 'i'});
    WriteBytes(dir / "clip.rm", {'.', 'R', 'M', 'F'});
    Result r = Convert("-o " + Q(dir.path()) + " " + Q(dir / "notes.txt") + " " + Q(dir / "clip.rm") + " " +
                       Q(FixturePath("mono8_8k.ape")));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("notes.txt"), std::string::npos);
    EXPECT_NE(r.output.find("not a sound file we can convert"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("RealMedia files are only measured"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir / "mono8_8k.mp3"));
}
