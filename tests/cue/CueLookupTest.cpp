// Big sheets: each folder is listed once per sheet however many FILE
// entries and candidate names it has, and the answers come from that one
// listing. The token scanning keeps the classes the sheets were read with.
#include "cue/CuePatterns.h"
#include "cue/CueReader.h"
#include "tests/cue/CueFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// Lists folders through the real lister and counts how often each is read.
struct CountingLister {
    std::shared_ptr<std::map<std::wstring, int>> listings = std::make_shared<std::map<std::wstring, int>>();
    std::optional<std::vector<std::wstring>> operator()(const std::wstring& directory) const
    {
        ++(*listings)[directory];
        return ListFolder(directory);
    }
};

}  // namespace

TEST_F(Cue, ThousandsOfFileEntriesListTheSheetsFolderOnce)
{
    Write("Disc One.ape", "x");
    std::string text;
    for (int i = 1; i <= 3000; ++i) {
        // Missing images under every kind of name the lookup tries: Windows
        // paths, other extensions, other case.
        text += "FILE \"C:\\Rips\\Missing " + std::to_string(i) + ".wav\" WAVE\n";
        text += "  TRACK " + std::to_string(i) + " AUDIO\n    INDEX 01 00:00:00\n";
    }
    text += "FILE \"DISC ONE.wav\" WAVE\n  TRACK 3001 AUDIO\n    INDEX 01 00:00:00\n";

    CountingLister lister;
    CueReader reader(lister);
    ASSERT_EQ(reader.Parse(Write("big.cue", text).c_str()), 1);
    const CueTrackList& tracks = *reader.Tracks();
    ASSERT_EQ(tracks.size(), 3001u);
    EXPECT_EQ(tracks[0]->imagePath, Path("C:\\Rips\\Missing 1.wav"));  // named as the sheet says
    EXPECT_EQ(tracks.back()->imagePath, Path("Disc One.ape"));
    ASSERT_FALSE(lister.listings->empty());
    for (const auto& [directory, count] : *lister.listings)
        EXPECT_EQ(count, 1) << win::ToUtf8(directory);
    EXPECT_LE(lister.listings->size(), 3u);  // the sheet's folder and the Windows sub-folder
}

TEST_F(Cue, TheListingDecidesWhichNameDiffersOnlyInCase)
{
    // A lister that reports the image under another case: the lookup takes
    // the listed name; a folder that cannot be read finds nothing.
    Write("real.ape", "x");
    CueReader reader([&](const std::wstring&) -> std::optional<std::vector<std::wstring>> {
        return std::vector<std::wstring>{L"other.flac", L"REAL.ape", L"real.APE"};
    });
    ASSERT_EQ(reader.Parse(Write("a.cue", "FILE \"Real.ape\" WAVE\nTRACK 1 AUDIO\nINDEX 01 00:00:00\n").c_str()), 1);
    // Not on disk under the listed name, so not found: named as the
    // listing matched it, the first listed.
    EXPECT_EQ(reader.ImagePath(), Path("REAL.ape"));

    CueReader unreadable([](const std::wstring&) { return std::optional<std::vector<std::wstring>>(); });
    ASSERT_EQ(unreadable.Parse(Write("b.cue", "FILE \"real.ape\" WAVE\nTRACK 1 AUDIO\nINDEX 01 00:00:00\n").c_str()), 1);
    EXPECT_EQ(unreadable.ImagePath(), Path("real.ape"));  // found by asking the file system
}

TEST(CuePatterns, OnlyAsciiLettersMakeWordsAndOnlyAsciiBlanksSeparateFields)
{
    const std::wstring words = L"\u00c9\u00e9 TITLE_2\u00e9x", noWords = L"\u00e9 -- \u3000";
    auto word = FindWord(words);
    ASSERT_TRUE(word);
    EXPECT_EQ(word->token, L"TITLE_2");
    EXPECT_EQ(word->position, 3u);
    EXPECT_FALSE(FindWord(noWords));

    // A no-break or ideographic space is part of a field; a line separator
    // ends it without being taken.
    const std::wstring index = L"INDEX 01\u00a002\u3000x\u2028y", bare = L"INDEX";
    auto field = FindField(index, 5);
    ASSERT_TRUE(field);
    EXPECT_EQ(field->token, L"01\u00a002\u3000x");
    EXPECT_EQ(field->length, 8u);
    EXPECT_FALSE(FindField(bare, 5));
    EXPECT_FALSE(FindField(bare, 9));

    const std::wstring twoQuoted = L"TITLE \"a b\" \"c\"", broken = L"TITLE \"a\u2029b\"", none = L"TITLE none";
    auto closed = FindQuoted(twoQuoted);
    ASSERT_TRUE(closed);
    EXPECT_EQ(closed->token, L"a b");
    EXPECT_EQ(closed->length, 5u);
    auto open = FindQuoted(broken);
    ASSERT_TRUE(open);
    EXPECT_EQ(open->token, L"a");
    EXPECT_EQ(open->length, 2u);
    EXPECT_FALSE(FindQuoted(none));
}
