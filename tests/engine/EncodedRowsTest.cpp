// FLAC and Opus rows in a batch run as the window runs them: they report
// like WAV rows, and carry the row's tags as Vorbis comments, except gains
// of the ReplayGain kind, which Opus players do not take.
#include "tests/engine/BatchFixture.h"

#include "app/EngineMessages.h"
#include "tags/TagFiles.h"

#include "platform/core/Strings.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

class EncodedRows : public BatchFixture { };

}  // namespace

TEST_F(EncodedRows, FlacAndOpusRowsReportAndCarryTheirTags)
{
    for (auto [kind, name] : {std::pair{kOutputFlac, "a.flac"}, std::pair{kOutputOpus, "a.opus"}}) {
        ConversionItem& row = rows.Add(FixturePath("stereo16_44k.ape"), dir / name, kind);
        row.tags.Set("ARTIST", L"The Harbour Lights");
        row.tags.Set("REPLAYGAIN_TRACK_GAIN", L"+9.99 dB");
    }
    ConversionItem& broken = rows.Add(FixturePath("mono8_8k.ape"), dir / "missing" / "b.opus", kOutputOpus);
    ASSERT_TRUE(recorder.Run(rows.table));

    auto messages = recorder.Messages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), WM_WAVE_START), 3);
    // One row at a time, in key order: the broken row's done is the third.
    const EngineEvent* failed = recorder.Find(WM_WAVE_DONE, 2);
    ASSERT_NE(failed, nullptr);
    EXPECT_EQ(failed->lParam, 1);
    EXPECT_TRUE(broken.failureReason.starts_with(L"could not be written: ")) << win::ToUtf8(broken.failureReason);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.flac", "a.opus"}));

    TagRecord flac = ReadTags((dir / "a.flac").wstring());
    TagRecord opus = ReadTags((dir / "a.opus").wstring());
    EXPECT_EQ(flac.Get("ARTIST"), L"The Harbour Lights");
    EXPECT_EQ(opus.Get("ARTIST"), L"The Harbour Lights");
    EXPECT_EQ(flac.Get("REPLAYGAIN_TRACK_GAIN"), L"+9.99 dB");
    EXPECT_EQ(opus.Get("REPLAYGAIN_TRACK_GAIN"), L"");
}
