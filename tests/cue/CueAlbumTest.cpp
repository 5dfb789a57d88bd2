// Sheets as rippers write them: several images, names that are not where or
// how the sheet says, other encodings and line ends, exact times and tags.
#include "cue/CueReader.h"
#include "tests/cue/CueFixture.h"

#include <random>

namespace {

std::vector<std::wstring> Images(const CueSheet& sheet)
{
    std::vector<std::wstring> paths;
    for (const auto& track : sheet.tracks)
        paths.push_back(track->imagePath);
    return paths;
}

std::string Utf16(const std::wstring& text, bool little)
{
    std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
    for (wchar_t c : text) {
        std::u16string units;
        if (c > 0xFFFF) {
            units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            units += static_cast<char16_t>(c);
        }
        for (char16_t u : units) {
            char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
            bytes += little ? std::string{lo, hi} : std::string{hi, lo};
        }
    }
    return bytes;
}

}  // namespace

TEST_F(Cue, EachTrackTakesTheImageOfItsOwnFileEntry)
{
    Write("01.ape", "a");
    Write("02.ape", "b");
    Write("03.ape", "c");
    const CueSheet& sheet = Parse(
        "FILE \"01.ape\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
        "FILE \"02.ape\" WAVE\n  TRACK 02 AUDIO\n    INDEX 01 00:00:00\n"
        "FILE \"03.ape\" WAVE\n  TRACK 03 AUDIO\n    INDEX 01 00:00:00\n");
    EXPECT_EQ(Images(sheet), (std::vector<std::wstring>{Path("01.ape"), Path("02.ape"), Path("03.ape")}));
    for (const auto& track : sheet.tracks) {
        EXPECT_EQ(track->startFrames, 0);
        EXPECT_EQ(track->endFrames, kToImageEnd);  // each runs to the end of its own file
        EXPECT_FLOAT_EQ(track->end, 0.0f);
    }
    EXPECT_EQ(sheet.imageFileName, L"03.ape");  // what the patterns take for the sheet's image
    EXPECT_EQ(reader_.ImagePath(), Path("03.ape"));
}

TEST_F(Cue, TwoImagesWithSplitPointsAndAPregapAtTheEndOfTheFirst)
{
    Write("a.ape", "a");
    Write("b.ape", "b");
    const CueSheet& sheet = Parse(
        "FILE \"a.ape\" WAVE\n"
        "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
        "  TRACK 02 AUDIO\n    INDEX 01 00:10:00\n"
        "  TRACK 03 AUDIO\n    INDEX 00 00:20:00\n"
        "FILE \"b.ape\" WAVE\n"
        "    INDEX 01 00:00:00\n"
        "  TRACK 04 AUDIO\n    INDEX 01 00:07:30\n");
    ASSERT_EQ(sheet.tracks.size(), 4u);
    EXPECT_EQ(Images(sheet), (std::vector<std::wstring>{Path("a.ape"), Path("a.ape"), Path("b.ape"), Path("b.ape")}));
    EXPECT_EQ(sheet.tracks[0]->endFrames, 750);
    EXPECT_FLOAT_EQ(sheet.tracks[0]->end, 10.0f);
    // Track 2 takes the rest of the first file, the pregap of track 3 with it.
    EXPECT_EQ(sheet.tracks[1]->startFrames, 750);
    EXPECT_EQ(sheet.tracks[1]->endFrames, kToImageEnd);
    EXPECT_EQ(sheet.tracks[2]->startFrames, 0);
    EXPECT_EQ(sheet.tracks[2]->endFrames, 7 * 75 + 30);
    EXPECT_EQ(sheet.tracks[3]->endFrames, kToImageEnd);
}

TEST_F(Cue, SingleImageSheetKeepsTheImageForEveryTrack)
{
    Write("album.ape", "x");
    const CueSheet& sheet = Parse(
        "FILE \"album.ape\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
        "  TRACK 02 AUDIO\n    INDEX 01 01:00:00\n");
    EXPECT_EQ(Images(sheet), (std::vector<std::wstring>{Path("album.ape"), Path("album.ape")}));
    EXPECT_FLOAT_EQ(sheet.tracks[0]->end, 60.0f);
    EXPECT_EQ(sheet.tracks[0]->endFrames, 4500);
}

TEST_F(Cue, ImagesAreFoundWhereRippersLeaveThem)
{
    Write("album.ape", "x");
    Write("My Album.APE", "x");
    Write("CD1/disc.ape", "x");
    Write("Caf\xC3\xA9.ape", "x");
    struct Case {
        std::string file;
        std::wstring found;
    } cases[] = {
        {"FILE \"album.ape\" WAVE", Path("album.ape")},
        {"FILE \"album.wav\" WAVE", Path("album.ape")},  // compressed after the sheet was written
        {"FILE \"album.flac\" WAVE", Path("album.ape")},
        {"FILE \"ALBUM.BIN\" BINARY", Path("album.ape")},
        {"FILE album.ape WAVE", Path("album.ape")},
        {"FILE My Album.ape WAVE", Path("My Album.APE")},
        {"FILE \"C:\\Rips\\Someone\\album.wav\" WAVE", Path("album.ape")},
        {"FILE \"CD1\\disc.wav\" WAVE", Path("CD1/disc.ape")},
        {"FILE \"" + (dir_ / "CD1/disc.ape").string() + "\" WAVE", Path("CD1/disc.ape")},
        {"FILE \"/nowhere/album.ape\" WAVE", Path("album.ape")},
        {"FILE \"Caf\xE9.ape\" WAVE", Path("Caf\xC3\xA9.ape")},  // Windows-1252 sheet, UTF-8 disk
        // Not there under any extension: the sheet's own name finds it.
        {"FILE \"missing.wav\" WAVE", Path("album.ape")},
        {"FILE \"album.ogg\" WAVE", Path("album.ape")},
    };
    for (const auto& c : cases) {
        const CueSheet& sheet = Parse(c.file + "\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n");
        ASSERT_EQ(sheet.tracks.size(), 1u) << c.file;
        EXPECT_EQ(sheet.tracks[0]->imagePath, c.found) << c.file;
        EXPECT_EQ(reader_.ImagePath(), c.found) << c.file;
    }
}

TEST_F(Cue, Utf16AndOldMacSheetsReadLikeAnyOther)
{
    Write("album.ape", "x");
    std::wstring text =
        L"PERFORMER \"\u041a\u0438\u043d\u043e\"\r\nTITLE \"\u00c9t\u00e9 \U0001F3B5\"\r\nFILE \"album.ape\" WAVE\r\n"
        L"TRACK 01 AUDIO\r\n  TITLE \"\u6e2c\u8a66\"\r\n  INDEX 01 00:00:00\r\n"
        L"TRACK 02 AUDIO\r\n  INDEX 01 00:02:01\r\n";
    std::string utf8 = win::ToUtf8(text);
    std::string mac;
    for (char c : utf8)
        if (c != '\n')
            mac += c;
    for (const std::string& bytes : {Utf16(text, true), Utf16(text, false), mac}) {
        const CueSheet& sheet = Parse(bytes);
        EXPECT_EQ(sheet.albumPerformer, L"\u041a\u0438\u043d\u043e");
        EXPECT_EQ(sheet.albumTitle, L"\u00c9t\u00e9 \U0001F3B5");
        ASSERT_EQ(sheet.tracks.size(), 2u);
        EXPECT_EQ(sheet.tracks[0]->title, L"\u6e2c\u8a66");
        EXPECT_EQ(sheet.tracks[0]->imagePath, Path("album.ape"));
        EXPECT_EQ(sheet.tracks[1]->startFrames, 151);
    }
}

TEST_F(Cue, TimesInFramesTileExactly)
{
    EXPECT_EQ(CueReader::Frames(L"00:00:01"), 1);
    EXPECT_EQ(CueReader::Frames(L"79:59:74"), (79 * 60 + 59) * 75 + 74);
    EXPECT_EQ(CueReader::Frames(L"-1:00:00"), 0);
    EXPECT_EQ(CueReader::Frames(nullptr), 0);

    std::mt19937 random(11);
    std::string text = "FILE \"a.ape\" WAVE\n";
    std::vector<std::int64_t> starts;
    std::int64_t frames = 0;
    for (int i = 1; i <= 40; ++i) {
        char line[80];
        std::snprintf(line, sizeof line, "TRACK %02d AUDIO\nINDEX 01 %02lld:%02lld:%02lld\n", i,
                      static_cast<long long>(frames / 4500), static_cast<long long>(frames / 75 % 60),
                      static_cast<long long>(frames % 75));
        text += line;
        starts.push_back(frames);
        frames += 1 + random() % 20000;
    }
    const CueSheet& sheet = Parse(text);
    ASSERT_EQ(sheet.tracks.size(), starts.size());
    for (std::size_t i = 0; i < starts.size(); ++i) {
        EXPECT_EQ(sheet.tracks[i]->startFrames, starts[i]);
        EXPECT_EQ(sheet.tracks[i]->endFrames, i + 1 < starts.size() ? starts[i + 1] : kToImageEnd);
    }
}

TEST_F(Cue, EveryFieldBecomesATag)
{
    const CueSheet& sheet = Parse(
        "REM GENRE \"Art Rock\"\n"
        "REM DATE 1977\n"
        "REM DISCNUMBER 2\n"
        "REM TOTALDISCS 3\n"
        "REM COMMENT \"ExactAudioCopy v1.6\"\n"
        "REM REPLAYGAIN_ALBUM_GAIN -8.20 dB\n"
        "REM REPLAYGAIN_ALBUM_PEAK 0.988831\n"
        "CATALOG 0724384260910\n"
        "PERFORMER \"The Band\"\n"
        "SONGWRITER \"Writer\"\n"
        "TITLE \"Say \"Hi\" Again\"\n"
        "FILE \"a.ape\" WAVE\n"
        "  TRACK 01 AUDIO\n"
        "    TITLE \"Intro\"\n"
        "    REM REPLAYGAIN_TRACK_GAIN -7.89 dB\n"
        "    REM REPLAYGAIN_TRACK_PEAK 0.977\n"
        "    INDEX 01 00:00:00\n"
        "  TRACK 02 AUDIO\n"
        "    TITLE Unquoted Title\n"
        "    PERFORMER \"Guest\"\n"
        "    SONGWRITER \"Other\"\n"
        "    ISRC GBAYE7700001\n"
        "    REM COMMENT \"live\"\n"
        "    INDEX 01 00:03:00\n");
    ASSERT_EQ(sheet.tracks.size(), 2u);
    EXPECT_EQ(sheet.albumTitle, L"Say \"Hi\" Again");
    const TagRecord& first = sheet.tracks[0]->tags;
    std::map<std::string, std::vector<std::wstring>> expected{
        {"TITLE", {L"Intro"}}, {"ARTIST", {L"The Band"}}, {"ALBUM", {L"Say \"Hi\" Again"}},
        {"ALBUMARTIST", {L"The Band"}}, {"COMPOSER", {L"Writer"}}, {"TRACKNUMBER", {L"1/2"}},
        {"DATE", {L"1977"}}, {"GENRE", {L"Art Rock"}}, {"COMMENT", {L"ExactAudioCopy v1.6"}},
        {"DISCNUMBER", {L"2/3"}}, {"REPLAYGAIN_ALBUM_GAIN", {L"-8.20 dB"}},
        {"REPLAYGAIN_ALBUM_PEAK", {L"0.988831"}}, {"REPLAYGAIN_TRACK_GAIN", {L"-7.89 dB"}},
        {"REPLAYGAIN_TRACK_PEAK", {L"0.977"}}};
    EXPECT_EQ(first.fields, expected);
    const TagRecord& second = sheet.tracks[1]->tags;
    EXPECT_EQ(second.Get("TITLE"), L"Unquoted Title");
    EXPECT_EQ(second.Get("ARTIST"), L"Guest");
    EXPECT_EQ(second.Get("COMPOSER"), L"Other");
    EXPECT_EQ(second.Get("ISRC"), L"GBAYE7700001");
    EXPECT_EQ(second.Get("COMMENT"), L"live");
    EXPECT_EQ(second.Get("TRACKNUMBER"), L"2/2");
    EXPECT_EQ(second.Get("REPLAYGAIN_TRACK_GAIN"), L"");  // the first track's, not the second's
}

TEST_F(Cue, ASheetWithoutTextsHasNoTagsButItsNumbers)
{
    const CueSheet& sheet = Parse("FILE \"a.ape\" WAVE\nTRACK 7 AUDIO\nINDEX 01 00:00:00\n");
    EXPECT_EQ(sheet.tracks[0]->tags.fields,
              (std::map<std::string, std::vector<std::wstring>>{{"TRACKNUMBER", {L"7/1"}}}));
}
