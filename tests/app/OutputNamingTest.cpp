#include "rows/OutputNaming.h"
#include "rows/StatusTexts.h"

#include <gtest/gtest.h>

namespace {

ConversionItem Plain(const std::wstring& source)
{
    ConversionItem item;
    item.SetPath(source);
    return item;
}

ConversionItem Track(const std::wstring& source, const std::wstring& title)
{
    ConversionItem item = Plain(source);
    item.cueTrack = 1;
    item.outputPath = title;
    return item;
}

}  // namespace

TEST(OutputNaming, PlainFilesGoToTheOutputDirectoryOrBesideTheSource)
{
    ConversionItem song = Plain(L"/music/in/song.ape");
    EXPECT_EQ(OutputPathFor(song, L"mp3", L""), L"/music/in/song.mp3");
    EXPECT_EQ(OutputPathFor(song, L"wav", L"/out/"), L"/out/song.wav");
    // A directory of one character counts as none.
    EXPECT_EQ(OutputPathFor(song, L"wav", L"/"), L"/music/in/song.wav");
    // No "." in the name: the extension is appended as it is.
    EXPECT_EQ(OutputPathFor(Plain(L"/music/in/song"), L"mp3", L""), L"/music/in/songmp3");
    // A "." in a folder name is not the file's.
    EXPECT_EQ(OutputPathFor(Plain(L"/music/a.b/song"), L"wav", L"/out/"), L"/out/songwav");
}

TEST(OutputNaming, ConvertingAgainDerivesFromTheLastOutput)
{
    ConversionItem song = Plain(L"/music/in/song.ape");
    song.outputPath = OutputPathFor(song, L"wav", L"/out/");
    EXPECT_EQ(OutputPathFor(song, L"WAV", L"/out/"), L"/out/song.wav");  // same format: kept
    // WAVE with an output directory, then MP3: beside the source.
    EXPECT_EQ(OutputPathFor(song, L"mp3", L"/out/"), L"/music/in/song.mp3");
    song.outputPath = L"/music/in/song.mp3";
    EXPECT_EQ(OutputPathFor(song, L"wav", L"/out/"), L"/out/song.wav");
}

TEST(OutputNaming, CueTracksAreNamedAfterTheirTitles)
{
    ConversionItem track = Track(L"/music/album.cue", L"First Light");
    EXPECT_EQ(OutputPathFor(track, L"mp3", L""), L"/music/First Light.mp3");
    EXPECT_EQ(OutputPathFor(track, L"mp3", L"/out/"), L"/out/First Light.mp3");
    // MP3 then WAVE: the extension of the last output is replaced.
    track.outputPath = L"/out/First Light.mp3";
    EXPECT_EQ(OutputPathFor(track, L"wav", L""), L"/out/First Light.wav");

    // A title with a "." keeps its whole name and its folder.
    EXPECT_EQ(OutputPathFor(Track(L"/music/album.cue", L"Op. 27 No. 2"), L"wav", L""), L"/music/Op. 27 No. 2.wav");
    EXPECT_EQ(OutputPathFor(Track(L"/music/album.cue", L"Live.mp3"), L"mp3", L""), L"/music/Live.mp3.mp3");
}

TEST(OutputNaming, TitlesBecomeSafeFileNames)
{
    EXPECT_EQ(SafeTrackFileName(L"AC/DC", L"03"), L"AC_DC");
    EXPECT_EQ(SafeTrackFileName(L"../../etc/passwd", L"04"), L".._.._etc_passwd");
    EXPECT_EQ(SafeTrackFileName(L"tab\there\n", L"05"), L"tab_here_");
    EXPECT_EQ(SafeTrackFileName(L"", L"07"), L"Track 07");
    EXPECT_EQ(SafeTrackFileName(L".", L"08"), L"Track 08");
    EXPECT_EQ(SafeTrackFileName(L"..", L"09"), L"Track 09");
    EXPECT_EQ(SafeTrackFileName(L"Caf\u00e9 \u6771\u4eac", L"10"), L"Caf\u00e9 \u6771\u4eac");
}

TEST(StatusTexts, DurationsAndFormatLines)
{
    EXPECT_EQ(DurationText(3723000), L"01:02:03");
    EXPECT_EQ(DurationText(59999), L"00:00:59");
    EXPECT_EQ(DurationText(0), L"00:00:00");
    EXPECT_EQ(DurationText(100 * 3600 * 1000u), L"100:00:00");
    EXPECT_EQ(Mp3FormatLine(true, 192, 64, 320, 2), L"Output Audio Info: Output Format MP3 Constant Bitrate: 192 Quality: 2");
    EXPECT_EQ(Mp3FormatLine(false, 192, 64, 320, 7), L"Output Audio Info: Output Format MP3 Variable Bitrate: 64-320 Quality: 7");
    EXPECT_EQ(WaveFormatLine(true), L"Output Audio Info: Output Format WAVE SSRC 44100:ON");
    EXPECT_EQ(WaveFormatLine(false), L"Output Audio Info: Output Format WAVE SSRC 44100:OFF");
    EXPECT_EQ(OutputDirectoryLine(L"/out/"), L"Output Directory: /out/");
}

TEST(OutputNaming, FlacAndOpusOutputsTakeTheirOwnExtensions)
{
    EXPECT_EQ(std::wstring(OutputExtension(kOutputMp3)), L"mp3");
    EXPECT_EQ(std::wstring(OutputExtension(kOutputWav)), L"wav");
    EXPECT_EQ(std::wstring(OutputExtension(kOutputFlac)), L"flac");
    EXPECT_EQ(std::wstring(OutputExtension(kOutputOpus)), L"opus");

    ConversionItem song = Plain(L"/music/in/song.ape");
    EXPECT_EQ(OutputPathFor(song, OutputExtension(kOutputFlac), L"/out/"), L"/out/song.flac");
    song.outputPath = L"/out/song.flac";
    EXPECT_EQ(OutputPathFor(song, OutputExtension(kOutputOpus), L"/out/"), L"/out/song.opus");
    ConversionItem track = Track(L"/music/album.cue", L"Slow Tide v1.2");
    EXPECT_EQ(OutputPathFor(track, OutputExtension(kOutputOpus), L"/out/"), L"/out/Slow Tide v1.2.opus");
}
