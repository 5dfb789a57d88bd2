#include "tests/engine/BatchFixture.h"

#include "app/EngineMessages.h"

#include "platform/core/MessageBox.h"

#include <map>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// The PCM an independent decoder makes of a source, as our WAV file holds
// it: mono doubled frame by frame into stereo.
std::vector<unsigned char> ExpectedPcm(const fs::path& source)
{
    auto probe = RunCapture("ffprobe -v error -show_entries stream=channels,bits_per_raw_sample -of csv=p=0 '" +
                            source.string() + "'");
    std::string info(probe.begin(), probe.end());
    int channels = std::stoi(info);
    int bits = std::stoi(info.substr(info.find(',') + 1));
    auto pcm = FfmpegDecode(source, bits == 8 ? "u8" : bits == 24 ? "s24le" : "s16le");
    if (channels != 1)
        return pcm;
    std::size_t width = static_cast<std::size_t>(bits / 8);
    std::vector<unsigned char> doubled;
    for (std::size_t at = 0; at + width <= pcm.size(); at += width) {
        doubled.insert(doubled.end(), pcm.begin() + at, pcm.begin() + at + width);
        doubled.insert(doubled.end(), pcm.begin() + at, pcm.begin() + at + width);
    }
    return doubled;
}

// Settings path and resampling as the other batch tests have them; these
// rows check the files as decoded.
using Batch = BatchFixture;

}  // namespace

// One row at a time and rows side by side: each row's own messages keep
// their order (start, progress that never goes back, done) and carry its
// key, rows overlap up to the limit and no further (one at a time: in key
// order), the batch ends last, and every file is bit-exact.
TEST_F(Batch, EveryRowKeepsItsProtocolAndBytesAtAnyRowsAtOnce)
{
    const char* fixtures[] = {"stereo16_44k.ape", "mono16_22k.ape", "stereo8_11k.ape",
                              "mono8_8k.ape",     "stereo16_48k.ape", "stereo16_44k.ape"};
    for (std::size_t i = 0; i < std::size(fixtures); ++i)
        rows.Add(FixturePath(fixtures[i]), dir / (std::to_string(i) + ".wav"));
    for (std::size_t atOnce : {1u, 3u}) {
        SCOPED_TRACE(atOnce);
        ASSERT_TRUE(recorder.Run(rows.table, 120000, static_cast<int>(atOnce)));
        const auto& events = recorder.Events();
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.back().message, WM_BATCH_DONE);
        std::map<std::int32_t, int> stage;  // 1: started, 2: done
        std::map<std::int32_t, std::int64_t> lastPosition;
        std::size_t open = 0, mostOpen = 0;
        for (const auto& e : events) {
            auto key = static_cast<std::int32_t>(e.wParam);
            switch (e.message) {
            case WM_WAVE_START:
                EXPECT_EQ(stage[key], 0) << key;
                if (atOnce == 1) {
                    EXPECT_EQ(static_cast<std::size_t>(key), stage.size() - 1) << "rows out of key order";
                }
                stage[key] = 1;
                mostOpen = std::max(mostOpen, ++open);
                break;
            case WM_CONVERT_PROGRESS:
                EXPECT_EQ(stage[key], 1) << "progress of row " << key << " outside its start and done";
                EXPECT_GE(e.positionMs, lastPosition[key]);
                lastPosition[key] = e.positionMs;
                break;
            case WM_WAVE_DONE:
                EXPECT_EQ(stage[key], 1) << key;
                EXPECT_EQ(e.lParam, 0) << key;
                stage[key] = 2;
                --open;
                break;
            }
        }
        EXPECT_EQ(stage.size(), std::size(fixtures));
        for (auto [key, s] : stage)
            EXPECT_EQ(s, 2) << key;
        EXPECT_LE(mostOpen, atOnce);
        if (atOnce > 1) {
            EXPECT_GE(mostOpen, 2u) << "the rows ran one after another";
        }
        for (std::size_t i = 0; i < std::size(fixtures); ++i) {
            auto file = ReadBytes(dir / (std::to_string(i) + ".wav"));
            ASSERT_GE(file.size(), 46u) << i;
            EXPECT_TRUE(std::vector<unsigned char>(file.begin() + 46, file.end()) ==
                        ExpectedPcm(FixturePath(fixtures[i])))
                << fixtures[i];
            fs::remove(dir / (std::to_string(i) + ".wav"));
        }
    }
}

TEST_F(Batch, RealWorldFilesConvertOrEndCleanly)
{
    auto shared = SharedTestData();
    ASSERT_FALSE(shared.empty()) << "shared test data not found (KOLVEX_TESTDATA)";
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(shared / "ape")) {
        names.push_back(entry.path().filename().string());
        rows.Add(entry.path(), dir / (names.back() + ".wav"));
    }
    ASSERT_TRUE(recorder.Run(rows.table)) << "a damaged file must not hang the batch";
    int written = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto output = dir / (names[i] + ".wav");
        auto events = recorder.EventsOf(static_cast<std::int32_t>(i));
        ASSERT_EQ(events.size(), 2u) << names[i];
        const std::wstring& reason = rows.items[i]->failureReason;
        if (events[1].lParam == 1) {
            // Refused at open, or damaged: no file, and the row says why.
            EXPECT_FALSE(fs::exists(output)) << names[i];
            EXPECT_FALSE(reason.empty()) << names[i];
            continue;
        }
        ++written;
        EXPECT_TRUE(reason.empty()) << names[i];
        auto file = ReadBytes(output);
        ASSERT_GE(file.size(), 46u);
        EXPECT_TRUE(std::vector<unsigned char>(file.begin() + 46, file.end()) ==
                    ExpectedPcm(shared / "ape" / names[i]))
            << names[i];
    }
    EXPECT_GE(written, 4);
}

TEST_F(Batch, WithoutMarkedRowsOnlyTheBatchEnds)
{
    rows.Add(FixturePath("mono8_8k.ape"), dir / "a.wav").marked = 0;
    ASSERT_TRUE(recorder.Run(rows.table));
    EXPECT_EQ(recorder.Messages(), std::vector<win::UINT>{WM_BATCH_DONE});
    EXPECT_FALSE(fs::exists(dir / "a.wav"));
}

TEST_F(Batch, AnExistingFileIsKeptWhenTheUserSaysNo)
{
    WriteBytes(dir / "a.wav", {'k', 'e', 'e', 'p'});
    rows.Add(FixturePath("mono8_8k.ape"), dir / "a.wav");
    win::Headless().PushAnswer(win::IDNO);
    ASSERT_TRUE(recorder.Run(rows.table));
    EXPECT_EQ(recorder.Messages(), std::vector<win::UINT>{WM_BATCH_DONE});
    EXPECT_EQ(ReadBytes(dir / "a.wav").size(), 4u);
    auto asked = win::Headless().Questions();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, L"This " + (dir / "a.wav").wstring() + L" file already exists, whether or not coverage?");
    EXPECT_EQ(asked[0].type & win::MB_TYPEMASK, win::MB_YESNO);

    win::Headless().PushAnswer(win::IDYES);
    ASSERT_TRUE(recorder.Run(rows.table));
    EXPECT_EQ(recorder.EventsOf(0).size(), 2u);
    EXPECT_GT(ReadBytes(dir / "a.wav").size(), 46u);
}

TEST_F(Batch, WavBesideTheSourceNeitherAsksNorDecodesTwice)
{
    fs::copy_file(FixturePath("stereo16_44k.ape"), dir / "song.ape");
    ConversionItem& row = rows.Add(dir / "song.ape", L"ignored", kOutputWavBesideSource);
    ASSERT_TRUE(recorder.Run(rows.table));
    EXPECT_EQ(row.outputPath, (dir / "song.wav").wstring());
    EXPECT_EQ(recorder.EventsOf(0).size(), 2u);
    auto size = fs::file_size(dir / "song.wav");
    EXPECT_EQ(size, 46u + 220500 * 4);

    ASSERT_TRUE(recorder.Run(rows.table));
    EXPECT_EQ(recorder.Messages(), std::vector<win::UINT>{WM_BATCH_DONE});
    EXPECT_TRUE(win::Headless().Questions().empty());
}

TEST_F(Batch, UnreadableSourcesFailWithTheirReasonAndTheBatchGoesOn)
{
    rows.Add(dir / "missing.ape", dir / "missing.wav");
    rows.Add(FixturePath("mono8_8k.ape"), dir / "b.wav");
    rows.Add(FixturePath("mono8_8k.ape"), dir / "no" / "such" / "dir.wav");
    ASSERT_TRUE(recorder.Run(rows.table));
    auto missing = recorder.EventsOf(0);
    ASSERT_EQ(missing.size(), 2u);
    EXPECT_EQ(missing[0].message, WM_WAVE_START);
    EXPECT_EQ(missing[1].lParam, 1);
    EXPECT_EQ(rows.items[0]->failureReason, L"cannot read the source: the file is missing: " + (dir / "missing.ape").wstring());
    EXPECT_FALSE(fs::exists(dir / "missing.wav"));
    ASSERT_EQ(recorder.EventsOf(1).size(), 2u);
    EXPECT_EQ(recorder.EventsOf(1)[1].lParam, 0);

    // The output cannot be created: the row says so in its done message.
    auto failed = recorder.EventsOf(2);
    ASSERT_EQ(failed.size(), 2u);
    EXPECT_EQ(failed[0].message, WM_WAVE_START);
    EXPECT_EQ(failed[1].message, WM_WAVE_DONE);
    EXPECT_EQ(failed[1].lParam, 1);
    EXPECT_EQ(rows.items[2]->failureReason, L"could not be written: no such file or directory");
}
