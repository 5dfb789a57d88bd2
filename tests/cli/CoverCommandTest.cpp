// Cover pictures from the command line: the source's own front picture or
// the image beside it goes into MP3, FLAC and Opus files byte for byte, as
// ffprobe and ffmpeg find it; pictures that are no good are skipped with a
// warning, and --no-art leaves the cover out.
#include "tests/cli/CommandRun.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

void MakeImage(const fs::path& path, const std::string& colour)
{
    Shell("ffmpeg -v error -y -f lavfi -i color=" + colour + ":s=64x48 -frames:v 1 " + Q(path));
    ASSERT_TRUE(fs::exists(path)) << path;
}

// The demo album in a folder of its own.
void CopyDemo(const fs::path& dir)
{
    fs::copy_file(Demo("demo.ape"), dir / "demo.ape");
    fs::copy_file(Demo("demo.cue"), dir / "demo.cue");
}

std::vector<unsigned char> ToBytes(const std::string& text) { return {text.begin(), text.end()}; }

// The attached picture's bytes as ffmpeg copies them out; empty when the
// file has none.
std::vector<unsigned char> AttachedPicture(const fs::path& file, const std::string& extension)
{
    std::string disposition =
        Shell("ffprobe -v error -select_streams v -show_entries stream_disposition=attached_pic -of csv=p=0 " + Q(file))
            .output;
    if (disposition.find('1') == std::string::npos)
        return {};
    fs::path out = file.parent_path() / ("picture." + extension);
    Shell("ffmpeg -v error -y -i " + Q(file) + " -map 0:v -c copy -frames:v 1 -f image2 " + Q(out));
    auto bytes = ReadBytes(out);
    fs::remove(out);
    return bytes;
}

}  // namespace

TEST(CoverCommand, TheImageBesideTheSourceIsEmbeddedInEveryFormatThatHoldsOne)
{
    ASSERT_EQ(MissingTools({"ffmpeg", "ffprobe"}), "");
    TempDir dir;
    CopyDemo(dir.path());
    MakeImage(dir / "Cover.JPG", "red");
    auto cover = ReadBytes(dir / "Cover.JPG");
    for (const char* format : {"mp3", "flac", "opus"}) {
        SCOPED_TRACE(format);
        // The album's gain rewrites the tags once more: still one picture.
        Result r = Convert(std::string("--") + format + " --replaygain album --yes -o " + Q(dir / "out") + " " +
                           Q(dir / "demo.cue"));
        ASSERT_EQ(r.status, 0) << r.output;
        EXPECT_FALSE(Has(r, "warning")) << r.output;
        const fs::path made = dir / "out" / (std::string("Slow Tide.") + format);
        EXPECT_TRUE(AttachedPicture(made, "jpg") == cover);
        EXPECT_EQ(Shell("ffprobe -v error -select_streams v -show_entries stream=index -of csv=p=0 " + Q(made)).output,
                  "1\n");  // one picture stream, after the audio

        Result bare = Convert(std::string("--") + format + " --no-art --yes -o " + Q(dir / "bare") + " " +
                              Q(dir / "demo.cue"));
        ASSERT_EQ(bare.status, 0) << bare.output;
        EXPECT_TRUE(AttachedPicture(dir / "bare" / (std::string("Slow Tide.") + format), "jpg").empty());
    }
}

TEST(CoverCommand, TheSourcesOwnFrontPictureComesBeforeTheFolders)
{
    ASSERT_EQ(MissingTools({"ffmpeg", "ffprobe", "sox", "flac"}), "");
    TempDir dir;
    MakeImage(dir / "inside.png", "blue");
    MakeImage(dir / "cover.jpg", "red");
    Shell("sox -n -r 44100 -b 16 -c 2 " + Q(dir / "image.wav") + " synth 2 sine 440 && flac -s --picture='3|image/png|||" +
          (dir / "inside.png").string() + "' -o " + Q(dir / "album.flac") + " " + Q(dir / "image.wav"));
    ASSERT_TRUE(fs::exists(dir / "album.flac"));
    WriteBytes(dir / "album.cue", ToBytes("FILE \"album.flac\" WAVE\n  TRACK 01 AUDIO\n    TITLE \"Only\"\n"
                                          "    INDEX 01 00:00:00\n"));
    Result r = Convert("--opus --yes -o " + Q(dir / "out") + " " + Q(dir / "album.cue"));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(AttachedPicture(dir / "out" / "Only.opus", "png") == ReadBytes(dir / "inside.png"));
}

TEST(CoverCommand, BrokenAndOversizedPicturesAreSkippedWithAWarning)
{
    ASSERT_EQ(MissingTools({"ffmpeg", "ffprobe"}), "");
    TempDir dir;
    CopyDemo(dir.path());
    // Named first but no image; a real PNG header on 17 MB; then the good
    // one, named after the album.
    WriteBytes(dir / "cover.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F'});
    MakeImage(dir / "folder.png", "green");
    auto big = ReadBytes(dir / "folder.png");
    big.resize(17u << 20, 0);
    WriteBytes(dir / "folder.png", big);
    MakeImage(dir / "Demo Album.png", "yellow");

    Result r = Convert("--flac --yes -o " + Q(dir / "out") + " " + Q(dir / "demo.cue"));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(Has(r, "warning: cover cover.jpg skipped: not a readable JPEG or PNG image; "
                       "cover folder.png skipped: larger than 16 MB"))
        << r.output;
    EXPECT_TRUE(AttachedPicture(dir / "out" / "Slow Tide.flac", "png") == ReadBytes(dir / "Demo Album.png"));

    // With nothing good left, the files are made without a cover.
    fs::remove(dir / "Demo Album.png");
    Result none = Convert("--mp3 --yes -o " + Q(dir / "none") + " " + Q(dir / "demo.cue"));
    ASSERT_EQ(none.status, 0) << none.output;
    EXPECT_TRUE(Has(none, "skipped: larger than 16 MB")) << none.output;
    EXPECT_TRUE(AttachedPicture(dir / "none" / "Slow Tide.mp3", "png").empty());
}
