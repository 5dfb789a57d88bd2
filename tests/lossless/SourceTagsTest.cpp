// The tags of every source kind come through one reader, chosen by the
// file's content; an embedded sheet is not passed on as a tag.
#include "tests/lossless/LosslessFixture.h"

#include "platform/core/Strings.h"
#include "tags/SourceTags.h"

#include <gtest/gtest.h>

namespace {

using namespace lossless_test;

TagRecord TagsOf(const fs::path& path) { return ReadSourceTags(win::FromUtf8(path.string())); }

TEST(SourceTags, EveryKindGivesItsTitleAndArtist)
{
    ASSERT_EQ(MissingTools(), "");
    testing_support::TempDir dir;
    fs::path wav = MakeWav(dir.path(), "source.wav", {44100, 16, 2}, 1);
    std::string in = "ffmpeg -nostdin -v error -y -i " + Quote(wav) +
                     " -metadata 'title=Été – Song' -metadata artist=Band ";
    struct Made {
        fs::path file;
        std::string command;
    };
    std::vector<Made> made = {
        {dir / "a.flac", "flac -s -f -T 'TITLE=Été – Song' -T ARTIST=Band -T CUESHEET=x -o " + Quote(dir / "a.flac") +
                             " " + Quote(wav)},
        {dir / "a.wv", "wavpack -q -y -w 'Title=Été – Song' -w Artist=Band -w Cuesheet=x " + Quote(wav) + " -o " +
                           Quote(dir / "a.wv")},
        {dir / "a.tta", in + "-c:a tta " + Quote(dir / "a.tta")},
        {dir / "a.m4a", in + "-c:a alac " + Quote(dir / "a.m4a")},
        {dir / "tagged.wav", in + "-c:a copy " + Quote(dir / "tagged.wav")},
        {dir / "a.aiff", in + "-write_id3v2 1 " + Quote(dir / "a.aiff")},
    };
    for (const Made& m : made) {
        ASSERT_TRUE(RunTool(m.command)) << m.file;
        fs::path renamed = m.file;
        renamed += ".bin";  // the name says nothing
        fs::rename(m.file, renamed);
        TagRecord tags = TagsOf(renamed);
        EXPECT_EQ(tags.Get("TITLE"), L"Été – Song") << m.file;
        EXPECT_EQ(tags.Get("ARTIST"), L"Band") << m.file;
        EXPECT_EQ(tags.fields.count("CUESHEET"), 0u) << m.file;
    }
    EXPECT_TRUE(TagsOf(wav).Empty());
    EXPECT_TRUE(TagsOf(dir / "missing.flac").Empty());
}

}  // namespace
