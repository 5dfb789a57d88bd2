// A row claims its output's name when it starts: a file that appears there
// while it converts is someone else's and is never replaced silently, unless
// the user agreed to replace what was there. And audio MP3 cannot hold fails
// its row before anything is decoded.
#include "tests/engine/BatchFixture.h"

#include "engine/BatchController.h"
#include "app/EngineMessages.h"

#include "platform/core/MessageBox.h"

#include <cstring>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

const std::vector<unsigned char> kTheirs = {'t', 'h', 'e', 'i', 'r', 's'};

class NameClaim : public BatchFixture {
protected:
    // Puts a file of someone else's at `path` while the row decodes (the
    // worker waits while the progress report is handled).
    void AppearDuringTheRun(const fs::path& path)
    {
        recorder.onEvent = [path, done = false](const EngineEvent& e, BatchController&) mutable {
            if (e.message == WM_CONVERT_PROGRESS && !done) {
                WriteBytes(path, kTheirs);
                done = true;
            }
        };
    }
    // lParam of the row's done message: 0 written, 1 not; -1 when none came.
    long DoneOf(win::UINT message) const
    {
        const EngineEvent* done = recorder.Find(message);
        return done ? static_cast<long>(done->lParam) : -1;
    }
};

}  // namespace

TEST_F(NameClaim, AFileThatAppearsAtAFreeNameIsKeptAndTheRowFails)
{
    for (std::int32_t kind : {kOutputWav, kOutputMp3}) {
        SCOPED_TRACE(kind);
        fs::path out = dir / (kind == kOutputMp3 ? "song.mp3" : "song.wav");
        Rows one;
        one.Add(FixturePath("stereo16_44k.ape"), out, kind);
        AppearDuringTheRun(out);
        ASSERT_TRUE(recorder.Run(one.table));
        EXPECT_EQ(DoneOf(kind == kOutputMp3 ? WM_MP3_DONE : WM_WAVE_DONE), 1);
        EXPECT_EQ(one.items[0]->failureReason,
                  L"a file appeared at " + out.wstring() + L" during the conversion; it was kept");
        EXPECT_EQ(ReadBytes(out), kTheirs);
        EXPECT_EQ(Names(), std::vector<std::string>{out.filename().string()}) << "no temporary file stays";
        EXPECT_TRUE(win::Headless().Questions().empty());
        fs::remove(out);
    }
}

TEST_F(NameClaim, AnAgreedReplacementReplacesWhateverIsThereAtTheEnd)
{
    fs::path out = dir / "song.wav";
    WriteBytes(out, {'o', 'l', 'd'});
    rows.Add(FixturePath("stereo16_44k.ape"), out);
    win::Headless().PushAnswer(win::IDYES);
    AppearDuringTheRun(out);
    ASSERT_TRUE(recorder.Run(rows.table));
    EXPECT_EQ(DoneOf(WM_WAVE_DONE), 0);
    EXPECT_EQ(rows.items[0]->failureReason, L"");
    EXPECT_EQ(fs::file_size(out), 46u + 220500 * 4);
}

// A valid file whose header says 1000 Hz: LAME could not take it and used to
// take the process down. The row says why without decoding a chunk.
TEST_F(NameClaim, Mp3RowsOfRatesMp3CannotHoldFailBeforeDecoding)
{
    auto bytes = ReadBytes(FixturePath("stereo16_44k.ape"));
    std::uint32_t descriptor;
    std::memcpy(&descriptor, bytes.data() + 8, sizeof descriptor);
    const std::uint32_t rate = 1000;
    std::memcpy(bytes.data() + descriptor + 20, &rate, sizeof rate);
    WriteBytes(dir / "low.ape", bytes);
    rows.Add(dir / "low.ape", dir / "low.mp3", kOutputMp3);
    rows.Add(dir / "low.ape", dir / "low.wav", kOutputWav);  // WAV takes any rate
    ASSERT_TRUE(recorder.Run(rows.table));

    EXPECT_EQ(rows.items[0]->failureReason, L"sample rate 1000 Hz is below what MP3 can hold");
    EXPECT_EQ(DoneOf(WM_MP3_DONE), 1);
    EXPECT_EQ(rows.items[1]->failureReason, L"");
    EXPECT_EQ(DoneOf(WM_WAVE_DONE), 0);
    const EngineEvent* progress = recorder.Find(WM_CONVERT_PROGRESS);
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->wParam, 1u) << "the MP3 row decoded nothing";
    EXPECT_EQ(Names(), (std::vector<std::string>{"low.ape", "low.wav"}));
}
