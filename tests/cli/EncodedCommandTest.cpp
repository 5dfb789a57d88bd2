// FLAC and Opus output from the command line, checked by independent
// decoders: FLAC tracks give back their source ranges to the bit, Opus
// tracks last exactly as long as their ranges, both carry the album's tags,
// and a failing disk leaves nothing behind.
#include "tests/cli/CommandRun.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

struct Image {
    int rate;
    int bits;
    int channels;
};

std::string Name(const Image& image)
{
    return std::to_string(image.bits) + "-bit " + std::to_string(image.channels) + " ch " +
           std::to_string(image.rate) + " Hz";
}

// Three seconds of a different tone in every channel, and a sheet that cuts
// it into two tracks at 1.4 s (a whole CD frame at every rate here).
void MakeAlbum(const fs::path& dir, const Image& image)
{
    std::string tones;
    for (int c = 0; c < image.channels; ++c)
        tones += " sine " + std::to_string(220 + 110 * c);
    std::string made = Shell("sox -n -r " + std::to_string(image.rate) + " -b " + std::to_string(image.bits) +
                             " -c " + std::to_string(image.channels) + " " + Q(dir / "image.wav") + " synth 3" +
                             tones + " vol 0.8 && echo made")
                           .output;
    ASSERT_NE(made.find("made"), std::string::npos) << made;
    std::ofstream(dir / "album.cue") << "PERFORMER \"Tester\"\nTITLE \"Cuts\"\nFILE \"image.wav\" WAVE\n"
                                        "  TRACK 01 AUDIO\n    TITLE \"First\"\n    INDEX 01 00:00:00\n"
                                        "  TRACK 02 AUDIO\n    TITLE \"Second\"\n    INDEX 01 00:01:30\n";
}

std::vector<unsigned char> Slice(const std::vector<unsigned char>& pcm, std::size_t from, std::size_t to)
{
    to = std::min(to, pcm.size());
    return {pcm.begin() + static_cast<long>(std::min(from, to)), pcm.begin() + static_cast<long>(to)};
}

// The PCM flac itself decodes from a file, in the file's own width.
std::vector<unsigned char> FlacDecode(const fs::path& file, bool unsignedSamples)
{
    fs::path raw = file.parent_path() / (file.stem().string() + ".raw");
    Shell("flac -d -s -f --force-raw-format --endian=little --sign=" +
          std::string(unsignedSamples ? "unsigned" : "signed") + " -o " + Q(raw) + " " + Q(file));
    return ReadBytes(raw);
}

// How many frames per channel opusdec gives at 48 kHz.
long OpusdecFrames(const fs::path& file)
{
    fs::path wav = file.parent_path() / (file.stem().string() + ".dec.wav");
    std::string count = Shell("opusdec --quiet --rate 48000 " + Q(file) + " " + Q(wav) + " && soxi -s " + Q(wav)).output;
    return std::atol(count.c_str());
}

std::map<std::string, std::string> StreamTags(const fs::path& file)
{
    auto out = RunCapture("ffprobe -v error -show_entries stream_tags:format_tags -of default=nw=1 " + Q(file));
    std::map<std::string, std::string> tags;
    std::string text(out.begin(), out.end());
    for (std::size_t at = 0, end; at < text.size(); at = end + 1) {
        end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        std::size_t equals = line.find('=');
        if (line.starts_with("TAG:") && equals != std::string::npos)
            tags[line.substr(4, equals - 4)] = line.substr(equals + 1);
    }
    return tags;
}

}  // namespace

TEST(EncodedCommand, FlacTracksDecodeToExactlyTheirSourceRanges)
{
    ASSERT_EQ(MissingTools({"sox", "flac", "ffmpeg"}), "");
    // 32-bit sources stay 32-bit: FLAC holds them since libFLAC 1.4.
    for (Image image : {Image{44100, 16, 1}, Image{44100, 16, 2}, Image{48000, 24, 2}, Image{96000, 24, 6},
                        Image{22050, 8, 1}, Image{44100, 32, 2}}) {
        SCOPED_TRACE(Name(image));
        TempDir dir;
        MakeAlbum(dir.path(), image);
        Result r = Convert("--flac --flac-level 8 --yes -o " + Q(dir / "out") + " " + Q(dir / "album.cue"));
        ASSERT_EQ(r.status, 0) << r.output;
        EXPECT_TRUE(Has(r, "Output Format FLAC level 8")) << r.output;

        const bool eight = image.bits == 8;
        const char* raw[] = {"u8", "s16le", "s24le", "s32le"};
        auto source = FfmpegDecode(dir / "image.wav", raw[image.bits / 8 - 1]);
        const std::size_t frame = static_cast<std::size_t>(image.channels * image.bits / 8);
        const std::size_t cut = static_cast<std::size_t>(image.rate) * 14 / 10 * frame;
        ASSERT_GT(source.size(), cut);
        EXPECT_TRUE(FlacDecode(dir / "out" / "First.flac", eight) == Slice(source, 0, cut));
        EXPECT_TRUE(FlacDecode(dir / "out" / "Second.flac", eight) == Slice(source, cut, source.size()));
        Result test = Shell("flac -t -s " + Q(dir / "out" / "First.flac") + " " + Q(dir / "out" / "Second.flac"));
        EXPECT_EQ(test.status, 0) << test.output;
    }
}

TEST(EncodedCommand, ResampledFlacHoldsExactlyWhatResampledWavDoes)
{
    ASSERT_EQ(MissingTools({"sox", "flac", "ffmpeg"}), "");
    TempDir dir;
    MakeAlbum(dir.path(), Image{48000, 24, 2});
    Result flac = Convert("--flac --resample --yes -o " + Q(dir / "flac") + " " + Q(dir / "album.cue"));
    ASSERT_EQ(flac.status, 0) << flac.output;
    Result wav = Convert("--wav --resample --yes -o " + Q(dir / "wav") + " " + Q(dir / "album.cue"));
    ASSERT_EQ(wav.status, 0) << wav.output;
    // The intermediate file went with the row.
    EXPECT_EQ(FileNames(dir / "flac"), (std::vector<std::string>{"First.flac", "Second.flac"}));
    for (const char* track : {"First", "Second"}) {
        SCOPED_TRACE(track);
        auto resampled = FfmpegDecode(dir / "wav" / (std::string(track) + ".wav"), "s16le");
        ASSERT_GT(resampled.size(), 44100u * 4);
        EXPECT_TRUE(FlacDecode(dir / "flac" / (std::string(track) + ".flac"), false) == resampled);
        std::string stream = Shell("ffprobe -v error -show_entries stream=sample_rate,bits_per_raw_sample -of csv=p=0 " +
                                   Q(dir / "flac" / (std::string(track) + ".flac")))
                                 .output;
        EXPECT_EQ(stream, "44100,16\n");
    }
}

TEST(EncodedCommand, OpusTracksLastExactlyTheirRangesAt48kHz)
{
    ASSERT_EQ(MissingTools({"sox", "opusdec", "ffmpeg", "ffprobe"}), "");
    for (Image image : {Image{44100, 16, 2}, Image{22050, 16, 1}, Image{48000, 24, 6}}) {
        SCOPED_TRACE(Name(image));
        TempDir dir;
        MakeAlbum(dir.path(), image);
        Result r = Convert("--opus --opus-bitrate 96 --yes -o " + Q(dir / "out") + " " + Q(dir / "album.cue"));
        ASSERT_EQ(r.status, 0) << r.output;
        EXPECT_TRUE(Has(r, "Output Format Opus 96 kbit/s VBR")) << r.output;
        // 1.4 s and 1.6 s at 48 kHz.
        const long first = 67200, second = 76800;
        EXPECT_EQ(OpusdecFrames(dir / "out" / "First.opus"), first);
        EXPECT_EQ(OpusdecFrames(dir / "out" / "Second.opus"), second);
        const long bytesPerFrame = 2L * image.channels;
        EXPECT_EQ(static_cast<long>(FfmpegDecode(dir / "out" / "First.opus", "s16le").size()), first * bytesPerFrame);
        EXPECT_EQ(static_cast<long>(FfmpegDecode(dir / "out" / "Second.opus", "s16le").size()),
                  second * bytesPerFrame);
        std::string layout = Shell("ffprobe -v error -show_entries stream=channels,channel_layout -of csv=p=0 " +
                                   Q(dir / "out" / "First.opus"))
                                 .output;
        EXPECT_EQ(layout, image.channels == 6 ? "6,5.1\n" : image.channels == 2 ? "2,stereo\n" : "1,mono\n");
    }
}

// Surround sources come in the WAV order and Opus keeps its own: each
// channel must come back out where it went in.
TEST(EncodedCommand, OpusSurroundKeepsEveryChannelInItsPlace)
{
    ASSERT_EQ(MissingTools({"sox", "ffmpeg"}), "");
    TempDir dir;
    // Only the centre (third) and the back left (fifth) sound.
    Shell("sox -n -r 48000 -b 16 -c 6 " + Q(dir / "image.wav") +
          " synth 2 sine 0 sine 0 sine 440 sine 0 sine 660 sine 0 vol 0.5");
    std::ofstream(dir / "album.cue") << "FILE \"image.wav\" WAVE\n  TRACK 01 AUDIO\n    TITLE \"Only\"\n"
                                        "    INDEX 01 00:00:00\n";
    Result r = Convert("--opus --yes -o " + Q(dir / "out") + " " + Q(dir / "album.cue"));
    ASSERT_EQ(r.status, 0) << r.output;
    std::string stats =
        Shell("ffmpeg -nostats -i " + Q(dir / "out" / "Only.opus") + " -af astats=measure_overall=none -f null - 2>&1")
            .output;
    std::vector<double> rms;
    std::smatch match;
    std::regex level(R"(RMS level dB: (-?[0-9.]+|-inf))");
    for (auto it = std::sregex_iterator(stats.begin(), stats.end(), level); it != std::sregex_iterator(); ++it)
        rms.push_back((*it)[1] == "-inf" ? -200.0 : std::stod((*it)[1]));
    ASSERT_EQ(rms.size(), 6u) << stats;
    for (int c = 0; c < 6; ++c) {
        if (c == 2 || c == 4)
            EXPECT_GT(rms[c], -15.0) << "channel " << c + 1;
        else
            EXPECT_LT(rms[c], -50.0) << "channel " << c + 1;
    }
}

TEST(EncodedCommand, FlacAndOpusCarryTheAlbumsTagsAsVorbisComments)
{
    ASSERT_EQ(MissingTools({"ffprobe"}), "");
    TempDir dir;
    std::map<std::string, std::string> expected{
        {"TITLE", "Slow Tide"}, {"ARTIST", "The Kolvex Synths"}, {"ALBUM", "Demo Album"},
        {"album_artist", "The Kolvex Synths"}, {"track", "2"}, {"TRACKTOTAL", "3"}, {"DATE", "2026"}, {"GENRE", "Ambient"},
        {"COMMENT", "Made with sox for the Kolvex demo"}};
    for (const char* format : {"flac", "opus"}) {
        SCOPED_TRACE(format);
        Result r = Convert(std::string("--") + format + " --yes -o " + Q(dir.path()) + " " + Q(Demo("demo.cue")));
        ASSERT_EQ(r.status, 0) << r.output;
        auto tags = StreamTags(dir / (std::string("Slow Tide.") + format));
        tags.erase("encoder");  // libopusenc names itself
        EXPECT_EQ(tags, expected);
    }
    Result bare = Convert("--flac --no-tags --yes -o " + Q(dir / "bare") + " " + Q(Demo("demo.cue")));
    ASSERT_EQ(bare.status, 0) << bare.output;
    EXPECT_TRUE(StreamTags(dir / "bare" / "Slow Tide.flac").empty());
}

TEST(EncodedCommand, AFullDiskLeavesNoFileAndSaysWhy)
{
    ASSERT_EQ(MissingTools({"flac", "opusinfo"}), "");
    for (const char* format : {"flac", "opus"}) {
        for (const char* at : {"1", "5", "40"}) {
            SCOPED_TRACE(std::string(format) + " failing from write " + at);
            TempDir dir;
            Result r = Shell(std::string("KOLVEX_WRITE_FAULT=") + at + ":ENOSPC $K --" + format + " -j 1 --yes -o " +
                             Q(dir.path()) + " " + Q(Demo("demo.cue")));
            EXPECT_EQ(r.status, 1) << r.output;
            EXPECT_TRUE(Has(r, "no space left on device")) << r.output;
            // Only the tracks finished before the disk filled up stay, whole.
            for (const std::string& name : FileNames(dir.path())) {
                EXPECT_TRUE(Has(r, "OK       ") && Has(r, "/" + name + "\n")) << name << "\n" << r.output;
                EXPECT_EQ(Shell(std::string(format == std::string("flac") ? "flac -t -s " : "opusinfo -q ") +
                                Q(dir / name)).status, 0) << name;
            }
        }
    }
}

TEST(EncodedCommand, OptionsOutOfRangeAreBadUsage)
{
    for (const char* options : {"--flac --flac-level 9", "--opus --opus-bitrate 2", "--opus --resample", "--flac --wav",
                                "--opus --mp3"}) {
        SCOPED_TRACE(options);
        EXPECT_EQ(Convert(std::string(options) + " --list " + Q(Demo("demo.cue"))).status, 2);
    }
}
