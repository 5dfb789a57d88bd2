// Tags written into MP3 and WAV files are what independent readers find, and
// writing them never changes the audio.
#include "platform/core/Strings.h"
#include "tags/TagFiles.h"
#include "tests/resample/TestWav.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

std::wstring Wide(const fs::path& path) { return win::FromUtf8(path.string()); }

TagRecord AlbumTrack()
{
    TagRecord tags;
    tags.Set("TITLE", L"Say \"Hi\" \u2014 \u041f\u0440\u0438\u0432\u0435\u0442");
    tags.Set("ARTIST", L"Bj\u00f6rk & \u5742\u672c");
    tags.Set("ALBUM", L"Caf\u00e9 Sessions");
    tags.Set("ALBUMARTIST", L"Various");
    tags.Set("COMPOSER", L"Writer");
    tags.Set("ISRC", L"GBAYE7700001");
    tags.Set("TRACKNUMBER", L"3/12");
    tags.Set("DISCNUMBER", L"1/2");
    tags.Set("DATE", L"1999");
    tags.Set("GENRE", L"Jazz");
    tags.Set("COMMENT", L"ExactAudioCopy v1.6");
    tags.Set("REPLAYGAIN_TRACK_GAIN", L"-7.89 dB");
    return tags;
}

// A WAV file with a WAVEFORMATEX fmt chunk (18 bytes), as the converter
// writes them, holding `frames` frames of a ramp.
std::vector<unsigned char> MakeWav(int channels, int bits, int frames)
{
    test::WavLayout layout;
    layout.channels = channels;
    layout.width = bits / 8;
    layout.formatLength = 18;
    for (int i = 0; i < channels * frames; ++i)
        layout.samples.push_back(i % 101 - 50);
    return test::BuildWav(layout);
}

}  // namespace

TEST(TagFiles, Mp3TagsReadBackExactly)
{
    TempDir dir;
    fs::path mp3 = dir / "t.mp3";
    RunCapture("ffmpeg -nostdin -v error -f lavfi -i sine=d=0.3 -c:a libmp3lame -id3v2_version 0 '" +
               mp3.string() + "'");
    ASSERT_TRUE(fs::exists(mp3));
    auto before = FfmpegDecode(mp3, "s16le");
    ASSERT_FALSE(before.empty());

    ASSERT_EQ(WriteMp3Tags(Wide(mp3), AlbumTrack()), L"");
    auto tags = FfprobeTags(mp3);
    std::map<std::string, std::string> expected{
        {"title", "Say \"Hi\" \xE2\x80\x94 \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"},
        {"artist", "Bj\xC3\xB6rk & \xE5\x9D\x82\xE6\x9C\xAC"},
        {"album", "Caf\xC3\xA9 Sessions"},
        {"album_artist", "Various"},
        {"composer", "Writer"},
        {"TSRC", "GBAYE7700001"},
        {"track", "3/12"},
        {"disc", "1/2"},
        {"date", "1999"},
        {"genre", "Jazz"},
        {"comment", "ExactAudioCopy v1.6"},
        {"REPLAYGAIN_TRACK_GAIN", "-7.89 dB"},
    };
    EXPECT_EQ(tags, expected);
    EXPECT_EQ(FfmpegDecode(mp3, "s16le"), before);

    // The ID3v1 tag at the end, for players that read nothing else.
    auto bytes = ReadBytes(mp3);
    ASSERT_GT(bytes.size(), 128u);
    EXPECT_EQ(std::string(bytes.end() - 128, bytes.end() - 125), "TAG");
    EXPECT_EQ(std::string(bytes.end() - 128 + 63, bytes.end() - 128 + 63 + 15), std::string("Caf\xE9 Sessions\0", 15));
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), std::string("ID3\x04", 4));
}

TEST(TagFiles, WavTagsFollowTheAudioAndChangeNoSample)
{
    for (auto [channels, bits, frames] : {std::tuple{2, 16, 4410}, std::tuple{1, 8, 441}, std::tuple{2, 24, 999}}) {
        TempDir dir;
        fs::path wav = dir / "t.wav";
        auto original = MakeWav(channels, bits, frames);
        WriteBytes(wav, original);
        std::string raw = bits == 8 ? "u8" : bits == 16 ? "s16le" : "s24le";
        auto pcm = FfmpegDecode(wav, raw);
        ASSERT_EQ(pcm.size(), static_cast<std::size_t>(channels * bits / 8 * frames));

        ASSERT_EQ(WriteWavTags(Wide(wav), AlbumTrack()), L"");
        auto tagged = ReadBytes(wav);
        // Header and audio untouched; the tags come after the data chunk.
        ASSERT_GT(tagged.size(), original.size());
        EXPECT_TRUE(std::equal(original.begin() + 8, original.end(), tagged.begin() + 8));
        EXPECT_EQ(Le32(tagged, 4), tagged.size() - 8);
        EXPECT_EQ(FfmpegDecode(wav, raw), pcm);
        auto sox = RunCapture("sox -V1 '" + wav.string() + "' -t raw -e " +
                              std::string(bits == 8 ? "unsigned" : "signed") + " -");
        EXPECT_EQ(sox, pcm) << bits << "-bit";

        auto tags = FfprobeTags(wav);
        EXPECT_EQ(tags["title"], "Say \"Hi\" \xE2\x80\x94 \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82");
        EXPECT_EQ(tags["artist"], "Bj\xC3\xB6rk & \xE5\x9D\x82\xE6\x9C\xAC");
        EXPECT_EQ(tags["album"], "Caf\xC3\xA9 Sessions");
        EXPECT_EQ(tags["date"], "1999");
        EXPECT_EQ(tags["track"], "3/12");
        EXPECT_EQ(tags["genre"], "Jazz");
        EXPECT_EQ(tags["comment"], "ExactAudioCopy v1.6");
        std::string text(tagged.begin(), tagged.end());
        EXPECT_GT(text.find("LIST"), original.size() - 1);
        EXPECT_NE(text.find("INFO"), std::string::npos);
        EXPECT_GT(text.find("ID3 "), original.size() - 1);
        // ffmpeg shows the INFO texts only; the ID3v2 chunk holds every field.
        EXPECT_EQ(ReadTags(Wide(wav)).fields, AlbumTrack().fields);
    }
}

TEST(TagFiles, NothingToWriteLeavesTheFileAlone)
{
    TempDir dir;
    fs::path wav = dir / "t.wav";
    WriteBytes(wav, MakeWav(2, 16, 100));
    EXPECT_EQ(WriteWavTags(Wide(wav), TagRecord()), L"");
    EXPECT_EQ(ReadBytes(wav), MakeWav(2, 16, 100));
}

TEST(TagFiles, FailuresSayWhy)
{
    TempDir dir;
    EXPECT_NE(WriteMp3Tags(Wide(dir / "missing.mp3"), AlbumTrack()), L"");
    EXPECT_NE(WriteWavTags(Wide(dir / "missing.wav"), AlbumTrack()), L"");
    WriteBytes(dir / "empty.wav", {});
    EXPECT_NE(WriteWavTags(Wide(dir / "empty.wav"), AlbumTrack()), L"");
    fs::path locked = dir / "locked.wav";
    WriteBytes(locked, MakeWav(2, 16, 100));
    chmod(locked.c_str(), 0444);
    if (geteuid() != 0) {  // root writes through any permission
        EXPECT_NE(WriteWavTags(Wide(locked), AlbumTrack()), L"");
        EXPECT_EQ(ReadBytes(locked), MakeWav(2, 16, 100));
    }
    EXPECT_TRUE(ReadTags(Wide(dir / "missing.mp3")).Empty());
}

TEST(TagFiles, ApeTagsAndAnId3v2TagInFront)
{
    fs::path data = SharedTestData();
    ASSERT_FALSE(data.empty());
    // The APE tag's items hold 2048 "x" each; its ID3v1 tag "xxx..." cut to
    // 30 must not win.
    TagRecord ape = ReadApeTags(Wide(data / "ape" / "mac-399-tagged.ape"));
    for (const char* name : {"ALBUM", "ARTIST", "TITLE"})
        EXPECT_EQ(ape.Get(name), std::wstring(2048, L'x')) << name;
    // UTF-16 ID3v2 frames in front of the audio.
    TagRecord id3 = ReadApeTags(Wide(data / "ape" / "mac-399-id3v2.ape"));
    EXPECT_EQ(id3.Get("ALBUM"), L"AlbumXXXX");
    EXPECT_EQ(id3.Get("ARTIST"), L"ArtistXXXX");
    EXPECT_EQ(id3.Get("TITLE").substr(0, 9), L"TitleXXXX");
    EXPECT_TRUE(ReadApeTags(Wide(data / "ape" / "mac-399.ape")).Empty());
    EXPECT_TRUE(ReadApeTags(L"/nonexistent.ape").Empty());
}
