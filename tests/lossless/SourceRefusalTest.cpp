// What the decoder interface refuses, and how: lossy files with the one
// sentence users see, damaged files with an error code (never a crash or a
// clean-looking result), hybrid WavPack flagged as the lossy part it is.
#include "tests/lossless/LosslessFixture.h"

#include <gtest/gtest.h>

namespace {

using namespace lossless_test;

const std::wstring kLossy = L"lossy source: converting it again would lose quality";

TEST(LossySources, AreRefusedWithTheReason)
{
    ASSERT_EQ(MissingTools(), "");
    testing_support::TempDir dir;
    fs::path wav = MakeWav(dir.path(), "source.wav", {44100, 16, 2}, 1);
    std::string in = "ffmpeg -nostdin -v error -y -i " + Quote(wav);
    struct Lossy {
        std::string name, options;
    };
    for (const Lossy& lossy : {Lossy{"a.mp3", "-c:a libmp3lame"}, Lossy{"a.opus", "-c:a libopus"},
                               Lossy{"a.m4a", "-c:a aac"}, Lossy{"a.aac", "-c:a aac -f adts"},
                               Lossy{"a.ogg", "-c:a libvorbis"}, Lossy{"opus.mka", "-c:a libopus"}, Lossy{"mulaw.wav", "-c:a pcm_mulaw"},
                               Lossy{"mp3-in.wav", "-c:a libmp3lame -f wav"},
                               Lossy{"disguised.flac", "-c:a libmp3lame -f mp3"},
                               Lossy{"tagged.mp3", "-c:a libmp3lame -id3v2_version 3 -metadata title=Song"}}) {
        fs::path file = dir / lossy.name;
        ASSERT_TRUE(RunTool(in + " " + lossy.options + " " + Quote(file)));
        Decoder d = Open(file);
        EXPECT_FALSE(d.decoder) << lossy.name;
        EXPECT_EQ(d.error, ERROR_LOSSY_SOURCE) << lossy.name;
        EXPECT_EQ(d.reason, kLossy) << lossy.name;
    }
}

TEST(OpenFailures, SayWhy)
{
    testing_support::TempDir dir;
    Decoder missing = Open(dir / "nothing-here.flac");
    EXPECT_FALSE(missing.decoder);
    EXPECT_NE(missing.error, ERROR_SUCCESS);
    EXPECT_FALSE(missing.reason.empty());

    fs::path text = dir / "notes.flac";
    testing_support::WriteBytes(text, std::vector<unsigned char>(4000, 'x'));
    Decoder notSound = Open(text);
    EXPECT_FALSE(notSound.decoder);
    EXPECT_NE(notSound.error, ERROR_SUCCESS);
    EXPECT_NE(notSound.error, ERROR_LOSSY_SOURCE);
    EXPECT_FALSE(notSound.reason.empty());

    int error = 0;
    EXPECT_EQ(CreateIAPEDecompress(nullptr, &error), nullptr);
    EXPECT_EQ(error, ERROR_BAD_PARAMETER);
    EXPECT_FALSE(LastOpenError().empty());
}

// Sound that cannot be cut at the sample or read as integers is refused as
// unsupported, not as lossy: floating-point WAVE, and Matroska, which times
// its frames in milliseconds.
TEST(OpenFailures, UnsupportedIsNotLossy)
{
    ASSERT_EQ(MissingTools(), "");
    testing_support::TempDir dir;
    fs::path wav = MakeWav(dir.path(), "source.wav", {44100, 16, 2}, 1);
    struct Case {
        std::string name, command;  // the command makes the file from `wav`
    };
    for (const Case& c : {Case{"float.wav", "sox " + Quote(wav) + " -e floating-point -b 32"},
                          Case{"flac.mka", "ffmpeg -nostdin -v error -y -i " + Quote(wav) + " -c:a flac"}}) {
        fs::path file = dir / c.name;
        ASSERT_TRUE(RunTool(c.command + " " + Quote(file)));
        Decoder d = Open(file);
        EXPECT_FALSE(d.decoder) << c.name;
        EXPECT_EQ(d.error, ERROR_UNSUPPORTED_FILE_TYPE) << c.name;
        EXPECT_FALSE(d.reason.empty()) << c.name;
        EXPECT_NE(d.reason, kLossy) << c.name;
    }
}

// A damaged FLAC file gives an error code where the damage is, never a
// crash and never a clean result.
TEST(DamagedFlac, GivesAnErrorCode)
{
    ASSERT_EQ(MissingTools(), "");
    testing_support::TempDir dir;
    fs::path wav = MakeWav(dir.path(), "source.wav", {44100, 16, 2}, 3);
    fs::path flac = Encode(wav, "flac");
    std::vector<unsigned char> whole = testing_support::ReadBytes(flac);

    fs::path truncated = dir / "truncated.flac";
    testing_support::WriteBytes(truncated, std::vector<unsigned char>(whole.begin(), whole.begin() + long(whole.size() / 2)));
    int error = ERROR_SUCCESS;
    std::vector<unsigned char> pcm = Decode(truncated, &error);
    EXPECT_NE(error, ERROR_SUCCESS);
    EXPECT_LT(pcm.size(), WavData(wav).size());

    fs::path scribbled = dir / "scribbled.flac";
    std::vector<unsigned char> bytes = whole;
    for (std::size_t i = bytes.size() / 3; i < bytes.size() / 3 + 2000; ++i)
        bytes[i] ^= 0x5A;
    testing_support::WriteBytes(scribbled, bytes);
    error = ERROR_SUCCESS;
    Decode(scribbled, &error);
    EXPECT_NE(error, ERROR_SUCCESS);

    // So short that only the header is left: the open fails, with a reason.
    fs::path stub = dir / "stub.flac";
    testing_support::WriteBytes(stub, std::vector<unsigned char>(whole.begin(), whole.begin() + 60));
    Decoder d = Open(stub);
    EXPECT_FALSE(d.decoder);
    EXPECT_NE(d.error, ERROR_SUCCESS);
    EXPECT_FALSE(d.reason.empty());
}

// FFmpeg reads a hybrid file's .wv alone, so its decode is the lossy part
// even with the correction file beside it; the decoder says so.
TEST(WavPackHybrid, IsFlaggedAsTheLossyPart)
{
    ASSERT_EQ(MissingTools(), "");
    testing_support::TempDir dir;
    fs::path wav = MakeWav(dir.path(), "source.wav", {44100, 16, 2}, 2);
    fs::path withCorrection = dir / "with.wv";
    ASSERT_TRUE(RunTool("wavpack -q -y -b3 -c " + Quote(wav) + " -o " + Quote(withCorrection)));
    ASSERT_TRUE(fs::exists(dir / "with.wvc"));
    fs::path alone = dir / "alone.wv";
    ASSERT_TRUE(RunTool("wavpack -q -y -b3 " + Quote(wav) + " -o " + Quote(alone)));

    for (const fs::path& file : {withCorrection, alone}) {
        Decoder d = Open(file);
        ASSERT_TRUE(d.decoder) << file;
        EXPECT_EQ(d.decoder->GetInfo(SOURCE_INFO_LOSSY_PART), 1) << file;
        int error = -1;
        std::vector<unsigned char> pcm = ReadAll(*d.decoder, &error);
        EXPECT_EQ(error, ERROR_SUCCESS);
        EXPECT_EQ(pcm.size(), WavData(wav).size());  // every sample, if not every bit
        // Should FFmpeg ever apply the correction file, this fails: the
        // flag would then be wrong for the file that has one.
        EXPECT_FALSE(pcm == WavData(wav)) << file;
    }
    Decoder whole = Open(Encode(wav, "wv"));
    ASSERT_TRUE(whole.decoder);
    EXPECT_EQ(whole.decoder->GetInfo(SOURCE_INFO_LOSSY_PART), 0);
}

}  // namespace
