// Tags written while a file is made go through the file's own writer, so a
// failing disk fails them; values are never split or silently dropped.
#include "platform/core/OutputFile.h"
#include "platform/core/Strings.h"
#include "tags/TagFiles.h"
#include "tests/resample/TestWav.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

std::wstring Wide(const fs::path& path) { return win::FromUtf8(path.string()); }

TagRecord LongTags(std::size_t length)
{
    TagRecord tags;
    tags.Set("TITLE", L"Slow Tide " + std::wstring(length, L'x'));
    tags.Set("ARTIST", L"Bj\u00f6rk");
    tags.Set("COMMENT", std::wstring(length, L'c'));
    return tags;
}

std::vector<unsigned char> Wav()
{
    test::WavLayout layout;
    layout.channels = 2;
    layout.width = 2;
    layout.formatLength = 18;
    for (int i = 0; i < 2 * 4000; ++i)
        layout.samples.push_back(i % 101 - 50);
    return test::BuildWav(layout);
}

using Writer = std::wstring (*)(win::OutputFile&, const TagRecord&);

// Makes `path` from `audio` and tags it, as a row does; true when it was
// committed.
std::pair<bool, std::wstring> MakeTagged(const fs::path& path, const std::vector<unsigned char>& audio,
                                         Writer write, const TagRecord& tags)
{
    win::OutputFile output;
    if (!output.Create(path.wstring()))
        return {false, L"create"};
    std::fwrite(audio.data(), 1, audio.size(), output.Stream());
    std::wstring why = std::fflush(output.Stream()) == 0 ? write(output, tags) : L"audio";
    if (!why.empty()) {
        output.Abandon();
        return {false, why};
    }
    return {output.Commit(), why};
}

struct Kind {
    const char* name;
    std::vector<unsigned char> audio;
    Writer write;
    std::string raw;
};

}  // namespace

TEST(TagSafety, EveryTagWriteOfAnOutputFilePassesTheFaultPoint)
{
    const std::vector<Kind> kinds = {
        {"t.mp3", ReadBytes(FixturePath("mono8_8k.mp3")), &WriteMp3Tags, "s16le"},
        {"t.wav", Wav(), &WriteWavTags, "s16le"},
    };
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        TempDir dir;
        const fs::path path = dir / kind.name;
        WriteBytes(dir / "plain", kind.audio);
        const auto pcm = FfmpegDecode(dir / "plain", kind.raw);
        ASSERT_FALSE(pcm.empty());
        fs::remove(dir / "plain");

        // The audio's writes, and the sync of the commit at the end.
        win::ResetWriteSteps();
        ASSERT_TRUE(MakeTagged(path, kind.audio, kind.write, TagRecord()).first);
        const std::uint64_t untagged = win::WriteSteps();
        win::ResetWriteSteps();
        ASSERT_EQ(MakeTagged(path, kind.audio, kind.write, LongTags(4000)), std::make_pair(true, std::wstring()));
        const std::uint64_t steps = win::WriteSteps();
        ASSERT_GT(steps, untagged + 1);
        EXPECT_EQ(ReadTags(Wide(path)).Get("ARTIST"), L"Bj\u00f6rk");
        EXPECT_EQ(FfmpegDecode(path, kind.raw), pcm) << "the audio is the same";
        const auto good = ReadBytes(path);

        for (int error : {ENOSPC, EIO}) {
            std::wstring text = win::FromUtf8(std::strerror(error));
            text[0] = static_cast<wchar_t>(std::towlower(text[0]));
            // The tags' writes; the last step is the commit's sync.
            for (std::uint64_t n = untagged; n <= steps; ++n) {
                SCOPED_TRACE(std::to_string(n) + " of " + std::to_string(steps));
                win::ResetWriteSteps();
                win::SetWriteFault(n, error);
                auto [made, why] = MakeTagged(path, kind.audio, kind.write, LongTags(4000));
                win::SetWriteFault(0, 0);
                EXPECT_FALSE(made);
                EXPECT_EQ(why, n < steps ? L"could not be written: " + text : L"");
                EXPECT_EQ(ReadBytes(path), good);
                EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{kind.name});
            }
        }
    }
}

// A tag shorter than the one it replaces moves the audio back; a longer
// one moves it on: the sound stays the same either way.
TEST(TagSafety, RewritingInPlaceMovesTheAudioIntact)
{
    TempDir dir;
    const fs::path mp3 = dir / "t.mp3";
    WriteBytes(mp3, ReadBytes(FixturePath("mono8_8k.mp3")));
    const auto pcm = FfmpegDecode(mp3, "s16le");
    ASSERT_FALSE(pcm.empty());
    for (std::size_t length : {20000u, 10u, 3000000u, 0u}) {
        SCOPED_TRACE(length);
        ASSERT_EQ(WriteMp3Tags(Wide(mp3), LongTags(length)), L"");
        EXPECT_EQ(ReadTags(Wide(mp3)).Get("TITLE"), LongTags(length).Get("TITLE"));
        EXPECT_EQ(FfmpegDecode(mp3, "s16le"), pcm);
    }
}

// A NUL in a value is where ID3v2.4 separates values; a title with one
// from a damaged sheet stays one title, all its text kept.
TEST(TagSafety, ANulInATitleDoesNotMakeTwoValues)
{
    TempDir dir;
    TagRecord tags;
    tags.Set("TITLE", std::wstring(L"Side A\0Side B", 13));
    WriteBytes(dir / "t.mp3", ReadBytes(FixturePath("mono8_8k.mp3")));
    WriteBytes(dir / "t.wav", Wav());
    ASSERT_EQ(WriteMp3Tags(Wide(dir / "t.mp3"), tags), L"");
    ASSERT_EQ(WriteWavTags(Wide(dir / "t.wav"), tags), L"");
    for (const char* name : {"t.mp3", "t.wav"}) {
        auto read = ReadTags(Wide(dir / name));
        ASSERT_EQ(read.fields["TITLE"].size(), 1u) << name;
        EXPECT_EQ(read.Get("TITLE"), L"Side A\uFFFDSide B") << name;
    }
    EXPECT_EQ(FfprobeTags(dir / "t.wav")["title"], "Side A\xEF\xBF\xBDSide B");
}

namespace {

void Put32(std::vector<unsigned char>& bytes, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// An APEv2 tag (footer only, as Monkey's Audio writes it) of text items.
std::vector<unsigned char> ApeTag(const std::vector<std::pair<std::string, std::string>>& items)
{
    std::vector<unsigned char> body;
    for (const auto& [key, value] : items) {
        Put32(body, static_cast<std::uint32_t>(value.size()));
        Put32(body, 0);
        body.insert(body.end(), key.begin(), key.end());
        body.push_back(0);
        body.insert(body.end(), value.begin(), value.end());
    }
    std::vector<unsigned char> tag = body;
    const std::string magic = "APETAGEX";
    tag.insert(tag.end(), magic.begin(), magic.end());
    Put32(tag, 2000);
    Put32(tag, static_cast<std::uint32_t>(body.size() + 32));
    Put32(tag, static_cast<std::uint32_t>(items.size()));
    Put32(tag, 0);
    tag.insert(tag.end(), 8, 0);
    return tag;
}

}  // namespace

// Old Windows taggers stored their code page where APEv2 says UTF-8.
TEST(TagSafety, AnApeValueThatIsNotUtf8IsReadAsWindows1252)
{
    TempDir dir;
    auto bytes = ReadBytes(FixturePath("mono8_8k.ape"));
    auto tag = ApeTag({{"Title", "Caf\xE9 \x93Noir\x94"},
                       {"Artist", "Bj\xC3\xB6rk"},
                       {"Year", "1999"},
                       {"Album", std::string("One\0Two", 7)}});
    bytes.insert(bytes.end(), tag.begin(), tag.end());
    WriteBytes(dir / "t.ape", bytes);

    TagRecord tags = ReadApeTags(Wide(dir / "t.ape"));
    EXPECT_EQ(tags.Get("TITLE"), L"Caf\u00e9 \u201cNoir\u201d");
    EXPECT_EQ(tags.Get("ARTIST"), L"Bj\u00f6rk");
    EXPECT_EQ(tags.Get("DATE"), L"1999");
    EXPECT_EQ(tags.fields["ALBUM"], (std::vector<std::wstring>{L"One", L"Two"}));

    // A damaged item length ends the reading there, never past the tag.
    auto damaged = bytes;
    damaged[damaged.size() - tag.size()] = 0xFF;
    damaged[damaged.size() - tag.size() + 3] = 0x7F;
    WriteBytes(dir / "d.ape", damaged);
    EXPECT_EQ(ReadApeTags(Wide(dir / "d.ape")).Get("TITLE"), L"");
}
