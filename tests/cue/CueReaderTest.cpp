#include "cue/CueLines.h"
#include "cue/CueReader.h"
#include "CueTestFiles.h"

namespace {

class CueReaderTest : public CueFolder {
protected:
    const CueSheet& Parse(const std::string& text)
    {
        EXPECT_EQ(reader_.Parse(Write("album.cue", text).c_str()), 1);
        EXPECT_NE(reader_.Sheet(), nullptr);
        return *reader_.Sheet();
    }

    CueReader reader_;
};

const char* kStandardSheet =
    "FILE \"album.ape\" WAVE\n"
    "  TRACK 01 AUDIO\n"
    "    TITLE \"First\"\n"
    "    PERFORMER \"Someone\"\n"
    "    INDEX 01 00:00:00\n"
    "  TRACK 02 AUDIO\n"
    "    TITLE \"Second\"\n"
    "    INDEX 00 03:20:10\n"
    "    INDEX 01 03:22:00\n";

}  // namespace

TEST_F(CueReaderTest, StandardSheetTimesTracksFromIndex01)
{
    const CueSheet& sheet = Parse(kStandardSheet);
    EXPECT_EQ(sheet.imageFileName, L"album.ape");
    ASSERT_EQ(sheet.tracks.size(), 2u);
    const CueTrack& first = *sheet.tracks[0];
    EXPECT_EQ(first.number, L"01");
    EXPECT_EQ(first.title, L"First");
    EXPECT_EQ(first.performer, L"Someone");
    EXPECT_FLOAT_EQ(first.start, 0.0f);
    EXPECT_FLOAT_EQ(first.end, 202.0f);
    const CueTrack& second = *sheet.tracks[1];
    EXPECT_EQ(second.title, L"Second");
    EXPECT_EQ(second.index00, L"03:20:10");  // the pregap does not move the track
    EXPECT_EQ(second.index01, L"03:22:00");
    EXPECT_FLOAT_EQ(second.start, 202.0f);
    EXPECT_FLOAT_EQ(second.end, 0.0f);
}

TEST(CueTime, MinutesSecondsAndFramesOfOneSeventyFifth)
{
    EXPECT_FLOAT_EQ(CueReader::time(L"03:22:15"), 202.2f);
    EXPECT_FLOAT_EQ(CueReader::time(L"00:00:74"), 74.0f / 75.0f);
    EXPECT_FLOAT_EQ(CueReader::time(L"79:59:74"), 4799.0f + 74.0f / 75.0f);
    EXPECT_FLOAT_EQ(CueReader::time(L" 1:02:00"), 62.0f);
    EXPECT_FLOAT_EQ(CueReader::time(nullptr), 0.0f);
    EXPECT_FLOAT_EQ(CueReader::time(L""), 0.0f);
    // Without separators only the minutes are read.
    EXPECT_FLOAT_EQ(CueReader::time(L"5"), 300.0f);
    EXPECT_FLOAT_EQ(CueReader::time(L"xx:yy:zz"), 0.0f);
}

TEST_F(CueReaderTest, KeywordsInAnyCaseAndLastLineWithoutNewline)
{
    const CueSheet& sheet = Parse(
        "file \"a.ape\" WAVE\n"
        "track 01 audio\n"
        "title \"Lower\"\n"
        "Index 01 00:00:00\n"
        "TRACK 02 AUDIO\n"
        "INDEX 01 03:22:15");
    ASSERT_EQ(sheet.tracks.size(), 2u);
    EXPECT_EQ(sheet.imageFileName, L"a.ape");
    EXPECT_EQ(sheet.tracks[0]->title, L"Lower");
    EXPECT_FLOAT_EQ(sheet.tracks[0]->end, 202.2f);
    EXPECT_EQ(sheet.tracks[1]->index01, L"03:22:15");
}

TEST_F(CueReaderTest, TitleAfterIndex01BelongsToTheAlbum)
{
    const CueSheet& sheet = Parse(
        "TITLE \"Album\"\n"
        "TRACK 01 AUDIO\n"
        "INDEX 01 00:00:00\n"
        "TITLE \"Late\"\n");
    ASSERT_EQ(sheet.tracks.size(), 1u);
    EXPECT_EQ(sheet.tracks[0]->title, L"");
    EXPECT_EQ(sheet.albumTitle, L"Late");
}

TEST_F(CueReaderTest, FieldsAfterTwoBlanksAreNotRecognised)
{
    // The INDEX with two blanks is skipped, so the track part runs on and
    // swallows the next TRACK line and takes its INDEX 01.
    const CueSheet& sheet = Parse(
        "TRACK 01 AUDIO\n"
        "INDEX  01 00:10:00\n"
        "TRACK 02 AUDIO\n"
        "INDEX 01  00:20:00\n"
        "TRACK 03 AUDIO\n"
        "INDEX 01 00:30:00\n");
    ASSERT_EQ(sheet.tracks.size(), 2u);
    EXPECT_EQ(sheet.tracks[0]->index01, L"");  // two blanks before the time
    EXPECT_FLOAT_EQ(sheet.tracks[0]->start, 0.0f);
    EXPECT_FLOAT_EQ(sheet.tracks[0]->end, 30.0f);
    EXPECT_EQ(sheet.tracks[1]->number, L"03");
}

TEST_F(CueReaderTest, SheetWithoutTracksOrWithoutFile)
{
    const CueSheet& sheet = Parse("REM nothing\nPERFORMER \"P\"\nFILE unquoted.ape WAVE\n");
    EXPECT_TRUE(sheet.tracks.empty());
    EXPECT_EQ(sheet.albumPerformer, L"P");
    EXPECT_EQ(sheet.imageFileName, L"");  // an unquoted name is not taken

    EXPECT_EQ(reader_.Parse(Path("missing.cue").c_str()), 0);
    EXPECT_EQ(reader_.Sheet(), nullptr);
    EXPECT_EQ(reader_.Tracks(), nullptr);
    EXPECT_EQ(reader_.ImageFileName(), nullptr);
    EXPECT_EQ(reader_.Parse(nullptr), 0);
}

TEST_F(CueReaderTest, RealWorldSheet)
{
    const CueSheet& sheet = Parse(
        "\xEF\xBB\xBF"
        "REM GENRE \"Jazz\"\r\n"
        "REM DATE 1999\r\n"
        "REM COMMENT \"ExactAudioCopy v1.0b3\"\r\n"
        "PERFORMER \"The Quartet\"\r\n"
        "TITLE \"Live at the Caf\xC3\xA9\"\r\n"
        "FILE \"The Quartet - Live.ape\" WAVE\r\n"
        "  TRACK 01 AUDIO\r\n"
        "    TITLE \"Opening\"\r\n"
        "    PERFORMER \"The Quartet\"\r\n"
        "    ISRC USABC9900001\r\n"
        "    INDEX 01 00:00:00\r\n"
        "  TRACK 02 AUDIO\r\n"
        "    TITLE \"Blue in Green (take 2)\"\r\n"
        "    PERFORMER \"Ana & Bo\"\r\n"
        "    FLAGS DCP PRE\r\n"
        "    INDEX 00 05:10:40\r\n"
        "    INDEX 01 05:12:00\r\n"
        "  TRACK 03 AUDIO\r\n"
        "    TITLE \"Na\xC3\xAFve \xE2\x80\x94 Encore\"\r\n"
        "    INDEX 00 09:58:70\r\n"
        "    INDEX 01 10:00:37\r\n");
    EXPECT_EQ(sheet.albumPerformer, L"The Quartet");
    EXPECT_EQ(sheet.albumTitle, L"Live at the Caf\u00e9");
    EXPECT_EQ(sheet.imageFileName, L"The Quartet - Live.ape");
    ASSERT_EQ(sheet.tracks.size(), 3u);
    EXPECT_EQ(sheet.tracks[0]->isrc, L"USABC9900001");
    EXPECT_FLOAT_EQ(sheet.tracks[0]->end, 312.0f);
    EXPECT_EQ(sheet.tracks[1]->title, L"Blue in Green (take 2)");
    EXPECT_EQ(sheet.tracks[1]->performer, L"Ana & Bo");
    EXPECT_EQ(sheet.tracks[1]->flags, L"DCP");
    EXPECT_EQ(sheet.tracks[1]->index00, L"05:10:40");
    EXPECT_FLOAT_EQ(sheet.tracks[1]->start, 312.0f);
    EXPECT_FLOAT_EQ(sheet.tracks[1]->end, 600.0f + 37.0f / 75.0f);
    EXPECT_EQ(sheet.tracks[2]->title, L"Na\u00efve \u2014 Encore");
    EXPECT_EQ(sheet.tracks[2]->performer, L"");
    EXPECT_FLOAT_EQ(sheet.tracks[2]->start, 600.0f + 37.0f / 75.0f);
    EXPECT_FLOAT_EQ(sheet.tracks[2]->end, 0.0f);
}

TEST_F(CueReaderTest, TracksOutliveTheReader)
{
    CueTrackList tracks;
    {
        CueReader reader;
        ASSERT_EQ(reader.Parse(Write("a.cue", kStandardSheet).c_str()), 1);
        tracks = *reader.Tracks();
        ASSERT_EQ(reader.Parse(Path("gone.cue").c_str()), 0);
    }
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_EQ(tracks[1]->title, L"Second");
}

TEST(CueLines, TextIsUtf8WhenValidElseWindows1252)
{
    auto utf8 = SplitCueLines("\xEF\xBB\xBFTITLE \"Caf\xC3\xA9\"\r\nX");
    ASSERT_EQ(utf8.size(), 2u);
    EXPECT_EQ(utf8[0], L"TITLE \"Caf\u00e9\"\n");
    EXPECT_EQ(utf8[1], L"X");

    auto ansi = SplitCueLines("TITLE \"Caf\xE9 \x93q\x94\"\n");
    ASSERT_EQ(ansi.size(), 1u);
    EXPECT_EQ(ansi[0], L"TITLE \"Caf\u00e9 \u201cq\u201d\"\n");
}

TEST(CueLines, LongLinesContinueWithoutSplittingACharacter)
{
    std::string line = "TITLE \"";
    for (int i = 0; i < 200; ++i)
        line += "\xC3\xA9";  // two bytes each
    line += "\"\n";
    auto lines = SplitCueLines(line);
    ASSERT_GE(lines.size(), 2u);
    std::wstring joined;
    for (const auto& piece : lines) {
        EXPECT_LE(win::ToUtf8(piece).size(), kCueLineBytes);
        EXPECT_EQ(piece.find(L'\uFFFD'), std::wstring::npos);
        joined += piece;
    }
    EXPECT_EQ(joined, L"TITLE \"" + std::wstring(200, L'\u00e9') + L"\"\n");
}
