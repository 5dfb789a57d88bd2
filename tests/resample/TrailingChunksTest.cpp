// Tags after the audio survive resampling, and never count as audio.
#include "resample/WavResampler.h"
#include "tags/TagFiles.h"
#include "tests/support/TestFiles.h"

#include "TestWav.h"

#include <gtest/gtest.h>

namespace {

std::vector<unsigned char> Chunk(const std::string& tag, const std::string& body)
{
    std::vector<unsigned char> out(tag.begin(), tag.end());
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(body.size() >> (8 * i)));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2)
        out.push_back(0);
    return out;
}

// A WAV file of `layout` followed by `after`, its RIFF size counting both;
// `pad` adds the pad byte that odd audio needs before the next chunk.
std::vector<unsigned char> WithChunksAfter(const test::WavLayout& layout, const std::vector<unsigned char>& after,
                                           bool pad = true)
{
    auto bytes = test::BuildWav(layout);
    if (pad && (bytes.size() - 44) % 2)
        bytes.push_back(0);
    bytes.insert(bytes.end(), after.begin(), after.end());
    std::uint32_t riff = static_cast<std::uint32_t>(bytes.size() - 8);
    for (int i = 0; i < 4; ++i)
        bytes[4 + i] = static_cast<unsigned char>(riff >> (8 * i));
    return bytes;
}

bool Resample(const std::filesystem::path& file)
{
    WavResampler r(nullptr);
    std::wstring name = test::Wide(file);
    if (!r.Open(name.c_str(), name.c_str()))
        return false;
    int ok = r.Run();
    r.Close();
    return ok == 1;
}

}  // namespace

TEST(TrailingChunks, ChunksAfterTheAudioAreKeptAndTheDataSizeIsTheAudio)
{
    std::vector<unsigned char> tags = Chunk("LIST", std::string("INFOINAM\x05\0\0\0Tide\0", 17));
    auto id3 = Chunk("id3 ", "ID3 tag bytes");
    tags.insert(tags.end(), id3.begin(), id3.end());
    for (int rate : {44100, 48000, 22050}) {
        test::ScratchDir dir;
        test::WavLayout layout;
        layout.rate = rate;
        layout.channels = 1;
        layout.width = 1;
        layout.samples = test::Sine(440, rate, 2001, 1, 0.5, 1);  // odd audio: a pad byte
        auto file = dir / "t.wav";
        test::WriteFile(file, WithChunksAfter(layout, tags, rate != 22050));
        ASSERT_TRUE(Resample(file)) << rate;
        auto out = test::ReadFile(file);
        std::uint32_t data = test::U32(out, 40);
        EXPECT_EQ(data % 2, 0u);
        EXPECT_EQ(test::U32(out, 4), out.size() - 8);
        ASSERT_EQ(out.size(), 44u + data + tags.size()) << rate;
        EXPECT_TRUE(std::equal(tags.begin(), tags.end(), out.end() - static_cast<long>(tags.size())));
        // Decoders see only the audio.
        EXPECT_EQ(testing_support::FfmpegDecode(file, "s16le").size(), data) << rate;
        EXPECT_EQ(testing_support::FfprobeTags(file)["title"], "Tide");
    }
}

TEST(TrailingChunks, ACutTagIsDroppedAndTheAudioStillConverts)
{
    test::ScratchDir dir;
    test::WavLayout layout;
    layout.rate = 48000;
    layout.samples = test::Sine(440, 48000, 4800, 2, 0.5, 2);
    auto whole = Chunk("LIST", std::string(40, 'x'));
    auto cut = Chunk("id3 ", std::string(100, 'y'));
    cut.resize(50);
    whole.insert(whole.end(), cut.begin(), cut.end());
    auto file = dir / "t.wav";
    test::WriteFile(file, WithChunksAfter(layout, whole));
    ASSERT_TRUE(Resample(file));
    auto out = test::ReadFile(file);
    EXPECT_EQ(out.size(), 44u + test::U32(out, 40) + 48u);
}

TEST(TrailingChunks, TaggedFilesKeepEveryTagThroughResampling)
{
    test::ScratchDir dir;
    test::WavLayout layout;
    layout.rate = 32000;
    layout.width = 3;
    layout.samples = test::Sine(440, 32000, 9000, 2, 0.5, 3);
    auto file = dir / "t.wav";
    test::WriteFile(file, test::BuildWav(layout));
    TagRecord tags;
    tags.Set("TITLE", L"\u00c9t\u00e9");
    tags.Set("ARTIST", L"Someone");
    tags.Set("REPLAYGAIN_TRACK_GAIN", L"-3.00 dB");
    ASSERT_EQ(WriteWavTags(test::Wide(file), tags), L"");
    ASSERT_TRUE(Resample(file));
    EXPECT_EQ(ReadTags(test::Wide(file)).fields, tags.fields);
    auto out = test::ReadFile(file);
    EXPECT_EQ(test::U32(out, 24), 44100u);
    EXPECT_EQ(testing_support::FfmpegDecode(file, "s16le").size(), test::U32(out, 40));
}
