#include "cue/CueImage.h"
#include "cue/CueLines.h"
#include "cue/CueReader.h"
#include "platform/core/Strings.h"
#include "tests/cue/CueFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>


TEST_F(Cue, StandardSheetTimesTracksFromIndex01)
{
    const CueSheet& sheet = Parse(
        "FILE \"album.ape\" WAVE\n"
        "  TRACK 01 AUDIO\n"
        "    TITLE \"First\"\n"
        "    PERFORMER \"Someone\"\n"
        "    INDEX 01 00:00:00\n"
        "  TRACK 02 AUDIO\n"
        "    TITLE \"Second\"\n"
        "    INDEX 00 03:20:10\n"
        "    INDEX 01 03:22:00\n");
    EXPECT_EQ(sheet.imageFileName, L"album.ape");
    ASSERT_EQ(sheet.tracks.size(), 2u);
    EXPECT_EQ(sheet.tracks[0]->number, L"01");
    EXPECT_EQ(sheet.tracks[0]->performer, L"Someone");
    EXPECT_FLOAT_EQ(sheet.tracks[0]->start, 0.0f);
    EXPECT_FLOAT_EQ(sheet.tracks[0]->end, 202.0f);
    EXPECT_EQ(sheet.tracks[1]->title, L"Second");
    EXPECT_EQ(sheet.tracks[1]->index00, L"03:20:10");  // the pregap does not move the track
    EXPECT_FLOAT_EQ(sheet.tracks[1]->start, 202.0f);
    EXPECT_FLOAT_EQ(sheet.tracks[1]->end, 0.0f);

    // The rows built from the tracks keep them after the reader moves on.
    CueTrackList tracks = *reader_.Tracks();
    EXPECT_EQ(reader_.Parse(Path("missing.cue").c_str()), 0);
    EXPECT_EQ(reader_.Tracks(), nullptr);
    EXPECT_EQ(tracks[1]->title, L"Second");
}

TEST(CueTime, MinutesSecondsAndFramesOfOneSeventyFifth)
{
    EXPECT_FLOAT_EQ(CueReader::time(L"03:22:15"), 202.2f);
    EXPECT_FLOAT_EQ(CueReader::time(L"79:59:74"), 4799.0f + 74.0f / 75.0f);
    EXPECT_FLOAT_EQ(CueReader::time(L" 1:02:00"), 62.0f);
    EXPECT_FLOAT_EQ(CueReader::time(nullptr), 0.0f);
    EXPECT_FLOAT_EQ(CueReader::time(L"xx:yy:zz"), 0.0f);
    EXPECT_FLOAT_EQ(CueReader::time(L"5"), 300.0f);  // without separators only minutes
}

TEST_F(Cue, LowerCaseLateTitleAndLastLineWithoutNewline)
{
    const CueSheet& sheet = Parse(
        "title \"Album\"\n"
        "track 01 audio\n"
        "index 01 00:00:00\n"
        "TITLE \"Late\"\n"
        "TRACK 02 AUDIO\n"
        "INDEX 01 03:22:15");
    ASSERT_EQ(sheet.tracks.size(), 2u);
    EXPECT_EQ(sheet.tracks[0]->title, L"Late");  // after its INDEX 01, still the track's
    EXPECT_EQ(sheet.albumTitle, L"Album");
    EXPECT_FLOAT_EQ(sheet.tracks[0]->end, 202.2f);
}

TEST_F(Cue, FieldsAfterSeveralBlanksAreRead)
{
    const CueSheet& sheet = Parse(
        "TRACK 01 AUDIO\n"
        "INDEX  01 00:10:00\n"
        "TRACK\t02   AUDIO\n"
        "INDEX 01  00:20:00\n"
        "TRACK 03 AUDIO\n"
        "INDEX 1 00:30:00\n");
    ASSERT_EQ(sheet.tracks.size(), 3u);
    EXPECT_EQ(sheet.tracks[0]->index01, L"00:10:00");
    EXPECT_EQ(sheet.tracks[0]->endFrames, 20 * 75);
    EXPECT_EQ(sheet.tracks[1]->number, L"02");
    EXPECT_EQ(sheet.tracks[2]->startFrames, 30 * 75);
    for (const auto& track : sheet.tracks)
        EXPECT_EQ(track->problem, L"");
}

TEST_F(Cue, SheetWithoutTracksOrQuotedFile)
{
    const CueSheet& sheet = Parse("REM nothing\nPERFORMER \"P\"\nFILE unquoted.ape WAVE\n");
    EXPECT_TRUE(sheet.tracks.empty());
    EXPECT_EQ(sheet.albumPerformer, L"P");
    EXPECT_EQ(sheet.imageFileName, L"");  // the pattern reads only quoted names
    ASSERT_EQ(sheet.files.size(), 1u);
    EXPECT_EQ(sheet.files[0].name, L"unquoted.ape");
    EXPECT_EQ(reader_.Parse(nullptr), 0);
}

TEST_F(Cue, RealWorldSheet)
{
    const CueSheet& sheet = Parse(
        "\xEF\xBB\xBF"
        "REM GENRE \"Jazz\"\r\n"
        "REM COMMENT \"ExactAudioCopy v1.0b3\"\r\n"
        "PERFORMER \"The Quartet\"\r\n"
        "TITLE \"Live at the Caf\xC3\xA9\"\r\n"
        "FILE \"The Quartet - Live.ape\" WAVE\r\n"
        "  TRACK 01 AUDIO\r\n"
        "    TITLE \"Opening\"\r\n"
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
    EXPECT_EQ(sheet.albumTitle, L"Live at the Caf\u00e9");
    EXPECT_EQ(sheet.imageFileName, L"The Quartet - Live.ape");
    ASSERT_EQ(sheet.tracks.size(), 3u);
    EXPECT_EQ(sheet.tracks[0]->isrc, L"USABC9900001");
    EXPECT_EQ(sheet.tracks[1]->title, L"Blue in Green (take 2)");
    EXPECT_EQ(sheet.tracks[1]->performer, L"Ana & Bo");
    EXPECT_EQ(sheet.tracks[1]->flags, L"DCP");
    EXPECT_FLOAT_EQ(sheet.tracks[1]->start, 312.0f);
    EXPECT_FLOAT_EQ(sheet.tracks[1]->end, 600.0f + 37.0f / 75.0f);
    EXPECT_EQ(sheet.tracks[2]->title, L"Na\u00efve \u2014 Encore");
    EXPECT_EQ(sheet.tracks[2]->performer, L"");
    EXPECT_FLOAT_EQ(sheet.tracks[2]->end, 0.0f);
}

TEST(CueLines, Windows1252WhenNotUtf8AndLongLinesNeverSplitACharacter)
{
    EXPECT_EQ(SplitCueLines("T \"Caf\xE9 \x93q\x94\"\n")[0].text, L"T \"Caf\u00e9 \u201cq\u201d\"\n");

    std::string line = "TITLE \"";
    for (int i = 0; i < 200; ++i)
        line += "\xC3\xA9";
    auto pieces = SplitCueLines(line + "\"\n");
    ASSERT_GE(pieces.size(), 2u);
    std::wstring joined;
    for (const auto& piece : pieces) {
        EXPECT_LE(piece.bytes.size(), kCueLineBytes);
        EXPECT_EQ(win::ToUtf8(piece.text), piece.bytes);
        joined += piece.text;
    }
    EXPECT_EQ(joined, L"TITLE \"" + std::wstring(200, L'\u00e9') + L"\"\n");
}

TEST_F(Cue, CompanionSheetAndImageAreFoundIgnoringCase)
{
    Write("Album.ape", "x");
    EXPECT_EQ(CompanionSheetPath(Path("Album.ape")), Path("Album.cue"));  // missing: named as is
    Write("Album.CUE", "x");
    EXPECT_EQ(CompanionSheetPath(Path("Album.ape")), Path("Album.CUE"));
    EXPECT_EQ(ImagePath(Path("a.cue"), L"ALBUM.APE"), Path("Album.ape"));
    EXPECT_EQ(ImagePath(Path("a.cue"), L"sub/Album.ape"), Path("sub/Album.ape"));
    EXPECT_EQ(ImagePath(Path("a.cue"), L""), L"");
}
