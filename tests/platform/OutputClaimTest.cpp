// An output whose name was free when it started takes the name only while it
// is still free: a file someone put there meanwhile is never replaced.
#include "platform/core/OutputFile.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

const std::vector<unsigned char> kTheirs = {'t', 'h', 'e', 'i', 'r', 's'};

// Writes "ours" to `path`; `appear` runs between the writing and the commit.
bool WriteAndCommit(win::OutputFile& output, const fs::path& path, bool replace,
                    const std::function<void()>& appear = {})
{
    output.SetReplaceExisting(replace);
    if (!output.Create(path.wstring()))
        return false;
    std::fputs("ours", output.Stream());
    if (appear)
        appear();
    return output.Commit();
}

}  // namespace

TEST(OutputClaim, AFileThatAppearedIsKeptAndOursDropped)
{
    TempDir dir;
    win::OutputFile output;
    EXPECT_FALSE(WriteAndCommit(output, dir / "a.mp3", false, [&] { WriteBytes(dir / "a.mp3", kTheirs); }));
    EXPECT_TRUE(output.Appeared());
    EXPECT_EQ(output.Error(), EEXIST);
    EXPECT_EQ(ReadBytes(dir / "a.mp3"), kTheirs);
    EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"a.mp3"}) << "our temporary file is gone too";

    // A link that appeared is a name taken, even when it leads nowhere.
    win::OutputFile dangling;
    EXPECT_FALSE(WriteAndCommit(dangling, dir / "b.mp3", false, [&] { fs::create_symlink("nowhere", dir / "b.mp3"); }));
    EXPECT_TRUE(dangling.Appeared());
    EXPECT_TRUE(fs::is_symlink(dir / "b.mp3"));
}

TEST(OutputClaim, AFreeNameIsTakenAndAnAgreedReplacementReplaces)
{
    TempDir dir;
    win::OutputFile fresh;
    EXPECT_TRUE(WriteAndCommit(fresh, dir / "a.mp3", false));
    EXPECT_FALSE(fresh.Appeared());
    EXPECT_EQ(ReadBytes(dir / "a.mp3").size(), 4u);

    win::OutputFile agreed;
    EXPECT_TRUE(WriteAndCommit(agreed, dir / "b.mp3", true, [&] { WriteBytes(dir / "b.mp3", kTheirs); }));
    EXPECT_FALSE(agreed.Appeared());
    EXPECT_EQ(ReadBytes(dir / "b.mp3").size(), 4u);
    EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"a.mp3", "b.mp3"}));

    // The next Create starts afresh: nothing appeared for it.
    EXPECT_TRUE(WriteAndCommit(agreed, dir / "c.mp3", false));
    EXPECT_FALSE(agreed.Appeared());
}
