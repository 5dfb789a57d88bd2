// The album's gain goes into every file of the album once its last row is
// over, through a new copy of each file: a failing disk, or a row of the
// album that made no file, leaves every file as it was, and the rows say so.
#include "engine/AlbumGains.h"
#include "tags/TagFiles.h"
#include "tests/support/TestFiles.h"

#include "platform/core/OutputFile.h"
#include "platform/core/Strings.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

class AlbumGainsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 2; ++i) {
            fs::path wav = dir / ("t" + std::to_string(i) + ".wav");
            std::string made = RunText("sox -n -r 44100 -b 16 -c 2 " + wav.string() + " synth 1 sine " +
                                       std::to_string(300 + 200 * i) + " vol 0." + std::to_string(3 + 4 * i) +
                                       " && echo made");
            ASSERT_NE(made.find("made"), std::string::npos);
            auto& item = items[i];
            item.sourcePath = win::FromUtf8((dir / "album.cue").string());
            item.outputPath = win::FromUtf8(wav.string());
            item.outputKind = kOutputWav;
            item.marked = 1;
            item.tags.Set("ALBUM", L"Tones");
            item.tags.Set("TITLE", L"Tone " + std::to_wstring(i));
            table[i] = &item;
        }
    }
    void TearDown() override { win::SetWriteFault(0, 0); }

    static std::string RunText(const std::string& command)
    {
        auto out = RunCapture(command);
        return {out.begin(), out.end()};
    }
    // A meter that heard the file's audio (after its 44-byte header).
    std::unique_ptr<LoudnessMeter> Meter(int i)
    {
        auto bytes = ReadBytes(win::ToUtf8(items[i].outputPath));
        auto meter = std::make_unique<LoudnessMeter>(2, 44100, 16);
        meter->Add(bytes.data() + 44, bytes.size() - 44);
        return meter;
    }
    std::vector<std::vector<unsigned char>> Files() const
    {
        return {ReadBytes(win::ToUtf8(items[0].outputPath)), ReadBytes(win::ToUtf8(items[1].outputPath))};
    }

    TempDir dir;
    ConversionItem items[2];
    RowTable table;
};

}  // namespace

TEST_F(AlbumGainsTest, TheLastRowWritesTheAlbumsGainIntoEveryFile)
{
    ASSERT_EQ(MissingTools({"sox"}), "");
    auto first = Meter(0), second = Meter(1);
    const double louder = std::max(first->Peak(), second->Peak());
    const double loudness = LoudnessMeter::LoudnessOf({first.get(), second.get()});
    AlbumGains gains(table);
    gains.RowOver(items[0], std::move(first), items[0].tags);
    EXPECT_TRUE(ReadTags(items[0].outputPath).Get("REPLAYGAIN_ALBUM_GAIN").empty());
    gains.RowOver(items[1], std::move(second), items[1].tags);
    for (auto& item : items) {
        TagRecord tags = ReadTags(item.outputPath);
        EXPECT_EQ(tags.Get("REPLAYGAIN_ALBUM_GAIN"), ReplayGainText(loudness));
        EXPECT_EQ(tags.Get("REPLAYGAIN_ALBUM_PEAK"), PeakText(louder));
        EXPECT_EQ(tags.Get("TITLE"), item.tags.Get("TITLE"));
        EXPECT_TRUE(item.warning.empty());
        EXPECT_TRUE(item.albumGainWritten);
    }
    // Louder than the reference: a negative gain, and the peak of the louder track.
    EXPECT_LT(std::stod(win::ToUtf8(ReplayGainText(loudness))), 0.0);
    EXPECT_NEAR(louder, 0.7, 0.01);
    EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"t0.wav", "t1.wav"}));
}

TEST_F(AlbumGainsTest, AFailingDiskOrAFailedRowLeavesEveryFileAsItWas)
{
    ASSERT_EQ(MissingTools({"sox"}), "");
    const auto before = Files();
    {
        AlbumGains gains(table);
        gains.RowOver(items[0], Meter(0), items[0].tags);
        win::SetWriteFault(1, ENOSPC);
        gains.RowOver(items[1], Meter(1), items[1].tags);
        win::SetWriteFault(0, 0);
    }
    EXPECT_TRUE(Files() == before);
    for (auto& item : items) {
        EXPECT_EQ(item.warning, L"the album gain was not written: could not be written: no space left on device");
        EXPECT_FALSE(item.albumGainWritten);
    }
    EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"t0.wav", "t1.wav"}));

    for (auto& item : items)
        item.warning.clear();
    AlbumGains gains(table);
    gains.RowOver(items[0], nullptr, items[0].tags);
    gains.RowOver(items[1], Meter(1), items[1].tags);
    EXPECT_TRUE(Files() == before);
    EXPECT_TRUE(items[0].warning.empty());
    EXPECT_EQ(items[1].warning, L"the album gain was not written: another track of the album failed");

    // A batch stopped before the album's last row.
    items[0].warning.clear();
    AlbumGains stopped(table);
    stopped.RowOver(items[0], Meter(0), items[0].tags);
    stopped.BatchOver();
    EXPECT_EQ(items[0].warning, L"the album gain was not written: not every track of the album was converted");
    EXPECT_FALSE(items[0].albumGainWritten);
    EXPECT_TRUE(Files() == before);
}

TEST_F(AlbumGainsTest, ARowWhoseAlbumIsNotKnownHoldsBackTheAlbumsOfItsFolder)
{
    ASSERT_EQ(MissingTools({"sox"}), "");
    const auto before = Files();
    // A file beside the album whose tags could not be read: it may be one of its tracks.
    ConversionItem unknown;
    unknown.sourcePath = win::FromUtf8((dir / "damaged.flac").string());
    unknown.outputPath = win::FromUtf8((dir / "damaged.wav").string());
    unknown.outputKind = kOutputWav;
    unknown.marked = 1;
    // Another folder's album does not wait for it.
    ConversionItem elsewhere = items[0];
    fs::create_directories(dir / "other");
    fs::copy_file(dir / "t0.wav", dir / "other" / "t0.wav");
    elsewhere.sourcePath = win::FromUtf8((dir / "other" / "album.cue").string());
    elsewhere.outputPath = win::FromUtf8((dir / "other" / "t0.wav").string());
    table[2] = &unknown;
    table[3] = &elsewhere;
    {
        AlbumGains gains(table);
        gains.RowOver(items[0], Meter(0), items[0].tags);
        gains.RowOver(items[1], Meter(1), items[1].tags);
        EXPECT_TRUE(Files() == before) << "the album waits for the row beside it";
        gains.RowOver(unknown, nullptr, unknown.tags);
        gains.RowOver(elsewhere, Meter(0), elsewhere.tags);
        gains.BatchOver();
    }
    EXPECT_TRUE(Files() == before);
    for (auto& item : items) {
        EXPECT_EQ(item.warning, L"the album gain was not written: a track beside it whose album is not known failed");
        EXPECT_FALSE(item.albumGainWritten);
    }
    EXPECT_TRUE(unknown.warning.empty());
    EXPECT_TRUE(elsewhere.albumGainWritten) << win::ToUtf8(elsewhere.warning);
    EXPECT_FALSE(ReadTags(elsewhere.outputPath).Get("REPLAYGAIN_ALBUM_GAIN").empty());

    // When it makes its file, it is an album of its own, and the album beside it is written.
    for (auto& item : items)
        item.warning.clear();
    fs::copy_file(dir / "t0.wav", dir / "damaged.wav");
    table.erase(3);
    AlbumGains gains(table);
    gains.RowOver(unknown, Meter(0), unknown.tags);
    EXPECT_TRUE(unknown.albumGainWritten);
    gains.RowOver(items[0], Meter(0), items[0].tags);
    gains.RowOver(items[1], Meter(1), items[1].tags);
    const std::wstring alone = ReadTags(unknown.outputPath).Get("REPLAYGAIN_ALBUM_GAIN");
    const std::wstring album = ReadTags(items[1].outputPath).Get("REPLAYGAIN_ALBUM_GAIN");
    EXPECT_EQ(ReadTags(items[0].outputPath).Get("REPLAYGAIN_ALBUM_GAIN"), album);
    EXPECT_FALSE(album.empty());
    EXPECT_NE(alone, album);
    for (auto& item : items)
        EXPECT_TRUE(item.albumGainWritten) << win::ToUtf8(item.warning);
}

TEST_F(AlbumGainsTest, AnUntaggedFileGetsNoAlbumGain)
{
    ASSERT_EQ(MissingTools({"sox"}), "");
    const auto before = Files();
    for (auto& item : items)
        item.writeTags = false;
    AlbumGains gains(table);
    gains.RowOver(items[0], Meter(0), TagRecord());
    gains.RowOver(items[1], Meter(1), TagRecord());
    EXPECT_TRUE(Files() == before);
    // Nothing is missing from it: the file is complete as it is.
    for (auto& item : items)
        EXPECT_TRUE(item.albumGainWritten);
}
