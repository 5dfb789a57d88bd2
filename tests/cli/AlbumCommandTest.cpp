// Albums as rippers leave them, converted from the command line: tracks from
// their own files to the sample, tags that other readers read back, names
// from a pattern, and images whose sheet is broken or unwanted.
#include "tests/cli/CommandRun.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

void WriteText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::vector<unsigned char> Slice(const std::vector<unsigned char>& pcm, std::size_t from, std::size_t to)
{
    return {pcm.begin() + static_cast<long>(std::min(from, pcm.size())),
            pcm.begin() + static_cast<long>(std::min(to, pcm.size()))};
}

}  // namespace

TEST(AlbumCommand, TheDemoAlbumsMp3TagsReadBackExactly)
{
    TempDir dir;
    Result r = Convert("--yes -o " + Q(dir.path()) + " " + Q(Demo("demo.cue")));
    ASSERT_EQ(r.status, 0) << r.output;
    std::map<std::string, std::string> expected{
        {"title", "Slow Tide"}, {"artist", "The Kolvex Synths"}, {"album", "Demo Album"},
        {"album_artist", "The Kolvex Synths"}, {"track", "2/3"}, {"date", "2026"}, {"genre", "Ambient"},
        {"comment", "Made with sox for the Kolvex demo"}};
    EXPECT_EQ(FfprobeTags(dir / "Slow Tide.mp3"), expected);

    TempDir bare;
    ASSERT_EQ(Convert("--no-tags -o " + Q(bare.path()) + " " + Q(Demo("demo.cue"))).status, 0);
    EXPECT_TRUE(FfprobeTags(bare / "Slow Tide.mp3").empty());
}

TEST(AlbumCommand, EachTrackOfAFilePerTrackSheetIsItsOwnImageToTheSample)
{
    TempDir dir;
    fs::copy_file(FixturePath("stereo16_44k.ape"), dir / "01.ape");
    fs::copy_file(FixturePath("stereo16_48k.ape"), dir / "02.ape");
    // UTF-16 with CR-only line ends, an unquoted name, a .wav name for an
    // .ape image and a first track that starts one CD frame in.
    std::u16string text = u"TITLE \"\u00c9t\u00e9\"\rPERFORMER \"\u041a\u0438\u043d\u043e\"\r"
                          u"FILE 01.ape WAVE\r TRACK 01 AUDIO\r  TITLE \"One\"\r  INDEX 01 00:00:01\r"
                          u" TRACK 02 AUDIO\r  TITLE \"Two\"\r  INDEX 01 00:02:37\r"
                          u"FILE \"02.wav\" WAVE\r TRACK 03 AUDIO\r  TITLE \"Three\"\r  INDEX 01 00:00:00\r";
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    WriteText(dir / "album.cue", bytes);
    Result r = Convert("--wav --no-resample --yes -o " + Q(dir / "out") + " " + Q(dir / "album.cue"));
    ASSERT_EQ(r.status, 0) << r.output;

    auto first = FfmpegDecode(dir / "01.ape", "s16le");
    auto second = FfmpegDecode(dir / "02.ape", "s16le");
    EXPECT_TRUE(FfmpegDecode(dir / "out" / "One.wav", "s16le") == Slice(first, 588 * 4, 187 * 588 * 4));
    EXPECT_TRUE(FfmpegDecode(dir / "out" / "Two.wav", "s16le") == Slice(first, 187 * 588 * 4, first.size()));
    EXPECT_TRUE(FfmpegDecode(dir / "out" / "Three.wav", "s16le") == second);
    auto tags = FfprobeTags(dir / "out" / "Three.wav");
    EXPECT_EQ(tags["album"], "\xC3\x89t\xC3\xA9");
    EXPECT_EQ(tags["artist"], "\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE");
    EXPECT_EQ(tags["track"], "3/3");
}

TEST(AlbumCommand, NamesFromAPatternMakeSubFoldersAndListShowsTags)
{
    TempDir dir;
    Result list = Convert("--list " + Q(Demo("demo.cue")));
    EXPECT_TRUE(Has(list, "TITLE=Evening Bells")) << list.output;
    Result r = Convert("--yes --name '%a/%A/%n - %t' -o " + Q(dir.path()) + " " + Q(Demo("demo.cue")));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(fs::exists(dir / "The Kolvex Synths" / "Demo Album" / "01 - Morning Steps.mp3"));
    EXPECT_TRUE(fs::exists(dir / "The Kolvex Synths" / "Demo Album" / "03 - Evening Bells.mp3"));
    EXPECT_EQ(Convert("--name '%q' " + Q(Demo("demo.cue"))).status, 2);
}

TEST(AlbumCommand, AnImageWithABrokenOrUnwantedSheetConvertsAsOneFile)
{
    TempDir dir;
    fs::copy_file(Demo("demo.ape"), dir / "x.ape");
    WriteText(dir / "x.cue", "REM a sheet that lost its tracks\n");
    Result r = Convert("--yes -o " + Q(dir / "out") + " " + Q(dir / "x.ape"));
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(Has(r, "warning")) << r.output;
    EXPECT_TRUE(fs::exists(dir / "out" / "x.mp3"));

    TempDir whole;
    r = Convert("--whole --yes -o " + Q(whole.path()) + " " + Q(Demo("demo.ape")));
    ASSERT_EQ(r.status, 0) << r.output;
    auto tags = FfprobeTags(whole / "demo.mp3");
    EXPECT_EQ(tags["title"], "Demo Album");
    EXPECT_EQ(tags["date"], "2026");
    auto duration = RunCapture("ffprobe -v error -show_entries format=duration -of csv=p=0 " + Q(whole / "demo.mp3"));
    EXPECT_NEAR(std::stod(std::string(duration.begin(), duration.end())), 23.6, 0.1);
}
