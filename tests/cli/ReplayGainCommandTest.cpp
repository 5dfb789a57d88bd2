// ReplayGain from the command line: track and album gains and peaks that
// agree with ffmpeg's EBU R128 meter, in the form each format takes, and
// an album with a failed track left without an album gain.
#include "tests/cli/CommandRun.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <regex>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

struct Measured {
    double loudness = NAN;  // LUFS
    double peakDb = NAN;    // dBFS
};

// ffmpeg's integrated loudness and sample peak of `inputs` played one
// after the other.
Measured Ffmpeg(const std::vector<fs::path>& inputs)
{
    std::string command = "ffmpeg -nostats -hide_banner";
    std::string streams;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        command += " -i " + Q(inputs[i]);
        streams += "[" + std::to_string(i) + ":a]";
    }
    command += " -filter_complex '" + streams + "concat=n=" + std::to_string(inputs.size()) +
               ":v=0:a=1,ebur128=peak=sample[out]' -map '[out]' -f null - 2>&1";
    std::string text = Shell(command).output;
    // The summary is the last of what the filter prints.
    auto last = [&text](const char* pattern) {
        double value = NAN;
        std::regex re(pattern);
        for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
            value = std::stod((*it)[1]);
        return value;
    };
    return Measured{last(R"(I:\s+(-?[0-9.]+) LUFS\s+Threshold)"), last(R"(Peak:\s+(-?[0-9.]+) dBFS)")};
}

std::map<std::string, std::string> Tags(const fs::path& file)
{
    auto out = RunCapture("ffprobe -v error -show_entries stream_tags:format_tags -of default=nw=1 " + Q(file));
    std::map<std::string, std::string> tags;
    std::istringstream lines(std::string(out.begin(), out.end()));
    for (std::string line; std::getline(lines, line);)
        if (auto equals = line.find('='); line.starts_with("TAG:") && equals != std::string::npos)
            tags[line.substr(4, equals - 4)] = line.substr(equals + 1);
    return tags;
}

double Db(const std::string& text) { return std::stod(text); }  // "+1.97 dB"
double PeakDb(const std::string& text) { return 20 * std::log10(std::stod(text)); }

const char* const kTracks[] = {"Morning Steps", "Slow Tide", "Evening Bells"};

fs::path Track(const fs::path& dir, const char* name, const char* extension)
{
    return dir / (std::string(name) + "." + extension);
}

}  // namespace

TEST(ReplayGainCommand, TrackAndAlbumGainsAgreeWithFfmpegsMeter)
{
    ASSERT_EQ(MissingTools({"ffmpeg", "ffprobe", "opusinfo"}), "");
    TempDir dir;
    for (const char* format : {"flac", "mp3", "opus"}) {
        Result r = Convert(std::string("--") + format + " --replaygain album --yes -o " + Q(dir / format) + " " +
                           Q(Demo("demo.cue")));
        ASSERT_EQ(r.status, 0) << r.output;
        EXPECT_FALSE(Has(r, "warning")) << r.output;
    }
    std::vector<fs::path> album;
    for (const char* name : kTracks)
        album.push_back(Track(dir / "flac", name, "flac"));
    Measured whole = Ffmpeg(album);
    ASSERT_FALSE(std::isnan(whole.loudness));

    for (const char* name : kTracks) {
        SCOPED_TRACE(name);
        Measured track = Ffmpeg({Track(dir / "flac", name, "flac")});
        auto flac = Tags(Track(dir / "flac", name, "flac"));
        EXPECT_NEAR(Db(flac["REPLAYGAIN_TRACK_GAIN"]), -18 - track.loudness, 0.1);
        EXPECT_NEAR(PeakDb(flac["REPLAYGAIN_TRACK_PEAK"]), track.peakDb, 0.1);
        EXPECT_NEAR(Db(flac["REPLAYGAIN_ALBUM_GAIN"]), -18 - whole.loudness, 0.1);
        EXPECT_NEAR(PeakDb(flac["REPLAYGAIN_ALBUM_PEAK"]), whole.peakDb, 0.1);

        // The MP3 files were measured on the same PCM, before encoding.
        auto mp3 = Tags(Track(dir / "mp3", name, "mp3"));
        for (const char* field : {"REPLAYGAIN_TRACK_GAIN", "REPLAYGAIN_TRACK_PEAK", "REPLAYGAIN_ALBUM_GAIN",
                                  "REPLAYGAIN_ALBUM_PEAK"})
            EXPECT_EQ(mp3[field], flac[field]) << field;

        auto opus = Tags(Track(dir / "opus", name, "opus"));
        EXPECT_NEAR(std::stoi(opus["R128_TRACK_GAIN"]) / 256.0, -23 - track.loudness, 0.1);
        EXPECT_NEAR(std::stoi(opus["R128_ALBUM_GAIN"]) / 256.0, -23 - whole.loudness, 0.1);
        EXPECT_EQ(opus.count("REPLAYGAIN_TRACK_GAIN"), 0u);
        // The header's output gain stays 0: players apply the tags.
        std::string header = Shell("opusinfo " + Q(Track(dir / "opus", name, "opus"))).output;
        EXPECT_TRUE(Has(Result{0, header}, "Playback gain: 0 dB")) << header;
    }

    Result trackOnly = Convert("--flac --replaygain track --yes -o " + Q(dir / "track") + " " + Q(Demo("demo.cue")));
    ASSERT_EQ(trackOnly.status, 0) << trackOnly.output;
    auto tags = Tags(dir / "track" / "Slow Tide.flac");
    EXPECT_EQ(tags.count("REPLAYGAIN_TRACK_GAIN"), 1u);
    EXPECT_EQ(tags.count("REPLAYGAIN_ALBUM_GAIN"), 0u);
}

TEST(ReplayGainCommand, AnAlbumWithAFailedTrackKeepsItsFilesAndSaysWhy)
{
    ASSERT_EQ(MissingTools({"ffprobe"}), "");
    TempDir dir;
    fs::copy_file(Demo("demo.ape"), dir / "demo.ape");
    // The third track starts after the image ends.
    std::ofstream(dir / "album.cue") << "TITLE \"Short\"\nFILE \"demo.ape\" WAVE\n"
                                        "  TRACK 01 AUDIO\n    TITLE \"One\"\n    INDEX 01 00:00:00\n"
                                        "  TRACK 02 AUDIO\n    TITLE \"Two\"\n    INDEX 01 00:10:00\n"
                                        "  TRACK 03 AUDIO\n    TITLE \"Three\"\n    INDEX 01 09:00:00\n";
    Result r = Convert("--flac --replaygain album -j 1 --yes -o " + Q(dir / "out") + " " + Q(dir / "album.cue"));
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_TRUE(Has(r, "FAILED   Three")) << r.output;
    EXPECT_TRUE(Has(r, "the album gain was not written: another track of the album failed")) << r.output;
    for (const char* name : {"One", "Two"}) {
        auto tags = Tags(dir / "out" / (std::string(name) + ".flac"));
        EXPECT_EQ(tags.count("REPLAYGAIN_TRACK_GAIN"), 1u) << name;
        EXPECT_EQ(tags.count("REPLAYGAIN_ALBUM_GAIN"), 0u) << name;
    }
    EXPECT_EQ(FileNames(dir / "out"), (std::vector<std::string>{"One.flac", "Two.flac"}));
}

// Each channel of a surround file counts as ffmpeg's meter counts it: the
// LFE not at all, side and back channels more than the front ones.
TEST(ReplayGainCommand, SurroundChannelsAreWeighedAsFfmpegWeighsThem)
{
    ASSERT_EQ(MissingTools({"ffmpeg", "ffprobe", "sox"}), "");
    TempDir dir;
    ASSERT_EQ(Shell("sox -n -r 48000 -b 16 -c 1 " + Q(dir / "noise.wav") + " synth 4 pinknoise gain -20").status, 0);
    const struct {
        int channels;
        int loud;  // the one channel that is not silent
    } cases[] = {{3, 2}, {4, 2}, {6, 3}, {6, 4}, {7, 4}, {7, 6}, {8, 5}, {8, 7}};
    for (const auto& c : cases) {
        const std::string name = std::to_string(c.channels) + "-" + std::to_string(c.loud);
        SCOPED_TRACE(name);
        std::string mix = "sox -M";
        for (int channel = 0; channel < c.channels; ++channel)
            mix += std::string(" -v ") + (channel == c.loud ? "1 " : "0 ") + Q(dir / "noise.wav");
        ASSERT_EQ(Shell(mix + " " + Q(dir / (name + ".flac"))).status, 0);
        Result r = Convert("--flac --replaygain track --yes -o " + Q(dir / "out") + " " + Q(dir / (name + ".flac")));
        ASSERT_EQ(r.status, 0) << r.output;
        Measured measured = Ffmpeg({dir / (name + ".flac")});
        auto tags = Tags(dir / "out" / (name + ".flac"));
        EXPECT_NEAR(Db(tags["REPLAYGAIN_TRACK_GAIN"]), -18 - measured.loudness, 0.1);
    }
}
