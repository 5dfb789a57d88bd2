// MP3 rows through the engine, encoded in segments on two threads: album
// tracks cut from an image come out at their length and sound as the serial
// encoding does, and a row cancelled midway leaves nothing behind. Rows side
// by side whose watcher opens a progress window on each row's own thread
// have every chunk's progress handled there, in order and complete, while
// their start and done messages still reach the watcher's window.
#include "JoinCheck.h"

#include "tests/engine/BatchRecorder.h"
#include "tests/support/TestFiles.h"

#include "engine/BatchController.h"
#include "app/EngineMessages.h"
#include "engine/RowEvents.h"
#include "settings/ConversionSettings.h"

#include "platform/backend/HeadlessBackend.h"
#include "platform/core/Strings.h"
#include "platform/core/WorkThreads.h"
#include "platform/messaging/Thread.h"
#include "platform/window/Window.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <atomic>
#include <mutex>
#include <set>

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
        saved = g_settings;
        g_settings = ConversionSettings();
        g_settings.cbrFlag = 1;
        g_settings.mp3.cbrBitRate = 192;
        g_settings.mp3.quality = 5;
        setenv("KOLVEX_MP3_SEGMENT_FRAMES", "24", 1);
    }
    void TearDown() override
    {
        unsetenv("KOLVEX_MP3_SEGMENT_FRAMES");
        win::SetRowThreads(win::CoreCount());
        g_settings = saved;
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
    ConversionSettings saved;
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

// Hears a batch directly, as kolvex-convert does: every report of a row
// must come on that row's own worker thread, in order.
class ThreadEvents : public RowEvents {
public:
    struct Row {
        win::DWORD startedOn = 0, doneOn = 0;
        int progress = 0, onOtherThreads = 0, backwards = 0;
        std::int64_t lastMs = -1;
        bool written = false;
        std::wstring reason;
    };

    void RowStarted(std::int32_t key, std::int32_t) override
    {
        std::lock_guard guard(lock_);
        rows_[key].startedOn = win::GetCurrentThreadId();
    }
    void RowProgress(std::int32_t key, std::int64_t ms) override
    {
        std::lock_guard guard(lock_);
        Row& row = rows_[key];
        row.progress++;
        row.onOtherThreads += row.startedOn != win::GetCurrentThreadId();
        row.backwards += ms < row.lastMs;
        row.lastMs = ms;
    }
    void RowDone(std::int32_t key, std::int32_t, bool written, const std::wstring& reason) override
    {
        std::lock_guard guard(lock_);
        Row& row = rows_[key];
        row.doneOn = win::GetCurrentThreadId();
        row.written = written;
        row.reason = reason;
    }
    void ResampleStarted(std::int32_t) override { }
    void ResampleProgress(std::int32_t, int) override { }
    void ResampleDone(std::int32_t, bool, const std::wstring&) override { }
    void RowFinished(std::int32_t, bool, const std::wstring&) override { }
    void BatchDone() override { batchDoneOn_ = win::GetCurrentThreadId(); }
    bool AskOverwrite(std::int32_t, const std::wstring&) override { return false; }

    std::map<std::int32_t, Row> Rows()
    {
        std::lock_guard guard(lock_);
        return rows_;
    }
    win::DWORD BatchDoneOn() const { return batchDoneOn_; }

private:
    std::mutex lock_;
    std::map<std::int32_t, Row> rows_;
    std::atomic<win::DWORD> batchDoneOn_{0};
};

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
        ASSERT_TRUE(recorder.Run(table));
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
    ASSERT_TRUE(recorder.Run(table));
    ASSERT_NE(recorder.Find(WM_MP3_DONE), nullptr);
    EXPECT_EQ(recorder.Find(WM_MP3_DONE)->lParam, 1);
    EXPECT_EQ(row->failureReason, L"cancelled: the unfinished file was removed");
    EXPECT_TRUE(Names().empty());
}

TEST_F(SegmentRows, RowsSideBySideReportEveryChunkOnTheirOwnThread)
{
    const fs::path image = FixturePath("stereo16_44k.ape");
    const std::size_t blocks = FfmpegDecode(image, "s16le").size() / 4;
    ThreadEvents events;
    std::vector<std::unique_ptr<ConversionItem>> items;
    RowTable table;
    for (std::int32_t key : {0, 1, 2}) {
        items.push_back(MakeRow(key, image.wstring(), (dir / (std::to_string(key) + ".mp3")).wstring(), kOutputMp3));
        table[key] = items.back().get();
    }
    BatchController batch;
    batch.SetRows(&table);
    batch.SetRowsAtOnce(2);
    ASSERT_EQ(batch.Start(BatchSettings{g_settings}, events), 1);
    batch.Wait();

    auto rows = events.Rows();
    ASSERT_EQ(rows.size(), 3u);
    std::set<win::DWORD> threads;
    for (auto& [key, row] : rows) {
        SCOPED_TRACE("row " + std::to_string(key));
        EXPECT_TRUE(row.written) << win::ToUtf8(row.reason);
        EXPECT_NE(row.startedOn, win::GetCurrentThreadId());
        EXPECT_EQ(row.doneOn, row.startedOn);
        threads.insert(row.startedOn);
        // One per chunk of 1024 blocks (the last one short), and one as the
        // source says it has no more.
        EXPECT_EQ(static_cast<std::size_t>(row.progress), (blocks + 1023) / 1024 + 1);
        EXPECT_EQ(row.onOtherThreads, 0);
        EXPECT_EQ(row.backwards, 0);
    }
    EXPECT_EQ(threads.size(), 3u) << "each row has a worker of its own";
    EXPECT_NE(events.BatchDoneOn(), 0u);
    EXPECT_EQ(threads.count(events.BatchDoneOn()), 0u) << "the batch's done comes from the batch's thread";
}
