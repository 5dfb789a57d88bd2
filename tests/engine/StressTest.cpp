// Three hundred tiny rows in one batch, WAV and MP3 mixed, some of them
// damaged: every row ends exactly as it should, and nothing else is left.
// Slow under the sanitizers, so it carries the "stress" label.
#include "tests/engine/BatchRecorder.h"
#include "tests/support/TestFiles.h"

#include "app/EngineMessages.h"
#include "settings/ConversionSettings.h"
#include "settings/SettingsPath.h"

#include "platform/backend/HeadlessBackend.h"

#include <gtest/gtest.h>

using namespace testing_support;
namespace fs = std::filesystem;

TEST(Stress, ThreeHundredTinyRowsEachEndCorrectly)
{
    TempDir dir;
    ConversionSettings saved = g_settings;
    g_settings.resamplingFlag = 0;
    win::Headless().Reset();

    // 8 kHz mono: 8 blocks per millisecond, 100 ms rows.
    fs::copy_file(FixturePath("mono8_8k.ape"), dir / "good.ape");
    auto whole = ReadBytes(dir / "good.ape");
    WriteBytes(dir / "cut.ape", std::vector<unsigned char>(whole.begin(), whole.begin() + whole.size() * 3 / 10));

    constexpr int kRows = 300;
    std::vector<std::unique_ptr<ConversionItem>> items;
    RowTable table;
    for (int i = 0; i < kRows; ++i) {
        bool damaged = i % 7 == 3;
        bool mp3 = i % 2 == 1;
        auto output = dir / ("row" + std::to_string(i) + (mp3 ? ".mp3" : ".wav"));
        items.push_back(MakeRow(i, (dir / (damaged ? "cut.ape" : "good.ape")).wstring(), output.wstring(),
                                mp3 ? kOutputMp3 : kOutputWav));
        if (!damaged) {
            items.back()->startMs = (i % 14) * 100;
            items.back()->endMs = items.back()->startMs + 100;
        }
        table[i] = items.back().get();
    }
    BatchRecorder recorder;
    ASSERT_TRUE(recorder.Run(table, 30 * 60 * 1000));

    std::size_t files = 0;
    for (int i = 0; i < kRows; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        bool damaged = i % 7 == 3;
        bool mp3 = i % 2 == 1;
        auto events = recorder.EventsOf(i);
        ASSERT_EQ(events.size(), 2u);
        EXPECT_EQ(events[0].message, mp3 ? WM_MP3_START : WM_WAVE_START);
        EXPECT_EQ(events[1].lParam, damaged ? 1 : 0);
        auto output = dir / ("row" + std::to_string(i) + (mp3 ? ".mp3" : ".wav"));
        EXPECT_EQ(fs::exists(output), !damaged);
        if (damaged) {
            EXPECT_TRUE(items[i]->failureReason.starts_with(L"damaged source: decoded "));
        } else if (!mp3) {
            EXPECT_EQ(fs::file_size(output), 46u + 800 * 2);
        } else {
            EXPECT_GT(fs::file_size(output), 0u);
        }
        files += damaged ? 0 : 1;
    }
    EXPECT_EQ(recorder.Events().back().message, WM_BATCH_DONE);
    std::size_t all = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path()))
        ++all;
    EXPECT_EQ(all, files + 2) << "the rows' files and the two sources: no settings file, no leftovers";

    g_settings = saved;
}
