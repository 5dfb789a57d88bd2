// Nothing lost, nothing reported wrongly: links and hard links to the
// source, damaged sources, impossible ranges, refused and cancelled
// resampling. Every case checks the source, the files left behind and what
// the row reports.
#include "tests/engine/BatchFixture.h"

#include "engine/BatchController.h"
#include "app/EngineMessages.h"
#include "resample/SsrcMessages.h"

#include "platform/core/MessageBox.h"
#include "platform/core/Strings.h"


using namespace testing_support;
namespace fs = std::filesystem;

namespace {

class Safety : public BatchFixture {
protected:
    // The row's done message: lParam 0 written, 1 not; -1 when none came.
    long Done(std::int32_t key) const
    {
        auto events = recorder.EventsOf(key);
        return events.size() == 2 ? static_cast<long>(events[1].lParam) : -1;
    }
    fs::path Copy(const char* fixture, const char* name)
    {
        fs::copy_file(FixturePath(fixture), dir / name);
        return dir / name;
    }
};

}  // namespace

TEST_F(Safety, AnOutputThatIsTheSourceThroughAnyLinkIsRefused)
{
    auto source = Copy("stereo16_44k.ape", "a.ape");
    auto original = ReadBytes(source);
    fs::create_directory(dir / "out");
    fs::create_symlink("../a.ape", dir / "out" / "a.mp3");
    fs::create_symlink("../a.ape", dir / "out" / "a.wav");
    fs::create_hard_link(source, dir / "out" / "hard.wav");
    rows.Add(source, dir / "out" / "a.mp3", kOutputMp3);
    rows.Add(source, dir / "out" / "a.wav");
    rows.Add(source, dir / "out" / "hard.wav");
    rows.Add(source, source);
    for (int i = 0; i < 4; ++i)
        win::Headless().PushAnswer(win::IDYES);  // never asked: nothing may be overwritten
    ASSERT_TRUE(recorder.Run(rows.table));

    EXPECT_TRUE(ReadBytes(source) == original);
    for (std::int32_t key = 0; key < 4; ++key) {
        EXPECT_EQ(Done(key), 1) << key;
        EXPECT_EQ(rows.items[key]->failureReason, L"the output is the source file itself; it was not touched");
    }
    EXPECT_TRUE(win::Headless().Questions().empty());
    EXPECT_TRUE(fs::is_symlink(dir / "out" / "a.mp3"));
    EXPECT_EQ(fs::hard_link_count(source), 2u);
}

TEST_F(Safety, AnExistingLinkIsReplacedAsANameNotWrittenThrough)
{
    WriteBytes(dir / "unrelated.txt", {'k', 'e', 'e', 'p'});
    fs::create_symlink("unrelated.txt", dir / "a.wav");
    rows.Add(FixturePath("mono8_8k.ape"), dir / "a.wav");
    win::Headless().PushAnswer(win::IDYES);
    ASSERT_TRUE(recorder.Run(rows.table));
    EXPECT_EQ(Done(0), 0);
    EXPECT_FALSE(fs::is_symlink(dir / "a.wav"));
    EXPECT_EQ(fs::file_size(dir / "a.wav"), 46u + 12000 * 2);  // 8-bit mono, doubled
    EXPECT_EQ(ReadBytes(dir / "unrelated.txt").size(), 4u);
}

TEST_F(Safety, DamagedSourcesFailAndLeaveNoFile)
{
    auto whole = ReadBytes(FixturePath("stereo16_44k.ape"));
    std::vector<std::pair<std::string, std::vector<unsigned char>>> damaged;
    for (std::size_t cut : {std::size_t(1), std::size_t(200), whole.size() / 2, whole.size() - 100})
        damaged.emplace_back("cut" + std::to_string(cut), std::vector<unsigned char>(whole.begin(), whole.end() - cut));
    for (std::size_t at : {whole.size() / 3, whole.size() / 2, whole.size() - 600}) {
        damaged.emplace_back("flip" + std::to_string(at), whole);
        damaged.back().second[at] ^= 0xFF;
    }
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        WriteBytes(dir / (damaged[i].first + ".ape"), damaged[i].second);
        rows.Add(dir / (damaged[i].first + ".ape"), dir / (damaged[i].first + (i % 2 ? ".mp3" : ".wav")),
            i % 2 ? kOutputMp3 : kOutputWav);
    }
    ASSERT_TRUE(recorder.Run(rows.table));
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE(damaged[i].first);
        EXPECT_EQ(Done(static_cast<std::int32_t>(i)), 1);
        EXPECT_TRUE(rows.items[i]->failureReason.starts_with(L"damaged source: decoded ")) << win::ToUtf8(rows.items[i]->failureReason);
        EXPECT_TRUE(ReadBytes(dir / (damaged[i].first + ".ape")) == damaged[i].second);
    }
    // Only the sources are left: no short file, no temporary file.
    EXPECT_EQ(Names().size(), damaged.size());
}

TEST_F(Safety, EmptyAndPastTheEndRangesFailBeforeAnyFileIsMade)
{
    auto source = FixturePath("stereo16_44k.ape");  // 5 s
    ConversionItem& empty = rows.Add(source, dir / "empty.wav");
    empty.startMs = 2000;
    empty.endMs = 2000;
    ConversionItem& backwards = rows.Add(source, dir / "backwards.wav");
    backwards.startMs = 3000;
    backwards.endMs = 1000;
    ConversionItem& past = rows.Add(source, dir / "past.mp3", kOutputMp3);
    past.startMs = 9000;
    past.endMs = 0;
    ConversionItem& fine = rows.Add(source, dir / "fine.wav");
    fine.startMs = 4000;
    fine.endMs = 7000;  // past the end: the track simply ends with the image
    ASSERT_TRUE(recorder.Run(rows.table));

    EXPECT_EQ(Done(0), 1);
    EXPECT_EQ(rows.items[0]->failureReason, L"the track's range is empty");
    EXPECT_EQ(Done(1), 1);
    EXPECT_EQ(Done(2), 1);
    EXPECT_EQ(rows.items[2]->failureReason, L"the track starts past the end of its image");
    EXPECT_EQ(Done(3), 0);
    EXPECT_EQ(Names(), std::vector<std::string>{"fine.wav"});
    EXPECT_EQ(fs::file_size(dir / "fine.wav"), 46u + 44100 * 4);
}

TEST_F(Safety, WavBesideASourceWithoutDotStaysBesideIt)
{
    fs::create_directory(dir / "a.b");
    fs::copy_file(FixturePath("mono8_8k.ape"), dir / "a.b" / "song");
    WriteBytes(dir / "a.wav", {'o', 't', 'h', 'e', 'r'});
    ConversionItem& row = rows.Add(dir / "a.b" / "song", L"", kOutputWavBesideSource);
    ASSERT_TRUE(recorder.Run(rows.table));
    EXPECT_EQ(row.outputPath, (dir / "a.b" / "song.wav").wstring());
    EXPECT_EQ(ReadBytes(dir / "a.wav").size(), 5u);
}

TEST_F(Safety, RefusedResamplingKeepsTheFileAndSaysWhy)
{
    g_settings.resamplingFlag = 1;
    auto odd = dir / "odd.wav";
    auto made = RunCapture("sox -n -r 31500 -c 2 -b 16 '" + odd.string() + "' synth 0.5 sine 440 && echo ok");
    ASSERT_NE(std::string(made.begin(), made.end()).find("ok"), std::string::npos);
    auto original = ReadBytes(odd);
    // A row that only resamples its existing WAV file, as the hidden
    // command's rows do.
    rows.Add(odd, odd);
    win::Headless().PushAnswer(win::IDYES);
    ASSERT_TRUE(recorder.Run(rows.table));
    const EngineEvent* done = recorder.Find(WM_SSRC_DONE);
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(done->lParam, 1);
    EXPECT_EQ(rows.items[0]->failureReason, L"kept at 31500 Hz: no resampling design for this rate");
    EXPECT_TRUE(ReadBytes(odd) == original);
    EXPECT_EQ(Names(), std::vector<std::string>{"odd.wav"});
}

// A file the user keeps is theirs: neither decoded into nor resampled, also
// when it is not 16-bit 44100 Hz, and also beside the source, where nobody
// is asked.
TEST_F(Safety, AKeptFileIsNeverResampledUnasked)
{
    g_settings.resamplingFlag = 1;
    auto mine = dir / "mine.wav", beside = dir / "stereo16_48k.wav";
    for (const auto& path : {mine, beside}) {
        auto made = RunCapture("sox -n -r 48000 -c 2 -b 16 '" + path.string() + "' synth 0.3 sine 440 && echo ok");
        ASSERT_NE(std::string(made.begin(), made.end()).find("ok"), std::string::npos);
    }
    auto original = ReadBytes(mine), originalBeside = ReadBytes(beside);
    fs::copy_file(FixturePath("stereo16_48k.ape"), dir / "stereo16_48k.ape");
    rows.Add(FixturePath("stereo16_48k.ape"), mine);
    rows.Add(dir / "stereo16_48k.ape", dir / "ignored.wav", kOutputWavBesideSource);
    win::Headless().PushAnswer(win::IDNO);
    ASSERT_TRUE(recorder.Run(rows.table));
    EXPECT_EQ(recorder.Messages(), std::vector<win::UINT>{WM_BATCH_DONE});
    EXPECT_TRUE(ReadBytes(mine) == original);
    EXPECT_TRUE(ReadBytes(beside) == originalBeside);
}

TEST_F(Safety, CancelStopsAfterTheCurrentChunkAndRemovesTheUnfinishedFile)
{
    rows.Add(FixturePath("stereo16_44k.ape"), dir / "first.wav");
    rows.Add(FixturePath("stereo16_44k.ape"), dir / "second.mp3", kOutputMp3);
    recorder.onEvent = [](const EngineEvent& e, BatchController& batch) {
        if (e.message == WM_CONVERT_PROGRESS)
            batch.Cancel();
    };
    ASSERT_TRUE(recorder.Run(rows.table));
    EXPECT_EQ(Done(0), 1);
    EXPECT_EQ(rows.items[0]->failureReason, L"cancelled: the unfinished file was removed");
    EXPECT_TRUE(recorder.EventsOf(1).empty()) << "no row starts after a cancel";
    EXPECT_TRUE(Names().empty());
    int progress = 0;
    for (const auto& e : recorder.Events())
        progress += e.message == WM_CONVERT_PROGRESS;
    EXPECT_EQ(progress, 1);
}

TEST_F(Safety, CancelDuringResamplingKeepsTheFileAsItWas)
{
    g_settings.resamplingFlag = 1;
    auto big = dir / "big.wav";
    auto made = RunCapture("sox -n -r 48000 -c 2 -b 16 '" + big.string() + "' synth 60 sine 440 && echo ok");
    ASSERT_NE(std::string(made.begin(), made.end()).find("ok"), std::string::npos);
    auto original = ReadBytes(big);
    rows.Add(big, big);
    win::Headless().PushAnswer(win::IDYES);
    recorder.onEvent = [](const EngineEvent& e, BatchController& batch) {
        if (e.message == WM_SSRC_START)
            batch.Cancel();
    };
    ASSERT_TRUE(recorder.Run(rows.table));
    EXPECT_EQ(recorder.Find(WM_SSRC_DONE)->lParam, 1);
    EXPECT_EQ(rows.items[0]->failureReason, L"kept at 48000 Hz: resampling cancelled");
    EXPECT_TRUE(ReadBytes(big) == original);
    EXPECT_EQ(Names(), std::vector<std::string>{"big.wav"});
}

TEST_F(Safety, StartIsRefusedWhileABatchRunsAndTheDestructorJoins)
{
    rows.Add(FixturePath("stereo16_44k.ape"), dir / "a.wav");
    {
        WindowRowEvents events(nullptr);  // nobody watches; the question is the back-end's
        BatchController batch;
        EXPECT_EQ(batch.Start(BatchSettings{g_settings}, events), 0) << "no rows yet";
        batch.SetRows(&rows.table);
        win::Headless().PushAnswer(win::IDYES);
        ASSERT_EQ(batch.Start(BatchSettings{g_settings}, events), 1);
        EXPECT_TRUE(batch.IsRunning());
        EXPECT_EQ(batch.Start(BatchSettings{g_settings}, events), 0);
        // Leaving the scope cancels and joins: no thread outlives the rows.
    }
    EXPECT_TRUE(Names().empty() || Names() == std::vector<std::string>{"a.wav"});
    for (const auto& name : Names())
        EXPECT_EQ(fs::file_size(dir / name), 46u + 220500 * 4);
}
