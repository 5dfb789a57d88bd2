// Which lines make which track: everything up to the next TRACK line is the
// track's, data tracks never become rows nor cut the audio, and a track that
// cannot be timed says why without taking its neighbours down with it.
#include "cue/CueTime.h"
#include "tests/cue/CueFixture.h"

namespace {

std::vector<std::wstring> Numbers(const CueSheet& sheet)
{
    std::vector<std::wstring> numbers;
    for (const auto& track : sheet.tracks)
        numbers.push_back(track->number);
    return numbers;
}

}  // namespace

TEST_F(Cue, TextsAfterATracksIndexStillBelongToIt)
{
    const CueSheet& sheet = Parse(
        "PERFORMER \"Band\"\nTITLE \"Album\"\nREM DATE 1999\nFILE \"a.flac\" WAVE\n"
        "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n    TITLE \"One\"\n    PERFORMER \"Guest\"\n"
        "    SONGWRITER \"Writer\"\n    ISRC XX0000000001\n    FLAGS DCP\n    REM COMMENT \"late\"\n"
        "  TRACK 02 AUDIO\n    TITLE \"Two\"\n    INDEX 01 01:00:00\n");
    ASSERT_EQ(sheet.tracks.size(), 2u);
    const CueTrack& first = *sheet.tracks[0];
    EXPECT_EQ(first.title, L"One");
    EXPECT_EQ(first.performer, L"Guest");
    EXPECT_EQ(first.songwriter, L"Writer");
    EXPECT_EQ(first.isrc, L"XX0000000001");
    EXPECT_EQ(first.flags, L"DCP");
    EXPECT_EQ(first.tags.Get("COMMENT"), L"late");
    EXPECT_EQ(first.tags.Get("ARTIST"), L"Guest");
    // Nothing of the first track leaks into the album or the next track.
    EXPECT_EQ(sheet.albumTitle, L"Album");
    EXPECT_EQ(sheet.albumPerformer, L"Band");
    EXPECT_EQ(sheet.tracks[1]->tags.Get("ARTIST"), L"Band");
    EXPECT_EQ(sheet.tracks[1]->tags.Get("ALBUM"), L"Album");
    EXPECT_EQ(sheet.tracks[1]->tags.Get("COMMENT"), L"");
    EXPECT_EQ(sheet.tracks[1]->tags.Get("DATE"), L"1999");
    EXPECT_EQ(first.endFrames, 60 * 75);
}

TEST_F(Cue, DataTracksAreLeftOutAndCutNothing)
{
    // Enhanced CD: the data session at the end, with only a pregap index.
    const CueSheet& enhanced = Parse(
        "FILE \"disc.bin\" BINARY\n"
        "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
        "  TRACK 02 AUDIO\n    INDEX 01 02:00:00\n"
        "  TRACK 03 MODE1/2352\n    TITLE \"Data\"\n    INDEX 00 04:00:00\n");
    EXPECT_EQ(Numbers(enhanced), (std::vector<std::wstring>{L"01", L"02"}));
    EXPECT_EQ(enhanced.tracks[1]->endFrames, kToImageEnd);  // to the end of its file
    EXPECT_EQ(enhanced.tracks[1]->title, L"");
    EXPECT_EQ(enhanced.tracks[1]->tags.Get("TRACKNUMBER"), L"2/2");

    // Data in the middle, with and without an index of its own: the audio
    // before it runs to the next audio track, numbers stay as written.
    const CueSheet& mixed = Parse(
        "FILE \"disc.bin\" BINARY\n"
        "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
        "  TRACK 02 MODE2/2352\n"
        "  TRACK 03 mode1/2048\n    INDEX 01 01:00:00\n"
        "  TRACK 04 AUDIO\n    INDEX 01 03:00:00\n"
        "  TRACK 05 CDI/2352\n    INDEX 01 04:00:00\n"
        "  TRACK 06 AUDIO\n    INDEX 01 05:00:00\n");
    EXPECT_EQ(Numbers(mixed), (std::vector<std::wstring>{L"01", L"04", L"06"}));
    EXPECT_EQ(mixed.tracks[0]->endFrames, 3 * 60 * 75);
    EXPECT_EQ(mixed.tracks[1]->startFrames, 3 * 60 * 75);
    EXPECT_EQ(mixed.tracks[1]->endFrames, 5 * 60 * 75);
    EXPECT_EQ(mixed.tracks[2]->endFrames, kToImageEnd);
    for (const auto& track : mixed.tracks)
        EXPECT_EQ(track->problem, L"");
    EXPECT_EQ(mixed.files[0].kind, CueFileKind::Binary);
}

TEST_F(Cue, ATrackWithoutIndex01FailsAloneAndItsNeighbourRunsOn)
{
    const CueSheet& sheet = Parse(
        "FILE \"a.flac\" WAVE\n"
        "  TRACK 01 AUDIO\n    TITLE \"One\"\n    INDEX 01 00:00:00\n"
        "  TRACK 02 AUDIO\n    TITLE \"Two\"\n    INDEX 00 01:00:00\n"
        "  TRACK 03 AUDIO\n    TITLE \"Three\"\n    INDEX 01 02:00:00\n"
        "  TRACK 04 AUDIO\n    TITLE \"Four\"\n");
    ASSERT_EQ(Numbers(sheet), (std::vector<std::wstring>{L"01", L"02", L"03", L"04"}));
    EXPECT_EQ(sheet.tracks[1]->problem, L"no INDEX 01");
    EXPECT_EQ(sheet.tracks[1]->title, L"Two");
    EXPECT_EQ(sheet.tracks[3]->problem, L"no INDEX 01");
    // No audio falls between two rows: track 1 runs to track 3.
    EXPECT_EQ(sheet.tracks[0]->endFrames, 2 * 60 * 75);
    EXPECT_FLOAT_EQ(sheet.tracks[0]->end, 120.0f);
    EXPECT_EQ(sheet.tracks[2]->title, L"Three");
    EXPECT_EQ(sheet.tracks[2]->startFrames, 2 * 60 * 75);
    EXPECT_EQ(sheet.tracks[2]->endFrames, kToImageEnd);
    EXPECT_EQ(sheet.tracks[2]->problem, L"");
}

TEST_F(Cue, BadTimesFailTheirTrackOnly)
{
    const char* bad[] = {"-1:00:00", "00:60:00", "00:00:75", "aa:bb:cc", "01:02", "", "1:2:3x", "00:-1:00"};
    for (const char* time : bad) {
        const CueSheet& sheet = Parse(std::string("FILE \"a.flac\" WAVE\n"
                                                  "TRACK 01 AUDIO\nINDEX 01 00:00:00\n"
                                                  "TRACK 02 AUDIO\nTITLE \"Bad\"\nINDEX 01 ") +
                                      time + "\nTRACK 03 AUDIO\nINDEX 01 100:59:74\n");
        ASSERT_EQ(sheet.tracks.size(), 3u) << time;
        EXPECT_EQ(sheet.tracks[1]->problem, L"bad INDEX time") << time;
        EXPECT_EQ(sheet.tracks[0]->problem, L"") << time;
        EXPECT_EQ(sheet.tracks[0]->endFrames, (100 * 60 + 59) * 75 + 74) << time;
        // Minutes past 99 are fine: long images have them.
        EXPECT_EQ(sheet.tracks[2]->problem, L"") << time;
        EXPECT_EQ(sheet.tracks[2]->startFrames, (100 * 60 + 59) * 75 + 74) << time;
    }
}

TEST_F(Cue, ATrackStartingBeforeTheOneBeforeItFails)
{
    const CueSheet& sheet = Parse(
        "FILE \"a.flac\" WAVE\n"
        "TRACK 01 AUDIO\nINDEX 01 00:00:00\n"
        "TRACK 02 AUDIO\nINDEX 01 03:00:00\n"
        "TRACK 03 AUDIO\nINDEX 01 02:00:00\n"  // typed wrong
        "TRACK 04 AUDIO\nINDEX 01 03:00:00\n"  // the same start again
        "TRACK 05 AUDIO\nINDEX 01 04:00:00\n"
        "FILE \"b.flac\" WAVE\n"
        "TRACK 06 AUDIO\nINDEX 01 00:00:00\n");  // a new image starts again at 0
    ASSERT_EQ(sheet.tracks.size(), 6u);
    std::vector<std::wstring> problems;
    for (const auto& track : sheet.tracks)
        problems.push_back(track->problem);
    EXPECT_EQ(problems, (std::vector<std::wstring>{L"", L"", L"bad INDEX time", L"bad INDEX time", L"", L""}));
    EXPECT_EQ(sheet.tracks[1]->endFrames, 4 * 60 * 75);
    for (const auto& track : sheet.tracks) {
        if (track->problem.empty() && track->endFrames != kToImageEnd) {
            EXPECT_GT(track->endFrames, track->startFrames);
        }
    }
}

TEST(CueTime, OnlySoundTimesGiveFrames)
{
    EXPECT_EQ(IndexFrames(L"00:00:00"), 0);
    EXPECT_EQ(IndexFrames(L"79:59:74"), (79 * 60 + 59) * 75 + 74);
    EXPECT_EQ(IndexFrames(L"1:2:3"), (60 + 2) * 75 + 3);
    EXPECT_EQ(IndexFrames(L"999:00:00"), 999 * 60 * 75);
    for (const wchar_t* bad : {L"", L"00:00", L"00:00:00:00", L":00:00", L"00:59:75", L"00:60:00", L"+1:00:00",
                               L" 1:00:00", L"\u0661:00:00", L"99999999:00:00"})
        EXPECT_FALSE(IndexFrames(bad)) << win::ToUtf8(bad);
}
