// The worker's branches beyond plain WAV: MP3 through the encoder module,
// RealMedia rows, and resampling of finished WAV files.
#include "tests/engine/BatchFixture.h"

#include "app/EngineMessages.h"
#include "resample/SsrcMessages.h"

#include "platform/core/MessageBox.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

class Outputs : public BatchFixture {
protected:
    int Count(win::UINT message) const
    {
        auto all = recorder.Messages();
        return static_cast<int>(std::count(all.begin(), all.end(), message));
    }
};

}  // namespace

TEST_F(Outputs, Mp3RowsAreEncodedAndFailuresSaySo)
{
    rows.Add(FixturePath("stereo16_44k.ape"), dir / "song.mp3", kOutputMp3);
    rows.Add(FixturePath("mono8_8k.ape"), dir / "missing" / "song.mp3", kOutputMp3);
    ASSERT_TRUE(recorder.Run(rows.table));

    auto good = recorder.EventsOf(0);
    ASSERT_EQ(good.size(), 2u);
    EXPECT_EQ(good[0].message, WM_MP3_START);
    EXPECT_EQ(good[1].message, WM_MP3_DONE);
    EXPECT_EQ(good[1].lParam, 0);
    auto decoded = FfmpegDecode(dir / "song.mp3", "s16le");
    EXPECT_NEAR(decoded.size() / 4.0, 220500.0, 1152.0 * 2);

    auto bad = recorder.EventsOf(1);
    ASSERT_EQ(bad.size(), 2u);
    EXPECT_EQ(bad[1].message, WM_MP3_DONE);
    EXPECT_EQ(bad[1].lParam, 1);
    // The rows encoded with the batch's settings: no worker makes a file of them.
    EXPECT_FALSE(fs::exists(dir / "configure.dat"));
}

TEST_F(Outputs, Mp3AnsweredNoLeavesTheFileAlone)
{
    WriteBytes(dir / "song.mp3", {'m', 'i', 'n', 'e'});
    rows.Add(FixturePath("mono8_8k.ape"), dir / "song.mp3", kOutputMp3);
    win::Headless().PushAnswer(win::IDNO);
    ASSERT_TRUE(recorder.Run(rows.table));
    EXPECT_EQ(recorder.Messages(), std::vector<win::UINT>{WM_BATCH_DONE});
    EXPECT_EQ(ReadBytes(dir / "song.mp3").size(), 4u);
}

TEST_F(Outputs, WavIsResampledOnceUnlessAlready44100Stereo)
{
    g_settings.resamplingFlag = 1;
    rows.Add(FixturePath("stereo16_48k.ape"), dir / "a.wav", kOutputWav);
    rows.Add(FixturePath("stereo16_44k.ape"), dir / "b.wav", kOutputWav);
    rows.Add(FixturePath("mono16_44k.ape"), dir / "c.wav", kOutputWav);  // mono: resampled all the same
    rows.Add(FixturePath("mono16_22k.ape"), dir / "d.wav", kOutputWav);
    ASSERT_TRUE(recorder.Run(rows.table));

    EXPECT_EQ(Count(WM_SSRC_START), 3);
    EXPECT_EQ(Count(WM_SSRC_DONE), 3);
    for (const char* name : {"a.wav", "c.wav", "d.wav"}) {
        auto file = ReadBytes(dir / name);
        ASSERT_GE(file.size(), 44u);
        EXPECT_EQ(Le32(file, 24), 44100u) << name;
        EXPECT_EQ(Le16(file, 34), 16) << name;
    }
    EXPECT_EQ(fs::file_size(dir / "b.wav"), 46u + 220500 * 4);  // untouched by the resampler

    // Each resampling comes after its row's done message.
    const auto& events = recorder.Events();
    auto done = std::find_if(events.begin(), events.end(),
                             [](const EngineEvent& e) { return e.message == WM_WAVE_DONE; });
    auto ssrc = std::find_if(events.begin(), events.end(),
                             [](const EngineEvent& e) { return e.message == WM_SSRC_START; });
    EXPECT_LT(done - events.begin(), ssrc - events.begin());
}

TEST_F(Outputs, RealMediaRowsOnlyResampleAnExistingFile)
{
    g_settings.resamplingFlag = 1;
    auto rm = dir / "clip.rm";
    WriteBytes(rm, {'.', 'R', 'M', 'F'});
    // A WAV file at 22050 Hz already sits where the row would write.
    auto made = RunCapture("sox -n -r 22050 -c 2 -b 16 '" + (dir / "clip.wav").string() + "' synth 0.5 sine 440 && echo ok");
    ASSERT_NE(std::string(made.begin(), made.end()).find("ok"), std::string::npos);
    rows.Add(rm, dir / "clip.wav", kOutputWav);
    win::Headless().PushAnswer(win::IDYES);
    ASSERT_TRUE(recorder.Run(rows.table));
    EXPECT_EQ(Count(WM_WAVE_START), 0);
    EXPECT_EQ(Count(WM_SSRC_START), 1);
    EXPECT_EQ(Le32(ReadBytes(dir / "clip.wav"), 24), 44100u);
}
