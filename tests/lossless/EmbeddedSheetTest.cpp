// CUE sheets carried inside sound files: FLAC's CUESHEET block (turned into
// sheet text), a CUESHEET comment, an APEv2 "Cuesheet" item; and files
// whose length fields lie, which must give nothing rather than allocate or
// read what they claim.
#include "tests/lossless/LosslessFixture.h"

#include "modules/lossless/EmbeddedSheet.h"
#include "modules/lossless/FlacCueSheet.h"
#include "platform/core/Strings.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace lossless_test;

const std::string kSheet =
    "FILE \"album.wav\" WAVE\n"
    "  TRACK 01 AUDIO\n"
    "    INDEX 01 00:00:00\n"
    "  TRACK 02 AUDIO\n"
    "    INDEX 00 00:01:50\n"
    "    INDEX 01 00:02:10\n"
    "  TRACK 03 AUDIO\n"
    "    ISRC USRC17607839\n"
    "    INDEX 01 00:03:00\n";

std::string SheetOf(const fs::path& path) { return EmbeddedCueSheet(win::FromUtf8(path.string())); }

struct Album {
    testing_support::TempDir dir;
    fs::path wav, cue;
    Album()
    {
        wav = MakeWav(dir.path(), "album.wav", {44100, 16, 2}, 5);
        cue = dir / "album.cue";
        testing_support::WriteBytes(cue, std::vector<unsigned char>(kSheet.begin(), kSheet.end()));
    }
};

TEST(EmbeddedSheet, AFlacCueSheetBlockBecomesSheetText)
{
    ASSERT_EQ(MissingTools(), "");
    Album album;
    fs::path flac = album.dir / "album.flac";
    ASSERT_TRUE(RunTool("flac -s -f --cuesheet=" + Quote(album.cue) + " -o " + Quote(flac) + " " + Quote(album.wav)));
    EXPECT_EQ(SheetOf(flac),
              "FILE \"album.flac\" WAVE\r\n"
              "  TRACK 01 AUDIO\r\n"
              "    INDEX 01 00:00:00\r\n"
              "  TRACK 02 AUDIO\r\n"
              "    INDEX 00 00:01:50\r\n"
              "    INDEX 01 00:02:10\r\n"
              "  TRACK 03 AUDIO\r\n"
              "    ISRC USRC17607839\r\n"
              "    INDEX 01 00:03:00\r\n");
}

TEST(EmbeddedSheet, ACueSheetCommentIsTakenAsItIs)
{
    ASSERT_EQ(MissingTools(), "");
    Album album;
    fs::path flac = Encode(album.wav, "flac");
    ASSERT_TRUE(RunTool("metaflac --set-tag=TITLE=Album --set-tag-from-file=CUESHEET=" + Quote(album.cue) + " " +
                        Quote(flac)));
    EXPECT_EQ(SheetOf(flac), kSheet);
}

TEST(EmbeddedSheet, AnApeTagCuesheetItemIsFound)
{
    ASSERT_EQ(MissingTools(), "");
    Album album;
    fs::path wv = album.dir / "album.wv";
    ASSERT_TRUE(RunTool("wavpack -q -y -w 'Artist=Someone' -w 'Cuesheet=@" + album.cue.string() + "' " +
                        Quote(album.wav) + " -o " + Quote(wv)));
    EXPECT_EQ(SheetOf(wv), kSheet);
}

TEST(EmbeddedSheet, FilesWithoutOneGiveNothing)
{
    ASSERT_EQ(MissingTools(), "");
    Album album;
    EXPECT_EQ(SheetOf(Encode(album.wav, "flac")), "");
    EXPECT_EQ(SheetOf(Encode(album.wav, "wv")), "");
    EXPECT_EQ(SheetOf(album.wav), "");
    EXPECT_EQ(SheetOf(album.dir / "missing.flac"), "");
}

// A CUESHEET block of a stream that is not at 44.1 kHz: sample offsets turn
// into CD frames at the stream's own rate.
std::vector<unsigned char> CueSheetBlock(const std::vector<std::pair<int, std::uint64_t>>& tracks)
{
    std::vector<unsigned char> block(395, 0);
    block.push_back(static_cast<unsigned char>(tracks.size()));
    for (auto [number, offset] : tracks) {
        std::vector<unsigned char> track(36, 0);
        for (int b = 0; b < 8; ++b)
            track[std::size_t(b)] = static_cast<unsigned char>(offset >> (56 - 8 * b));
        track[8] = static_cast<unsigned char>(number);
        track[35] = number == 170 ? 0 : 1;
        block.insert(block.end(), track.begin(), track.end());
        if (number != 170) {
            std::vector<unsigned char> index(12, 0);
            index[8] = 1;
            block.insert(block.end(), index.begin(), index.end());
        }
    }
    return block;
}

TEST(FlacCueSheetBlock, UsesTheStreamsRateAndSkipsTheLeadOut)
{
    auto block = CueSheetBlock({{1, 0}, {2, 48000 * 61 + 48000 / 75 * 7}, {170, 48000 * 200}});
    EXPECT_EQ(FlacCueSheetText(block, 48000, "x.flac"),
              "FILE \"x.flac\" WAVE\r\n"
              "  TRACK 01 AUDIO\r\n"
              "    INDEX 01 00:00:00\r\n"
              "  TRACK 02 AUDIO\r\n"
              "    INDEX 01 01:01:07\r\n");
}

TEST(FlacCueSheetBlock, AShortOrEmptyBlockGivesNothing)
{
    auto block = CueSheetBlock({{1, 0}, {2, 588}});
    block.resize(block.size() - 5);  // the last index point cut off
    EXPECT_EQ(FlacCueSheetText(block, 44100, "x.flac"), "");
    EXPECT_EQ(FlacCueSheetText(CueSheetBlock({}), 44100, "x.flac"), "");
    EXPECT_EQ(FlacCueSheetText(CueSheetBlock({{1, 0}}), 0, "x.flac"), "");
}

void Append32(std::vector<unsigned char>& bytes, std::uint32_t value)
{
    for (int b = 0; b < 4; ++b)
        bytes.push_back(static_cast<unsigned char>(value >> (8 * b)));
}

// An APEv2 footer claiming `tagBytes` and `items`, after `body`.
std::vector<unsigned char> WithApeFooter(std::vector<unsigned char> body, std::uint32_t tagBytes, std::uint32_t items)
{
    for (char c : std::string("APETAGEX"))
        body.push_back(static_cast<unsigned char>(c));
    Append32(body, 2000);
    Append32(body, tagBytes);
    Append32(body, items);
    Append32(body, 0);
    body.resize(body.size() + 8, 0);
    return body;
}

TEST(HostileFiles, LengthsThatLieGiveNothingAndCostNothing)
{
    testing_support::TempDir dir;
    auto start = std::chrono::steady_clock::now();

    // A FLAC CUESHEET block and a comment block claiming 16 MB in a file of
    // a few bytes.
    std::vector<unsigned char> flac = {'f', 'L', 'a', 'C', 0x05, 0xFF, 0xFF, 0xFF, 1, 2, 3};
    testing_support::WriteBytes(dir / "a.flac", flac);
    EXPECT_EQ(SheetOf(dir / "a.flac"), "");
    flac[4] = 0x04;
    testing_support::WriteBytes(dir / "b.flac", flac);
    EXPECT_EQ(SheetOf(dir / "b.flac"), "");

    // A comment block whose comment count and lengths are huge.
    std::vector<unsigned char> comments;
    Append32(comments, 3);
    comments.insert(comments.end(), {'a', 'b', 'c'});
    Append32(comments, 0xFFFFFFFF);
    Append32(comments, 0xFFFFFFF0);
    std::vector<unsigned char> lying = {'f', 'L', 'a', 'C', 0x84, 0, 0, static_cast<unsigned char>(comments.size())};
    lying.insert(lying.end(), comments.begin(), comments.end());
    testing_support::WriteBytes(dir / "c.flac", lying);
    EXPECT_EQ(SheetOf(dir / "c.flac"), "");

    // APEv2 footers: a tag larger than the file, four billion items, an
    // item whose value runs past the tag.
    testing_support::WriteBytes(dir / "d.wv", WithApeFooter(std::vector<unsigned char>(100, 0), 0xFFFFFFF0, 5));
    EXPECT_EQ(SheetOf(dir / "d.wv"), "");
    testing_support::WriteBytes(dir / "e.wv", WithApeFooter(std::vector<unsigned char>(100, 0), 32 + 100, 0xFFFFFFFF));
    EXPECT_EQ(SheetOf(dir / "e.wv"), "");
    std::vector<unsigned char> item;
    Append32(item, 0x7FFFFFFF);
    Append32(item, 0);
    for (char c : std::string("Cuesheet"))
        item.push_back(static_cast<unsigned char>(c));
    item.push_back(0);
    item.insert(item.end(), {'F', 'I', 'L', 'E'});
    testing_support::WriteBytes(dir / "f.wv", WithApeFooter(item, std::uint32_t(32 + item.size()), 1));
    EXPECT_EQ(SheetOf(dir / "f.wv"), "");

    // The same item, honest, is found: the checks above are not refusing
    // everything.
    std::vector<unsigned char> honest;
    Append32(honest, 4);
    Append32(honest, 0);
    for (char c : std::string("CUESHEET"))
        honest.push_back(static_cast<unsigned char>(c));
    honest.push_back(0);
    honest.insert(honest.end(), {'F', 'I', 'L', 'E'});
    testing_support::WriteBytes(dir / "g.wv", WithApeFooter(honest, std::uint32_t(32 + honest.size()), 1));
    EXPECT_EQ(SheetOf(dir / "g.wv"), "FILE");

    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

}  // namespace
