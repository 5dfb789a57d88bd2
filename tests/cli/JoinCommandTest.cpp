// Tracks cut from one continuous recording play back as that recording:
// decoded one after the other they last exactly as long as the image, and
// around the cuts Opus tracks are no worse than one opusenc file of the
// whole image is at the same places.
#include "tests/cli/CommandRun.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

constexpr long kRate = 44100;
constexpr long kImageFrames = 8 * kRate;
// Where tracks 2, 3 and 4 start, in CD frames (1/75 s): uneven places, none
// on an Opus frame boundary.
constexpr long kStarts[] = {150, 310, 487};
const char* const kTracks[] = {"One", "Two", "Three", "Four"};

// Eight seconds of two sweeps, one up and one down, cut into four tracks.
void MakeContinuousAlbum(const fs::path& dir)
{
    Result made = Shell("sox -n -r 44100 -b 16 -c 2 " + Q(dir / "image.wav") +
                        " synth 8 sine 110-1760 sine 880-220 gain -6 && echo made");
    ASSERT_TRUE(Has(made, "made")) << made.output;
    std::ofstream sheet(dir / "album.cue");
    sheet << "TITLE \"Joins\"\nFILE \"image.wav\" WAVE\n";
    for (int t = 0; t < 4; ++t) {
        long at = t == 0 ? 0 : kStarts[t - 1];
        char index[32];
        std::snprintf(index, sizeof index, "%02ld:%02ld:%02ld", at / 4500, at / 75 % 60, at % 75);
        sheet << "  TRACK 0" << t + 1 << " AUDIO\n    TITLE \"" << kTracks[t] << "\"\n    INDEX 01 " << index << "\n";
    }
}

std::vector<std::int16_t> Samples(const std::vector<unsigned char>& bytes)
{
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

// What opusdec plays of a file, stereo 16-bit at 48 kHz.
std::vector<std::int16_t> Opusdec(const fs::path& file)
{
    fs::path wav = file.parent_path() / (file.stem().string() + ".dec.wav");
    Result r = Shell("opusdec --quiet --rate 48000 " + Q(file) + " " + Q(wav));
    EXPECT_EQ(r.status, 0) << r.output;
    return Samples(FfmpegDecode(wav, "s16le"));
}

// The error energy (dB) of `decoded` against `reference` within 10 ms of
// frame `at`, both stereo at 48 kHz.
double ErrorDb(const std::vector<std::int16_t>& decoded, const std::vector<std::int16_t>& reference, long at)
{
    double energy = 0;
    for (long i = 2 * (at - 480); i < 2 * (at + 480); ++i) {
        double d = static_cast<double>(decoded.at(static_cast<std::size_t>(i))) -
                   reference.at(static_cast<std::size_t>(i));
        energy += d * d;
    }
    return 10 * std::log10(energy + 1);
}

}  // namespace

TEST(JoinCommand, DecodedTracksLastExactlyAsLongAsTheImage)
{
    ASSERT_EQ(MissingTools({"sox", "ffmpeg", "opusdec"}), "");
    TempDir dir;
    MakeContinuousAlbum(dir.path());
    // MP3 and FLAC at the image's rate, Opus at 48 kHz.
    for (const char* format : {"mp3", "flac", "opus"}) {
        SCOPED_TRACE(format);
        fs::path out = dir / format;
        const bool opus = format == std::string("opus");
        const std::string option = format == std::string("mp3") ? "" : std::string("--") + format + " ";
        Result r = Convert(option + "--yes -o " + Q(out) + " " + Q(dir / "album.cue"));
        ASSERT_EQ(r.status, 0) << r.output;
        std::size_t frames = 0;
        for (const char* track : kTracks) {
            fs::path file = out / (std::string(track) + "." + format);
            frames += (opus ? Opusdec(file) : Samples(FfmpegDecode(file, "s16le"))).size() / 2;
        }
        EXPECT_EQ(frames, static_cast<std::size_t>(opus ? kImageFrames * 48000 / kRate : kImageFrames));
    }
}

TEST(JoinCommand, OpusJoinsAreAsCleanAsInsideOneOpusencFile)
{
    ASSERT_EQ(MissingTools({"sox", "ffmpeg", "opusdec", "opusenc"}), "");
    TempDir dir;
    MakeContinuousAlbum(dir.path());
    Result r = Convert("--opus --opus-bitrate 128 --yes -o " + Q(dir / "out") + " " + Q(dir / "album.cue"));
    ASSERT_EQ(r.status, 0) << r.output;
    std::vector<std::int16_t> ours;
    for (const char* track : kTracks) {
        auto pcm = Opusdec(dir / "out" / (std::string(track) + ".opus"));
        ours.insert(ours.end(), pcm.begin(), pcm.end());
    }
    Result whole = Shell("opusenc --quiet --bitrate 128 " + Q(dir / "image.wav") + " " + Q(dir / "whole.opus") +
                         " && sox " + Q(dir / "image.wav") + " -r 48000 " + Q(dir / "reference.wav") + " rate -v");
    ASSERT_EQ(whole.status, 0) << whole.output;
    auto peer = Opusdec(dir / "whole.opus");
    auto reference = Samples(FfmpegDecode(dir / "reference.wav", "s16le"));
    ASSERT_EQ(ours.size(), reference.size());
    ASSERT_EQ(peer.size(), reference.size());
    for (long start : kStarts) {
        const long at = start * 640;  // a CD frame is 640 samples at 48 kHz
        SCOPED_TRACE("join at " + std::to_string(at));
        EXPECT_LE(ErrorDb(ours, reference, at), ErrorDb(peer, reference, at) + 1.0);
    }
    // The whole image as one file is what opusenc makes of it, sample for
    // sample: the same encoder, set up the same way (unconstrained VBR).
    Result one = Convert("--opus --opus-bitrate 128 --yes -o " + Q(dir / "one") + " " + Q(dir / "image.wav"));
    ASSERT_EQ(one.status, 0) << one.output;
    EXPECT_TRUE(Opusdec(dir / "one" / "image.opus") == peer);
}

// The audio an Opus track's encoder hears before the track is not the
// track's: damage there fails the track before it, not this one, and
// leaves its length exact.
TEST(JoinCommand, DamageJustBeforeAnOpusTrackIsNotThatTracks)
{
    ASSERT_EQ(MissingTools({"sox", "flac", "opusdec"}), "");
    TempDir dir;
    MakeContinuousAlbum(dir.path());
    ASSERT_EQ(Shell("flac -s " + Q(dir / "image.wav") + " -o " + Q(dir / "image.flac")).status, 0);
    fs::remove(dir / "image.wav");  // the sheet's image is found by its stem
    // Frame 15 of 4096 samples lies 1.4 s in: within the second before
    // track two, well clear of the frame that holds its start.
    std::ifstream in(dir / "image.flac", std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
    in.close();
    std::size_t at = 0;
    while (at + 5 < bytes.size() && !(bytes[at] == 0xff && bytes[at + 1] == 0xf8 && bytes[at + 4] == 15))
        ++at;
    ASSERT_LT(at + 100, bytes.size());
    for (std::size_t i = at + 40; i < at + 100; ++i)
        bytes[i] ^= 0x5a;
    std::ofstream(dir / "image.flac", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                              static_cast<std::streamsize>(bytes.size()));

    Result r = Convert("--opus --yes -o " + Q(dir / "out") + " " + Q(dir / "album.cue"));
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(Has(r, "FAILED   One")) << r.output;
    EXPECT_TRUE(Has(r, "OK       Two")) << r.output;
    EXPECT_EQ(Opusdec(dir / "out" / "Two.opus").size() / 2, static_cast<std::size_t>((kStarts[1] - kStarts[0]) * 640));
}
