// Every lossless format, in every width and channel count a format allows,
// decodes through the decoder interface to exactly the PCM it was made
// from, with the format record and length the file states.
#include "tests/lossless/LosslessFixture.h"

#include "platform/core/Strings.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace lossless_test;

struct Case {
    std::string format;
    Shape shape;
};

std::string Name(const testing::TestParamInfo<Case>& info)
{
    const Case& c = info.param;
    std::string format = c.format;
    std::replace(format.begin(), format.end(), '-', '_');
    return format + "_" + std::to_string(c.shape.rate) + "_" + std::to_string(c.shape.bits) + "bit_" +
           std::to_string(c.shape.channels) + "ch";
}

class LosslessFormat : public testing::TestWithParam<Case> {};

TEST_P(LosslessFormat, DecodesToThePcmItWasMadeFrom)
{
    ASSERT_EQ(MissingTools(), "");
    testing_support::TempDir dir;
    const Case& c = GetParam();
    fs::path wav = MakeWav(dir.path(), "source.wav", c.shape);
    std::vector<unsigned char> expected = WavData(wav);
    ASSERT_FALSE(expected.empty());
    fs::path file = Encode(wav, c.format);
    ASSERT_TRUE(fs::exists(file)) << file;

    Decoder d = Open(file);
    ASSERT_TRUE(d.decoder) << "error " << d.error << ": " << win::ToUtf8(d.reason);
    WAVEFORMATEX format;
    ASSERT_EQ(d.decoder->GetInfo(APE_INFO_WAVEFORMATEX, reinterpret_cast<std::intptr_t>(&format)), ERROR_SUCCESS);
    EXPECT_EQ(format.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(format.nChannels, c.shape.channels);
    EXPECT_EQ(format.nSamplesPerSec, std::uint32_t(c.shape.rate));
    EXPECT_EQ(format.wBitsPerSample, c.shape.bits);
    int align = c.shape.bits / 8 * c.shape.channels;
    EXPECT_EQ(d.decoder->GetInfo(APE_INFO_BLOCK_ALIGN), align);
    std::int64_t blocks = std::int64_t(expected.size()) / align;
    EXPECT_EQ(d.decoder->GetInfo(APE_DECOMPRESS_TOTAL_BLOCKS), blocks);
    EXPECT_EQ(d.decoder->GetInfo(APE_INFO_LENGTH_MS), blocks * 1000 / c.shape.rate);
    EXPECT_EQ(d.decoder->GetInfo(SOURCE_INFO_LOSSY_PART), 0);

    int error = -1;
    std::vector<unsigned char> pcm = ReadAll(*d.decoder, &error, 1000);  // not a frame multiple
    EXPECT_EQ(error, ERROR_SUCCESS);
    ASSERT_EQ(pcm.size(), expected.size());
    EXPECT_TRUE(pcm == expected) << "the decoded PCM differs from the source";
    EXPECT_EQ(d.decoder->GetInfo(APE_DECOMPRESS_CURRENT_MS), blocks * 1000 / c.shape.rate);
}

const Shape kCd{44100, 16, 2};
const Shape kMono16{22050, 16, 1};
const Shape kHiRes{96000, 24, 2};
const Shape kSurround16{48000, 16, 6};
const Shape kSurround24{48000, 24, 6};
const Shape kEight{8000, 8, 1};
const Shape kThirtyTwo{44100, 32, 2};

INSTANTIATE_TEST_SUITE_P(Flac, LosslessFormat,
                         testing::Values(Case{"flac", kCd}, Case{"flac", kMono16}, Case{"flac", kHiRes},
                                         Case{"flac", kSurround16}, Case{"flac", kSurround24},
                                         Case{"flac-unknown-length", kCd}, Case{"ogg-flac", kCd}),
                         Name);
INSTANTIATE_TEST_SUITE_P(WavPack, LosslessFormat,
                         testing::Values(Case{"wv", kCd}, Case{"wv", kMono16}, Case{"wv", kHiRes},
                                         Case{"wv", kSurround24}, Case{"wv", kEight}, Case{"wv", kThirtyTwo}),
                         Name);
INSTANTIATE_TEST_SUITE_P(Tta, LosslessFormat,
                         testing::Values(Case{"tta", kCd}, Case{"tta", kMono16}, Case{"tta", kHiRes},
                                         Case{"tta", kSurround16}),
                         Name);
INSTANTIATE_TEST_SUITE_P(Alac, LosslessFormat,
                         testing::Values(Case{"alac", kCd}, Case{"alac", kMono16}, Case{"alac", kHiRes},
                                         Case{"alac", kSurround16}),
                         Name);
INSTANTIATE_TEST_SUITE_P(Wave, LosslessFormat,
                         testing::Values(Case{"wav", kCd}, Case{"wav", kEight}, Case{"wav", kHiRes},
                                         Case{"wav", kSurround24}, Case{"wav", kThirtyTwo}, Case{"rf64", kCd},
                                         Case{"rf64", kHiRes}, Case{"w64", kCd}, Case{"w64", kSurround16}),
                         Name);
INSTANTIATE_TEST_SUITE_P(Aiff, LosslessFormat,
                         testing::Values(Case{"aiff", kCd}, Case{"aiff", kHiRes}, Case{"aiff", kEight},
                                         Case{"aifc", kCd}, Case{"aifc-sowt", kCd}, Case{"aiff", kSurround16}),
                         Name);

// The formats' own decoders agree with ours: the reference is not only the
// PCM we gave the encoder, but what its authors' tools read back.
TEST(ReferenceDecoders, FlacAndWavPackDecodeAsTheirOwnTools)
{
    ASSERT_EQ(MissingTools(), "");
    testing_support::TempDir dir;
    for (Shape shape : {kCd, kSurround24}) {
        fs::path wav = MakeWav(dir.path(), "source.wav", shape);
        fs::path flac = Encode(wav, "flac");
        fs::path wv = Encode(wav, "wv");
        fs::path fromFlac = dir / "flac-d.wav";
        fs::path fromWv = dir / "wvunpack.wav";
        ASSERT_TRUE(RunTool("flac -s -d -f -o " + Quote(fromFlac) + " " + Quote(flac)));
        ASSERT_TRUE(RunTool("wvunpack -q -y " + Quote(wv) + " -o " + Quote(fromWv)));
        EXPECT_TRUE(Decode(flac) == WavData(fromFlac)) << shape.channels << " channels";
        EXPECT_TRUE(Decode(wv) == WavData(fromWv)) << shape.channels << " channels";
        EXPECT_FALSE(WavData(fromFlac).empty());
    }
}

// What a file is called does not matter: its content decides the decoder.
TEST(ContentDecides, ARenamedFileStillDecodes)
{
    ASSERT_EQ(MissingTools(), "");
    testing_support::TempDir dir;
    fs::path wav = MakeWav(dir.path(), "source.wav", kCd, 1);
    fs::path flac = Encode(wav, "flac");
    fs::path renamed = dir / "looks-like.ape";
    fs::copy_file(flac, renamed);
    fs::path wv = Encode(wav, "wv");
    fs::path noName = dir / "noextension";
    fs::copy_file(wv, noName);
    EXPECT_TRUE(Decode(renamed) == WavData(wav));
    EXPECT_TRUE(Decode(noName) == WavData(wav));
}

// A Monkey's Audio file goes to its own decoder whatever its name, and
// decodes as it does under its own.
TEST(ContentDecides, MonkeysAudioUnderAnotherNameIsStillMonkeysAudio)
{
    testing_support::TempDir dir;
    fs::path ape = testing_support::FixturePath("stereo16_44k.ape");
    fs::path renamed = dir / "album.flac";
    fs::copy_file(ape, renamed);
    int error = -1;
    std::vector<unsigned char> pcm = Decode(renamed, &error);
    EXPECT_EQ(error, ERROR_SUCCESS);
    EXPECT_FALSE(pcm.empty());
    EXPECT_TRUE(pcm == Decode(ape));
}

// Taggers put ID3v2 tags in front of FLAC files; the stream behind it is
// still found.
TEST(ContentDecides, AnId3v2TagInFrontOfFlacIsSteppedOver)
{
    ASSERT_EQ(MissingTools(), "");
    testing_support::TempDir dir;
    fs::path wav = MakeWav(dir.path(), "source.wav", kCd, 1);
    fs::path flac = Encode(wav, "flac");
    std::vector<unsigned char> tagged = {'I', 'D', '3', 4, 0, 0, 0, 0, 1, 0};  // 128-byte body
    tagged.resize(10 + 128, 0);
    std::vector<unsigned char> body = testing_support::ReadBytes(flac);
    tagged.insert(tagged.end(), body.begin(), body.end());
    fs::path file = dir / "tagged.flac";
    testing_support::WriteBytes(file, tagged);
    EXPECT_TRUE(Decode(file) == WavData(wav));
}

}  // namespace
