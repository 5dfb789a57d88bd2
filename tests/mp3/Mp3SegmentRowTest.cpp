// MP3 rows through the engine, encoded in segments on two threads: album
// tracks cut from an image come out at their length and sound as the serial
// encoding does, and a row cancelled midway leaves nothing behind.
#include "JoinCheck.h"

#include "tests/engine/BatchRecorder.h"
#include "tests/support/TestFiles.h"

#include "engine/BatchController.h"
#include "engine/EngineMessages.h"
#include "settings/ConversionSettings.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsPath.h"

#include "platform/backend/HeadlessBackend.h"
#include "platform/core/WorkThreads.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace testing_support;
using namespace mp3test;
namespace fs = std::filesystem;

namespace {

class SegmentRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(MissingTools({"ffmpeg", "ffprobe", "mpg123"}), "");
        win::Headless().Reset();
        SetSettingsPath((dir / "configure.dat").wstring());
        ConversionSettings settings;
        settings.cbrFlag = 1;
        settings.mp3.cbrBitRate = 192;
        settings.mp3.quality = 5;
        ASSERT_EQ(SettingsFile::Write((dir / "configure.dat").wstring(), settings), 1);
        setenv("KOLVEX_MP3_SEGMENT_FRAMES", "24", 1);
    }
    void TearDown() override
    {
        unsetenv("KOLVEX_MP3_SEGMENT_FRAMES");
        win::SetRowThreads(win::CoreCount());
        SetSettingsPath(L"");
        win::Headless().Reset();
    }

    std::vector<fs::path> Names() const
    {
        std::vector<fs::path> names;
        for (const auto& entry : fs::directory_iterator(dir.path()))
            names.push_back(entry.path().filename());
        return names;
    }

    TempDir dir;
};

// Signal to noise of a decode against the source, in dB.
double SnrDb(const std::vector<float>& decoded, const std::vector<unsigned char>& source16)
{
    double signal = 0, noise = 0;
    for (std::size_t i = 0; i < decoded.size() && 2 * i + 1 < source16.size(); ++i) {
        double s = static_cast<std::int16_t>(source16[2 * i] | (source16[2 * i + 1] << 8)) / 32768.0;
        signal += s * s;
        noise += (decoded[i] - s) * (decoded[i] - s);
    }
    return 10 * std::log10(signal / std::max(noise, 1e-30));
}

}  // namespace

TEST_F(SegmentRows, AlbumTrackRangesComeOutAtTheirLengthAndSoundAsTheSerialOnes)
{
    const fs::path image = FixturePath("stereo16_44k.ape");
    auto whole = FfmpegDecode(image, "s16le");
    struct Track {
        std::int64_t start, end;  // CD frames of 588 samples
    };
    const Track tracks[] = {{0, 140}, {140, 301}, {301, 375}};
    std::vector<std::unique_ptr<ConversionItem>> items;
    RowTable table;
    for (int threads : {1, 2}) {
        win::SetRowThreads(threads);
        items.clear();
        table.clear();
        for (std::size_t t = 0; t < std::size(tracks); ++t) {
            auto key = static_cast<std::int32_t>(t);
            auto name = dir / (std::to_string(threads) + "-" + std::to_string(t) + ".mp3");
            items.push_back(MakeRow(key, image.wstring(), name.wstring(), kOutputMp3));
            items.back()->startFrames = tracks[t].start;
            items.back()->endFrames = tracks[t].end;
            table[key] = items.back().get();
        }
        BatchRecorder recorder;
        ASSERT_TRUE(recorder.Run(table, 1));
        for (std::size_t t = 0; t < std::size(tracks); ++t) {
            auto events = recorder.EventsOf(static_cast<std::int32_t>(t));
            ASSERT_FALSE(events.empty());
            EXPECT_EQ(events.back().message, WM_MP3_DONE);
            EXPECT_EQ(events.back().lParam, 0);
        }
    }
    for (std::size_t t = 0; t < std::size(tracks); ++t) {
        SCOPED_TRACE("track " + std::to_string(t));
        auto samples = static_cast<std::size_t>(tracks[t].end - tracks[t].start) * 588;
        std::vector<unsigned char> source(whole.begin() + static_cast<std::ptrdiff_t>(tracks[t].start * 588 * 4),
                                          whole.begin() + static_cast<std::ptrdiff_t>(std::min(whole.size(), (tracks[t].start * 588 + samples) * 4)));
        StrictDecode serial = DecodeStrictly(dir / ("1-" + std::to_string(t) + ".mp3"));
        StrictDecode joined = DecodeStrictly(dir / ("2-" + std::to_string(t) + ".mp3"));
        EXPECT_EQ(joined.ffmpegSays, "");
        EXPECT_EQ(joined.mpg123Says, "");
        EXPECT_EQ(serial.samples.size(), source.size() / 2);
        EXPECT_EQ(joined.samples.size(), source.size() / 2);
        EXPECT_EQ(joined.mpg123Frames, source.size() / 4);
        double serialSnr = SnrDb(serial.samples, source), joinedSnr = SnrDb(joined.samples, source);
        EXPECT_GT(serialSnr, 10);
        EXPECT_GT(joinedSnr, serialSnr - 1) << "serial " << serialSnr << " dB";
        InfoTag tag = ReadInfoTag(dir / ("2-" + std::to_string(t) + ".mp3"));
        EXPECT_EQ(tag.frames, tag.actualFrames);
        EXPECT_EQ(tag.musicCrc, tag.actualMusicCrc);
    }
}

TEST_F(SegmentRows, ACancelMidRowStopsTheSegmentsAndLeavesNoFile)
{
    win::SetRowThreads(3);
    auto row = MakeRow(0, FixturePath("stereo16_44k.ape").wstring(), (dir / "cut.mp3").wstring(), kOutputMp3);
    RowTable table{{0, row.get()}};
    BatchRecorder recorder;
    recorder.onEvent = [](const EngineEvent& e, BatchController& batch) {
        if (e.message == WM_CONVERT_PROGRESS)
            batch.Cancel();
    };
    ASSERT_TRUE(recorder.Run(table, 1));
    ASSERT_NE(recorder.Find(WM_MP3_DONE), nullptr);
    EXPECT_EQ(recorder.Find(WM_MP3_DONE)->lParam, 1);
    EXPECT_EQ(row->failureReason, L"cancelled: the unfinished file was removed");
    EXPECT_EQ(Names(), std::vector<fs::path>{"configure.dat"});
}
