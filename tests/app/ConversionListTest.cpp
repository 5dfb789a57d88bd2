#include "rows/ConversionList.h"
#include "rows/PlainList.h"
#include "platform/core/Strings.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

void WriteText(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

class Model : public ::testing::Test {
protected:
    PlainList list;
    ConversionList rows{list};
    TempDir dir;

    std::vector<std::int32_t> Checked()
    {
        std::vector<std::int32_t> keys;
        for (auto key = list.ListFindFirstChecked(); key != -1; key = list.ListFindNextChecked(key))
            keys.push_back(key);
        return keys;
    }
};

}  // namespace

TEST_F(Model, PlainFilesGetOneCheckedRowWithTheirLength)
{
    EXPECT_EQ(rows.Add(FixturePath("stereo16_44k.ape").wstring()), 1);
    EXPECT_EQ(rows.Add((dir / "missing.ape").wstring()), 1);  // still added, length 0
    EXPECT_EQ(rows.Add(FixturePath("mono8_8k.ape").wstring()), 1);

    ASSERT_EQ(list.Rows().size(), 3u);
    EXPECT_EQ(list.Rows().at(0).name, L"stereo16_44k.ape");
    EXPECT_EQ(list.Rows().at(0).info, L"00:00:05");
    EXPECT_EQ(list.Rows().at(1).info, L"00:00:00");
    EXPECT_EQ(Checked(), (std::vector<std::int32_t>{0, 1, 2}));
    const ConversionItem* song = rows.Find(0);
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(song->lengthMs, 5000u);
    EXPECT_EQ(song->startMs, 0.0);
    EXPECT_EQ(song->endMs, 5000.0);
    EXPECT_EQ(song->inputKind, kInputApe);
    EXPECT_EQ(song->cueTrack, 0);
}

TEST_F(Model, PlainApeFilesCarryTheirOwnTags)
{
    fs::path data = SharedTestData();
    ASSERT_FALSE(data.empty());
    ASSERT_EQ(rows.Add((data / "ape" / "mac-399-id3v2.ape").wstring()), 1);
    EXPECT_EQ(rows.Find(0)->tags.Get("ALBUM"), L"AlbumXXXX");
    ASSERT_EQ(rows.Add((data / "ape" / "mac-399.ape").wstring()), 1);
    EXPECT_TRUE(rows.Find(1)->tags.Empty());
}

TEST_F(Model, KeysFollowTheLargestAfterDeleting)
{
    for (const char* name : {"mono8_8k.ape", "mono16_22k.ape", "stereo8_11k.ape"})
        rows.Add(FixturePath(name).wstring());
    list.ListSetItemState(kItemToggleCheck, 0);  // uncheck the first and last: only the middle goes
    list.ListSetItemState(kItemToggleCheck, 2);
    rows.RemoveChecked();
    EXPECT_EQ(rows.Rows().size(), 2u);
    EXPECT_EQ(rows.Find(1), nullptr);

    rows.Add(FixturePath("mono16_44k.ape").wstring());
    ASSERT_NE(rows.Find(3), nullptr);
    EXPECT_EQ(list.Rows().at(3).name, L"mono16_44k.ape");

    // Marking follows the check marks exactly; every record stays reachable.
    rows.MarkChecked();
    EXPECT_FALSE(rows.Find(0)->marked);
    EXPECT_FALSE(rows.Find(2)->marked);
    EXPECT_TRUE(rows.Find(3)->marked);
    list.ListSetItemState(kItemToggleCheck, 0);
    rows.MarkChecked();
    EXPECT_TRUE(rows.Find(0)->marked);
}

TEST_F(Model, AnAlbumSheetMakesOneRowPerTrack)
{
    // Added as the sheet, and as the image with its sheet beside it.
    for (const char* added : {"demo.cue", "demo.ape"}) {
        PlainList albumList;
        ConversionList album(albumList);
        ASSERT_EQ(album.Add(Demo(added).wstring()), 3) << added;
        const ConversionItem* first = album.Find(0);
        const ConversionItem* last = album.Find(2);
        ASSERT_TRUE(first && last);
        EXPECT_EQ(albumList.Rows().at(1).name, L"Slow Tide");
        EXPECT_EQ(first->outputPath, L"Morning Steps");
        EXPECT_EQ(first->cueTrack, 1);
        EXPECT_EQ(first->sourcePath, Demo(added).wstring());
        EXPECT_EQ(first->startMs, 0.0);
        EXPECT_EQ(first->endMs, 9600.0);
        EXPECT_EQ(first->lengthMs, 9600u);
        EXPECT_EQ(album.Find(1)->startMs, 9600.0);
        EXPECT_EQ(last->endMs, 0.0);  // to the end of the image
        EXPECT_EQ(last->lengthMs, 23600u - 17600u);
        EXPECT_EQ(albumList.Rows().at(2).info, L"00:00:06");
    }
}

// A sheet over two images: each track's image, range and length (the last
// track of each image runs to the end of its own image).
TEST_F(Model, TwoImagesWithSplitPoints)
{
    fs::copy_file(FixturePath("stereo16_44k.ape"), dir / "a.ape");
    fs::copy_file(FixturePath("mono16_22k.ape"), dir / "b.ape");
    WriteText(dir / "album.cue", "FILE \"a.ape\" WAVE\n TRACK 01 AUDIO\n  INDEX 01 00:00:00\n"
                                 " TRACK 02 AUDIO\n  INDEX 01 00:02:37\n"
                                 "FILE \"b.ape\" WAVE\n TRACK 03 AUDIO\n  INDEX 01 00:00:00\n");
    ASSERT_EQ(rows.Add((dir / "album.cue").wstring()), 3);
    struct Expected {
        const char* image;
        std::int64_t startFrames, endFrames;
        std::uint32_t lengthMs;
    } expected[] = {{"a.ape", 0, 187, 2493}, {"a.ape", 187, -1, 2506}, {"b.ape", 0, -1, 2000}};
    for (int key = 0; key < 3; ++key) {
        const ConversionItem* row = rows.Find(key);
        EXPECT_EQ(row->sourcePath, (dir / expected[key].image).wstring());
        EXPECT_EQ(row->startFrames, expected[key].startFrames);
        EXPECT_EQ(row->endFrames, expected[key].endFrames);
        EXPECT_EQ(row->lengthMs, expected[key].lengthMs);
    }
}

TEST_F(Model, SheetsWithoutTracksOrWithoutTheirImage)
{
    fs::create_symlink(Demo("demo.ape"), dir / "image.ape");
    WriteText(dir / "empty.cue", "FILE \"image.ape\" WAVE\nREM nothing here\n");
    EXPECT_EQ(rows.Add((dir / "empty.cue").wstring()), 0);
    EXPECT_TRUE(list.Rows().empty());

    // The image is missing, and no audio file lies beside the sheet to be
    // taken for it: one plain row named after the sheet, length 0.
    fs::create_directories(dir / "lost");
    WriteText(dir / "lost" / "lost.cue", "FILE \"gone.ape\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n");
    EXPECT_EQ(rows.Add((dir / "lost" / "lost.cue").wstring()), 1);
    EXPECT_EQ(list.Rows().at(0).name, L"lost.cue");
    EXPECT_EQ(rows.Find(0)->lengthMs, 0u);
    EXPECT_EQ(rows.Find(0)->cueTrack, 0);
}

TEST_F(Model, TrackTitlesCannotLeaveTheOutputFolder)
{
    fs::create_symlink(Demo("demo.ape"), dir / "image.ape");
    WriteText(dir / "titles.cue",
              "FILE \"image.ape\" WAVE\n"
              "TRACK 01 AUDIO\nTITLE \"../../escape\"\nINDEX 01 00:00:00\n"
              "TRACK 02 AUDIO\nTITLE \"\"\nINDEX 01 00:05:00\n");
    ASSERT_EQ(rows.Add((dir / "titles.cue").wstring()), 2);
    rows.MarkChecked();
    rows.PrepareOutputs(kOutputWav, L"/out/");
    EXPECT_EQ(rows.Find(0)->outputPath, L"/out/.._.._escape.wav");
    EXPECT_EQ(rows.Find(1)->outputPath, L"/out/Track 02.wav");
    EXPECT_EQ(rows.Find(1)->outputKind, kOutputWav);
}

TEST_F(Model, RealMediaLengthComesFromItsModule)
{
    auto rm = dir / "clip.rm";
    auto made = RunCapture("ffmpeg -nostdin -v error -f lavfi -i sine=frequency=440:duration=2.5 -c:a ac3 '" +
                           rm.string() + "' && echo ok");
    ASSERT_NE(std::string(made.begin(), made.end()).find("ok"), std::string::npos) << "ffmpeg cannot make a RealMedia file";
    auto probe = RunCapture("ffprobe -v error -show_entries format=duration -of csv=p=0 '" + rm.string() + "'");
    double seconds = std::stod(std::string(probe.begin(), probe.end()));

    ASSERT_EQ(rows.Add(rm.wstring()), 1);
    EXPECT_EQ(rows.Find(0)->inputKind, kInputRealMedia);
    EXPECT_NEAR(rows.Find(0)->lengthMs, seconds * 1000, 1.0);
}

// A stored folder that cannot be used (hand-edited, damaged) is no folder:
// the outputs go beside their sources, never relative to wherever the
// program runs, nor into "/".
TEST_F(Model, AStoredFolderThatCannotBeUsedMeansBesideTheSource)
{
    fs::copy_file(FixturePath("mono8_8k.ape"), dir / "song.ape");
    ASSERT_EQ(rows.Add((dir / "song.ape").wstring()), 1);
    rows.MarkChecked();
    const std::wstring beside = (dir / "song.mp3").wstring();
    for (const wchar_t* folder : {L"", L"music/", L"/", L"///", L"/./", L"/a/../", L"/a\x1b[31m/", L"/no-slash"}) {
        SCOPED_TRACE(win::ToUtf8(folder));
        rows.Find(0)->outputPath.clear();
        rows.PrepareOutputs(kOutputMp3, folder);
        EXPECT_EQ(rows.Find(0)->outputPath, beside);
    }
    rows.Find(0)->outputPath.clear();
    rows.PrepareOutputs(kOutputMp3, L"/out/");
    EXPECT_EQ(rows.Find(0)->outputPath, L"/out/song.mp3");
}

// A title longer than a file name can be still names the file, cut at a
// character with its extension kept, also when it changes format.
TEST_F(Model, ALongTitleIsCutToAFileNameAtACharacter)
{
    std::wstring title(150, L'\u00E9');  // 300 bytes of UTF-8
    fs::create_symlink(Demo("demo.ape"), dir / "image.ape");
    WriteText(dir / "long.cue", "FILE \"image.ape\" WAVE\nTRACK 01 AUDIO\nTITLE \"" + win::ToUtf8(title) +
                                    "\"\nINDEX 01 00:00:00\n");
    ASSERT_EQ(rows.Add((dir / "long.cue").wstring()), 1);
    rows.MarkChecked();
    rows.PrepareOutputs(kOutputMp3, L"/out/");
    EXPECT_EQ(rows.Find(0)->outputPath, L"/out/" + std::wstring(125, L'\u00E9') + L".mp3");
    rows.PrepareOutputs(kOutputWav, L"/out/");
    EXPECT_EQ(rows.Find(0)->outputPath, L"/out/" + std::wstring(125, L'\u00E9') + L".wav");
}
