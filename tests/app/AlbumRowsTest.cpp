// Rows of album sheets as rippers write them: tracks in files of their own,
// exact CD-frame ranges, tags, and an image added whole.
#include "app/ConversionList.h"
#include "app/PlainList.h"
#include "platform/core/Strings.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

std::wstring Wide(const fs::path& path) { return win::FromUtf8(path.string()); }

class AlbumRows : public ::testing::Test {
protected:
    PlainList list;
    ConversionList rows{list};
    TempDir dir;

    fs::path Sheet(const std::string& text)
    {
        std::ofstream(dir / "album.cue") << text;
        return dir / "album.cue";
    }
    void CopyFixture(const char* fixture, const std::string& as) { fs::copy_file(FixturePath(fixture), dir / as); }
};

}  // namespace

TEST_F(AlbumRows, EachTrackOfAFilePerTrackSheetDecodesItsOwnImage)
{
    CopyFixture("mono16_44k.ape", "01 One.ape");
    CopyFixture("mono16_22k.ape", "02 Two.ape");
    CopyFixture("stereo16_44k.ape", "03 Three.ape");
    // The ripper wrote the sheet for WAV files and compressed them later.
    ASSERT_EQ(rows.Add(Wide(Sheet("FILE \"01 One.wav\" WAVE\n TRACK 01 AUDIO\n  TITLE \"One\"\n  INDEX 01 00:00:00\n"
                                  "FILE \"02 Two.wav\" WAVE\n TRACK 02 AUDIO\n  TITLE \"Two\"\n  INDEX 01 00:00:00\n"
                                  "FILE \"03 Three.wav\" WAVE\n TRACK 03 AUDIO\n  TITLE \"Three\"\n  INDEX 01 00:00:00\n"))),
              3);
    const char* images[] = {"01 One.ape", "02 Two.ape", "03 Three.ape"};
    std::uint32_t lengths[] = {1000, 2000, 5000};
    const wchar_t* durations[] = {L"00:00:01", L"00:00:02", L"00:00:05"};
    for (int key = 0; key < 3; ++key) {
        const ConversionItem* row = rows.Find(key);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->sourcePath, Wide(dir / images[key]));
        EXPECT_EQ(row->inputKind, kInputApe);
        EXPECT_EQ(row->lengthMs, lengths[key]);
        EXPECT_EQ(list.Rows().at(key).info, durations[key]);
        EXPECT_EQ(row->startFrames, 0);
        EXPECT_EQ(row->endFrames, -1);
        EXPECT_EQ(row->cueTrack, 1);
    }
}

TEST_F(AlbumRows, TwoImagesWithSplitPoints)
{
    CopyFixture("stereo16_44k.ape", "a.ape");
    CopyFixture("mono16_22k.ape", "b.ape");
    ASSERT_EQ(rows.Add(Wide(Sheet("FILE \"a.ape\" WAVE\n TRACK 01 AUDIO\n  INDEX 01 00:00:00\n"
                                  " TRACK 02 AUDIO\n  INDEX 01 00:02:37\n"
                                  "FILE \"b.ape\" WAVE\n TRACK 03 AUDIO\n  INDEX 01 00:00:00\n"))),
              3);
    struct Expected {
        const char* image;
        std::int64_t startFrames, endFrames;
        std::uint32_t lengthMs;
    } expected[] = {{"a.ape", 0, 187, 2493}, {"a.ape", 187, -1, 2506}, {"b.ape", 0, -1, 2000}};
    for (int key = 0; key < 3; ++key) {
        const ConversionItem* row = rows.Find(key);
        EXPECT_EQ(row->sourcePath, Wide(dir / expected[key].image));
        EXPECT_EQ(row->startFrames, expected[key].startFrames);
        EXPECT_EQ(row->endFrames, expected[key].endFrames);
        EXPECT_EQ(row->lengthMs, expected[key].lengthMs);
    }
}

TEST_F(AlbumRows, OneImageSheetsKeepTheirPathAndCarryTags)
{
    const char* source = std::getenv("KOLVEX_SOURCE");
    fs::path demo = fs::path(source ? source : ".") / "examples" / "demo" / "demo.cue";
    ASSERT_EQ(rows.Add(Wide(demo)), 3);
    const ConversionItem* second = rows.Find(1);
    EXPECT_EQ(second->sourcePath, Wide(demo));
    EXPECT_EQ(second->startFrames, 9 * 75 + 45);
    EXPECT_EQ(second->endFrames, 17 * 75 + 45);
    std::map<std::string, std::vector<std::wstring>> tags{
        {"TITLE", {L"Slow Tide"}}, {"ARTIST", {L"The Kolvex Synths"}}, {"ALBUM", {L"Demo Album"}},
        {"ALBUMARTIST", {L"The Kolvex Synths"}}, {"TRACKNUMBER", {L"2/3"}}, {"DATE", {L"2026"}},
        {"GENRE", {L"Ambient"}}, {"COMMENT", {L"Made with sox for the Kolvex demo"}}};
    EXPECT_EQ(second->tags.fields, tags);

    // The image added whole: one row of the whole length, tagged as the album.
    ASSERT_EQ(rows.AddWhole(Wide(demo.parent_path() / "demo.ape")), 1);
    const ConversionItem* whole = rows.Find(3);
    EXPECT_EQ(whole->cueTrack, 0);
    EXPECT_EQ(whole->lengthMs, 23600u);
    EXPECT_EQ(whole->endMs, 23600.0);
    EXPECT_EQ(whole->startFrames, -1);
    EXPECT_EQ(whole->tags.Get("TITLE"), L"Demo Album");
    EXPECT_EQ(whole->tags.Get("ARTIST"), L"The Kolvex Synths");
    EXPECT_EQ(whole->tags.Get("DATE"), L"2026");
    EXPECT_EQ(whole->tags.Get("TRACKNUMBER"), L"");
}

TEST_F(AlbumRows, PlainApeFilesCarryTheirOwnTags)
{
    fs::path data = SharedTestData();
    ASSERT_FALSE(data.empty());
    ASSERT_EQ(rows.Add(Wide(data / "ape" / "mac-399-id3v2.ape")), 1);
    EXPECT_EQ(rows.Find(0)->tags.Get("ALBUM"), L"AlbumXXXX");
    ASSERT_EQ(rows.Add(Wide(data / "ape" / "mac-399.ape")), 1);
    EXPECT_TRUE(rows.Find(1)->tags.Empty());
}
