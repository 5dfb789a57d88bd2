// A full or failing disk at every write of every kind of output: a WAV row,
// an MP3 row (each also with tags, whose writes come last), tagged FLAC and
// Opus rows, an in-place
// resampling and the settings file. Whichever write
// fails, the source and the file that was there stay byte for byte, the
// failure is reported with its reason, and no temporary file is left.
#include "tests/engine/BatchRecorder.h"
#include "tests/support/TestFiles.h"

#include "app/EngineMessages.h"
#include "resample/SsrcMessages.h"
#include "settings/ConversionSettings.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsPath.h"
#include "tags/TagFiles.h"

#include "platform/backend/HeadlessBackend.h"
#include "platform/core/MessageBox.h"
#include "platform/core/OutputFile.h"
#include "platform/core/Strings.h"
#include "platform/core/WorkThreads.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <functional>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

const std::vector<unsigned char> kOld = {'o', 'l', 'd'};

struct Site {
    const char* name;
    // Runs the write site once; returns (written, reason).
    std::function<std::pair<bool, std::wstring>()> run;
    std::vector<fs::path> untouched;  // byte for byte after a failure
};

class Faults : public ::testing::Test {
protected:
    void SetUp() override
    {
        win::Headless().Reset();
        saved = g_settings;
        g_settings.resamplingFlag = 0;
        SettingsFile::Write(settings.wstring(), g_settings);
        SetSettingsPath(settings.wstring());
    }
    void TearDown() override
    {
        win::SetWriteFault(0, 0);
        g_settings = saved;
        SetSettingsPath(L"");
        win::Headless().Reset();
    }

    // One row through the engine; its done message (or the resampler's)
    // tells whether the file was written.
    std::pair<bool, std::wstring> Row(const fs::path& source, const fs::path& output, std::int32_t kind,
                                      win::UINT doneMessage, const TagRecord& tags = {})
    {
        auto row = MakeRow(0, source.wstring(), output.wstring(), kind);
        row->tags = tags;
        RowTable table{{0, row.get()}};
        win::Headless().PushAnswer(win::IDYES);
        BatchRecorder recorder;
        EXPECT_TRUE(recorder.Run(table));
        const EngineEvent* done = recorder.Find(doneMessage);
        return {done && done->lParam == 0, row->failureReason};
    }

    // Every write step of `site`, failing with `error` from that step on.
    void FailEveryStep(const Site& site, int error, const std::wstring& reasonStart)
    {
        std::vector<std::vector<unsigned char>> before;
        for (const auto& path : site.untouched)
            before.push_back(ReadBytes(path));
        auto names = FileNames(dir.path());
        win::ResetWriteSteps();
        ASSERT_TRUE(site.run().first) << site.name << " must work without faults";
        const std::uint64_t steps = win::WriteSteps();
        ASSERT_GT(steps, 0u);
        Restore(site, before);
        std::wstring why = win::FromUtf8(std::strerror(error));
        why[0] = static_cast<wchar_t>(std::towlower(why[0]));
        for (std::uint64_t n = 1; n <= steps; ++n) {
            SCOPED_TRACE(std::string(site.name) + " step " + std::to_string(n));
            win::ResetWriteSteps();
            win::SetWriteFault(n, error);
            auto [written, reason] = site.run();
            win::SetWriteFault(0, 0);
            if (win::WriteSteps() < n) {
                // The encoder's own thread may gather its writes differently from
                // run to run; a run that ended before step n met no fault at all.
                EXPECT_TRUE(written);
                Restore(site, before);
                continue;
            }
            EXPECT_FALSE(written);
            if (!reasonStart.empty()) {
                EXPECT_EQ(reason, reasonStart + why);
            }
            for (std::size_t i = 0; i < site.untouched.size(); ++i)
                EXPECT_TRUE(ReadBytes(site.untouched[i]) == before[i]) << site.untouched[i];
            EXPECT_EQ(FileNames(dir.path()), names) << "a partial or temporary file was left";
        }
        std::printf("| %-18s | %-6s | %3llu | every one: reported failed (\"%s\"), files as before, nothing left |\n",
                    site.name, error == ENOSPC ? "ENOSPC" : "EIO", static_cast<unsigned long long>(steps),
                    reasonStart.empty() ? "Write returns 0" : win::ToUtf8(reasonStart + why).c_str());
    }
    void Restore(const Site& site, const std::vector<std::vector<unsigned char>>& before)
    {
        for (std::size_t i = 0; i < site.untouched.size(); ++i)
            WriteBytes(site.untouched[i], before[i]);
    }

    TempDir dir;
    fs::path settings = dir / "configure.dat";
    ConversionSettings saved;
};

}  // namespace

TEST_F(Faults, AWavRowKeepsTheFileItWasToReplace)
{
    auto source = dir / "a.ape";
    fs::copy_file(FixturePath("mono16_22k.ape"), source);
    WriteBytes(dir / "a.wav", kOld);
    Site site{"WAV row", [&] { return Row(source, dir / "a.wav", kOutputWav, WM_WAVE_DONE); },
              {source, dir / "a.wav"}};
    for (int error : {ENOSPC, EIO})
        FailEveryStep(site, error, L"could not be written: ");
}

TEST_F(Faults, AnMp3RowKeepsTheFileItWasToReplace)
{
    auto source = dir / "a.ape";
    fs::copy_file(FixturePath("mono16_22k.ape"), source);
    WriteBytes(dir / "a.mp3", kOld);
    Site site{"MP3 row", [&] { return Row(source, dir / "a.mp3", kOutputMp3, WM_MP3_DONE); },
              {source, dir / "a.mp3", settings}};
    for (int error : {ENOSPC, EIO})
        FailEveryStep(site, error, L"could not be written: ");
}

TEST_F(Faults, AnMp3RowEncodedInSegmentsKeepsTheFileItWasToReplace)
{
    // Segments of a fraction of a second, on two threads: the frames come
    // out of several joins, in bursts whose timing varies.
    setenv("KOLVEX_MP3_SEGMENT_FRAMES", "24", 1);
    win::SetRowThreads(2);
    auto source = dir / "a.ape";
    fs::copy_file(FixturePath("stereo16_44k.ape"), source);
    WriteBytes(dir / "a.mp3", kOld);
    Site site{"MP3 row, segments", [&] { return Row(source, dir / "a.mp3", kOutputMp3, WM_MP3_DONE); },
              {source, dir / "a.mp3", settings}};
    for (int error : {ENOSPC, EIO})
        FailEveryStep(site, error, L"could not be written: ");
    unsetenv("KOLVEX_MP3_SEGMENT_FRAMES");
    win::SetRowThreads(win::CoreCount());
}

TEST_F(Faults, AnInPlaceResamplingKeepsTheFile)
{
    g_settings.resamplingFlag = 1;
    auto file = dir / "a.wav";
    auto made = RunCapture("sox -n -r 22050 -c 2 -b 16 '" + file.string() + "' synth 1 sine 440 && echo ok");
    ASSERT_NE(std::string(made.begin(), made.end()).find("ok"), std::string::npos);
    Site site{"in-place resample", [&] { return Row(file, file, kOutputWav, WM_SSRC_DONE); }, {file}};
    for (int error : {ENOSPC, EIO})
        FailEveryStep(site, error, L"resampling failed: ");
}

TEST_F(Faults, TheSettingsFileIsReplacedWholeOrNotAtAll)
{
    ConversionSettings changed;
    changed.mp3.quality = 7;
    Site site{"configure.dat",
              [&] {
                  bool ok = SettingsFile::Write(settings.wstring(), changed) == 1;
                  return std::pair<bool, std::wstring>(ok, L"");
              },
              {settings}};
    for (int error : {ENOSPC, EIO})
        FailEveryStep(site, error, L"");
}

namespace {

// Enough text that the tags take several writes of their own.
TagRecord AlbumTags()
{
    TagRecord tags;
    tags.Set("TITLE", L"Slow Tide \u00e9t\u00e9 " + std::wstring(3000, L'x'));
    tags.Set("ARTIST", L"The Harbour Lights");
    tags.Set("ALBUM", L"Low Water");
    tags.Set("TRACKNUMBER", L"3/10");
    tags.Set("COMMENT", std::wstring(5000, L'c'));
    return tags;
}

}  // namespace

// The tags are written into the temporary file through the same writer as
// the audio: a disk that fills while they are written fails the row, and
// the old file stays, where TagLib's own writes used to cut the MP3's tail
// or leave a broken WAV chunk under the real name, reported as OK.
TEST_F(Faults, TaggedRowsFailWholeWhenTheTagsCannotBeWritten)
{
    auto source = dir / "a.ape";
    fs::copy_file(FixturePath("mono16_22k.ape"), source);
    const TagRecord tags = AlbumTags();
    for (auto [kind, done, name] : {std::tuple{kOutputMp3, WM_MP3_DONE, "a.mp3"},
                                    std::tuple{kOutputWav, WM_WAVE_DONE, "a.wav"}}) {
        SCOPED_TRACE(name);
        const fs::path output = dir / name;
        WriteBytes(output, kOld);
        // The tags' own writes are counted among the row's steps.
        win::ResetWriteSteps();
        ASSERT_TRUE(Row(source, output, kind, done).first);
        const std::uint64_t untagged = win::WriteSteps();
        win::ResetWriteSteps();
        ASSERT_TRUE(Row(source, output, kind, done, tags).first);
        EXPECT_GT(win::WriteSteps(), untagged);
        EXPECT_EQ(ReadTags(output.wstring()).Get("ARTIST"), L"The Harbour Lights");
        WriteBytes(output, kOld);

        Site site{kind == kOutputMp3 ? "tagged MP3 row" : "tagged WAV row",
                  [&] { return Row(source, output, kind, done, tags); }, {source, output, settings}};
        for (int error : {ENOSPC, EIO})
            FailEveryStep(site, error, L"could not be written: ");
        fs::remove(output);
    }
}

// FLAC and Opus rows write through the same safe writer, their Vorbis
// comments last: whichever write fails, the row fails whole.
TEST_F(Faults, TaggedFlacAndOpusRowsKeepTheFileTheyWereToReplace)
{
    auto source = dir / "a.ape";
    fs::copy_file(FixturePath("mono16_22k.ape"), source);
    const TagRecord tags = AlbumTags();
    for (auto [kind, name] : {std::pair{kOutputFlac, "a.flac"}, std::pair{kOutputOpus, "a.opus"}}) {
        SCOPED_TRACE(name);
        const fs::path output = dir / name;
        WriteBytes(output, kOld);
        ASSERT_TRUE(Row(source, output, kind, WM_WAVE_DONE, tags).first);
        EXPECT_EQ(ReadTags(output.wstring()).Get("ARTIST"), L"The Harbour Lights");
        WriteBytes(output, kOld);
        Site site{kind == kOutputFlac ? "tagged FLAC row" : "tagged Opus row",
                  [&] { return Row(source, output, kind, WM_WAVE_DONE, tags); }, {source, output, settings}};
        for (int error : {ENOSPC, EIO})
            FailEveryStep(site, error, L"could not be written: ");
        fs::remove(output);
    }
}
