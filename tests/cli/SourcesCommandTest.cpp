// Albums in the formats rippers write today, converted from the command
// line: FLAC, WavPack and WAV images beside their sheets or carrying them,
// sheets in a Windows code page, several images joined, data tracks and
// tracks a sheet cannot time, lossy files and surround sources.
#include "tests/cli/CommandRun.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

void WriteText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

bool Shell0(const std::string& command)
{
    auto out = RunCapture("(" + command + ") >/dev/null 2>&1 && echo ok");
    return std::string(out.begin(), out.end()).find("ok") != std::string::npos;
}

std::vector<unsigned char> Slice(const std::vector<unsigned char>& pcm, std::size_t from, std::size_t to)
{
    return {pcm.begin() + static_cast<long>(std::min(from, pcm.size())),
            pcm.begin() + static_cast<long>(std::min(to, pcm.size()))};
}

// The demo album's image as 16-bit stereo WAV, and its PCM.
fs::path DemoWav(const TempDir& dir)
{
    auto wav = dir / "image.wav";
    EXPECT_TRUE(Shell0("ffmpeg -v error -y -i " + Q(Demo("demo.ape")) + " -c:a pcm_s16le " + Q(wav)));
    return wav;
}

const std::string kThreeTracks = "  TRACK 01 AUDIO\n    TITLE \"One\"\n    INDEX 01 00:00:00\n"
                                 "  TRACK 02 AUDIO\n    TITLE \"Two\"\n    INDEX 01 00:02:10\n"
                                 "  TRACK 03 AUDIO\n    TITLE \"Three\"\n    INDEX 01 00:04:00\n";

class SourcesCommand : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(MissingTools({"ffmpeg", "flac", "wavpack", "sox"}), ""); }
    TempDir dir;
};

}  // namespace

// Each image format split by its sheet gives exactly the image's samples,
// cut where the sheet's CD frames say, whatever extension the sheet names.
TEST_F(SourcesCommand, FlacWavPackAndWavImagesSplitToTheSample)
{
    auto wav = DemoWav(dir);
    auto pcm = FfmpegDecode(wav, "s16le");
    ASSERT_FALSE(pcm.empty());
    ASSERT_TRUE(Shell0("flac -s -f -o " + Q(dir / "flac.flac") + " " + Q(wav)));
    ASSERT_TRUE(Shell0("wavpack -q -y " + Q(wav) + " -o " + Q(dir / "wv.wv")));
    fs::copy_file(wav, dir / "plain.wav");
    for (const char* stem : {"flac", "wv", "plain"}) {
        SCOPED_TRACE(stem);
        // The sheet names a .wav, as EAC writes it, before the image was compressed.
        WriteText(dir / (std::string(stem) + ".cue"), "FILE \"" + std::string(stem) + ".wav\" WAVE\n" + kThreeTracks);
        auto out = dir / (std::string("out-") + stem);
        Result r = Convert("--wav --no-resample -o " + Q(out) + " " + Q(dir / (std::string(stem) + ".cue")));
        ASSERT_EQ(r.status, 0) << r.output;
        const std::size_t cut1 = (2 * 75 + 10) * 588 * 4, cut2 = 4 * 75 * 588 * 4;
        EXPECT_TRUE(FfmpegDecode(out / "One.wav", "s16le") == Slice(pcm, 0, cut1));
        EXPECT_TRUE(FfmpegDecode(out / "Two.wav", "s16le") == Slice(pcm, cut1, cut2));
        EXPECT_TRUE(FfmpegDecode(out / "Three.wav", "s16le") == Slice(pcm, cut2, pcm.size()));
    }
}

// A FLAC image carrying its sheet lists the sheet's tracks; a sheet beside
// it wins; --whole converts the image whole.
TEST_F(SourcesCommand, AnEmbeddedSheetGivesTheTracksAndASheetBesideWins)
{
    auto wav = DemoWav(dir);
    WriteText(dir / "inside.cue", "FILE \"album.flac\" WAVE\n" + kThreeTracks);
    ASSERT_TRUE(Shell0("flac -s -f -o " + Q(dir / "album.flac") + " " + Q(wav) + " && metaflac --set-tag-from-file=CUESHEET=" +
                       Q(dir / "inside.cue") + " " + Q(dir / "album.flac")));
    fs::remove(dir / "inside.cue");
    Result listed = Convert("--list " + Q(dir / "album.flac"));
    EXPECT_EQ(listed.status, 0) << listed.output;
    for (const char* title : {"One", "Two", "Three", "the sheet inside the image"})
        EXPECT_TRUE(Has(listed, title)) << title << "\n" << listed.output;

    WriteText(dir / "album.cue", "FILE \"album.flac\" WAVE\n  TRACK 01 AUDIO\n    TITLE \"Beside\"\n    INDEX 01 00:00:00\n");
    Result beside = Convert("--list " + Q(dir / "album.flac"));
    EXPECT_TRUE(Has(beside, "Beside")) << beside.output;
    EXPECT_FALSE(Has(beside, "Three")) << beside.output;

    Result whole = Convert("--wav --no-resample --whole -o " + Q(dir / "whole") + " " + Q(dir / "album.flac"));
    ASSERT_EQ(whole.status, 0) << whole.output;
    EXPECT_TRUE(FfmpegDecode(dir / "whole" / "album.wav", "s16le") == FfmpegDecode(wav, "s16le"));
}

// A Russian EAC sheet in Windows-1251 is read in its own charset: the
// titles are right in the listing and in the names.
TEST_F(SourcesCommand, AWindows1251SheetShowsItsOwnLetters)
{
    fs::copy_file(Demo("demo.ape"), dir / "image.ape");
    std::string utf8 = "PERFORMER \"\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE\"\nFILE \"image.ape\" WAVE\n"
                       "  TRACK 01 AUDIO\n    TITLE \"\xD0\x9A\xD1\x83\xD1\x85\xD0\xBD\xD1\x8F\"\n    INDEX 01 00:00:00\n"
                       "  TRACK 02 AUDIO\n    TITLE \"\xD0\x93\xD1\x80\xD1\x83\xD0\xBF\xD0\xBF\xD0\xB0 \xD0\xBA\xD1\x80\xD0\xBE\xD0\xB2\xD0\xB8\"\n"
                       "    INDEX 01 00:03:00\n";
    WriteText(dir / "utf8.txt", utf8);
    ASSERT_TRUE(Shell0("iconv -f UTF-8 -t CP1251 " + Q(dir / "utf8.txt") + " > " + Q(dir / "image.cue")));
    Result r = Convert("--list " + Q(dir / "image.cue"));
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(Has(r, "\xD0\x9A\xD1\x83\xD1\x85\xD0\xBD\xD1\x8F")) << r.output;
    EXPECT_TRUE(Has(r, "ARTIST=\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE")) << r.output;

    // Told otherwise, the sheet is read as told.
    Result told = Convert("--list --cue-charset KOI8-R " + Q(dir / "image.cue"));
    EXPECT_FALSE(Has(told, "\xD0\x9A\xD1\x83\xD1\x85\xD0\xBD\xD1\x8F")) << told.output;
    EXPECT_EQ(Convert("--list --cue-charset NO-SUCH " + Q(dir / "image.cue")).status, 2);
}

// A sheet over several images converted whole joins them in order; images
// that differ in format cannot be joined and the row says so.
TEST_F(SourcesCommand, SeveralImagesJoinInOrderOrFailWithTheReason)
{
    ASSERT_TRUE(Shell0("sox -n -r 44100 -c 2 -b 16 " + Q(dir / "a.wav") + " synth 1 sine 440 && " +
                       "sox -n -r 44100 -c 2 -b 16 " + Q(dir / "b.wav") + " synth 1.5 sine 660 && " +
                       "flac -s -o " + Q(dir / "b.flac") + " " + Q(dir / "b.wav") + " && " +
                       "sox -n -r 48000 -c 2 -b 16 " + Q(dir / "c.wav") + " synth 1 sine 440"));
    WriteText(dir / "two.cue", "FILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                               "FILE \"b.flac\" WAVE\n  TRACK 02 AUDIO\n    INDEX 01 00:00:00\n");
    Result r = Convert("--wav --no-resample --whole -o " + Q(dir / "out") + " " + Q(dir / "two.cue"));
    ASSERT_EQ(r.status, 0) << r.output;
    auto joined = FfmpegDecode(dir / "a.wav", "s16le"), second = FfmpegDecode(dir / "b.wav", "s16le");
    joined.insert(joined.end(), second.begin(), second.end());
    EXPECT_TRUE(FfmpegDecode(dir / "out" / "two.wav", "s16le") == joined);

    WriteText(dir / "mixed.cue", "FILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                 "FILE \"c.wav\" WAVE\n  TRACK 02 AUDIO\n    INDEX 01 00:00:00\n");
    Result mixed = Convert("--wav --no-resample --whole -o " + Q(dir / "out") + " " + Q(dir / "mixed.cue"));
    EXPECT_EQ(mixed.status, 1) << mixed.output;
    EXPECT_TRUE(Has(mixed, "differ in rate, width or channels")) << mixed.output;
    EXPECT_FALSE(fs::exists(dir / "out" / "mixed.wav"));
}

// A data track never becomes a row nor cuts the audio before it; a track
// without INDEX 01 fails alone, and the track before it runs on to the next
// one's start, so no audio falls into no file.
TEST_F(SourcesCommand, DataTracksAndUntimedTracksLoseNoAudio)
{
    auto wav = DemoWav(dir);
    auto pcm = FfmpegDecode(wav, "s16le");
    WriteText(dir / "cd.cue", "FILE \"image.wav\" WAVE\n"
                              "  TRACK 01 AUDIO\n    TITLE \"One\"\n    INDEX 01 00:00:00\n"
                              "  TRACK 02 AUDIO\n    TITLE \"Lost\"\n    INDEX 00 00:02:00\n"
                              "  TRACK 03 AUDIO\n    TITLE \"Three\"\n    INDEX 01 00:04:00\n"
                              "  TRACK 04 MODE1/2352\n    INDEX 00 00:05:00\n");
    Result r = Convert("--wav --no-resample -o " + Q(dir / "out") + " " + Q(dir / "cd.cue"));
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_TRUE(Has(r, "no INDEX 01")) << r.output;
    EXPECT_EQ(FileNames(dir / "out"), (std::vector<std::string>{"One.wav", "Three.wav"}));
    const std::size_t cut = 4 * 75 * 588 * 4;
    EXPECT_TRUE(FfmpegDecode(dir / "out" / "One.wav", "s16le") == Slice(pcm, 0, cut));
    EXPECT_TRUE(FfmpegDecode(dir / "out" / "Three.wav", "s16le") == Slice(pcm, cut, pcm.size()))
        << "the last audio track runs to the end of its file";
}

// Lossy files are refused with the reason; six channels become a stereo
// MP3 and the summary says so.
TEST_F(SourcesCommand, LossyFilesAreRefusedAndSurroundIsMixedForMp3)
{
    ASSERT_TRUE(Shell0("sox -n -r 44100 -c 2 -b 16 " + Q(dir / "t.wav") + " synth 1 sine 440 && ffmpeg -v error -i " +
                       Q(dir / "t.wav") + " " + Q(dir / "t.mp3") + " && sox -n -r 48000 -c 6 -b 24 " +
                       Q(dir / "six.wav") + " synth 1 sine 300 sine 400 sine 500 sine 60 sine 700 sine 800 && flac -s -o " +
                       Q(dir / "six.flac") + " " + Q(dir / "six.wav")));
    Result lossy = Convert("-o " + Q(dir / "out") + " " + Q(dir / "t.mp3"));
    EXPECT_EQ(lossy.status, 1);
    EXPECT_TRUE(Has(lossy, "lossy source: converting it again would lose quality")) << lossy.output;

    Result six = Convert("-o " + Q(dir / "out") + " " + Q(dir / "six.flac"));
    ASSERT_EQ(six.status, 0) << six.output;
    EXPECT_TRUE(Has(six, "mixed down from 6 channels to stereo")) << six.output;
    auto probe = RunCapture("ffprobe -v error -show_entries stream=channels -of csv=p=0 " + Q(dir / "out" / "six.mp3"));
    EXPECT_EQ(std::string(probe.begin(), probe.end()).substr(0, 1), "2");
}

// A resampling that is refused keeps the decoded file and fails its row:
// the progress line and the summary agree, and a later run does not take
// that file for a finished one.
TEST_F(SourcesCommand, ARefusedResamplingFailsNowAndLater)
{
    ASSERT_TRUE(Shell0("sox -n -r 31500 -c 2 -b 16 " + Q(dir / "odd.wav") + " synth 0.5 sine 440"));
    std::string args = "--wav --resample -o " + Q(dir / "out") + " " + Q(dir / "odd.wav");
    Result first = Convert(args);
    EXPECT_EQ(first.status, 1) << first.output;
    EXPECT_TRUE(Has(first, "FAILED odd.wav")) << "the progress line: " << first.output;
    EXPECT_FALSE(Has(first, "done   odd.wav")) << first.output;
    EXPECT_TRUE(Has(first, "kept at 31500 Hz")) << first.output;
    EXPECT_TRUE(fs::exists(dir / "out" / "odd.wav"));

    Result again = Convert("--no " + args);
    EXPECT_EQ(again.status, 1) << again.output;
    EXPECT_TRUE(Has(again, "which is not 16-bit 44100 Hz stereo")) << again.output;
}
