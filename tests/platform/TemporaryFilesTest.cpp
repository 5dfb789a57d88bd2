// Temporary output files: short names whatever the final name, cleared
// after a killed process, removable from a signal handler.
#include "platform/core/FileNameFit.h"
#include "platform/core/OutputFile.h"
#include "platform/core/Strings.h"
#include "platform/core/TemporaryFiles.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Temporaries(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& name : FileNames(dir))
        if (name.starts_with(".kolvex-"))
            names.push_back(name);
    return names;
}

void Touch(const fs::path& path) { std::ofstream(path) << "x"; }

void UnlinkOnSignal(int) { win::UnlinkLiveTemporaries(); }

}  // namespace

TEST(TemporaryFiles, AFinalNameOfFullLengthStillGetsATemporaryFile)
{
    TempDir dir;
    const std::string name(251, 'a');
    win::OutputFile output;
    ASSERT_TRUE(output.Create((dir / (name + ".mp3")).wstring())) << output.ErrorText();
    auto temporaries = Temporaries(dir.path());
    ASSERT_EQ(temporaries.size(), 1u);
    EXPECT_LT(temporaries[0].size(), 120u);
    EXPECT_TRUE(temporaries[0].starts_with(".kolvex-")) << temporaries[0];
    EXPECT_NE(temporaries[0].find("-" + std::to_string(getpid()) + "-"), std::string::npos) << temporaries[0];
    EXPECT_TRUE(temporaries[0].ends_with(".tmp"));
    std::fputs("whole", output.Stream());
    ASSERT_TRUE(output.Commit());
    EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{name + ".mp3"});
}

TEST(TemporaryFiles, AKilledProcessesFileIsRemovedByALaterCall)
{
    TempDir dir;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        win::OutputFile output;
        bool made = output.Create((dir / "song.mp3").wstring());
        if (made)
            std::fputs("half a song", output.Stream());
        made = made && std::fflush(output.Stream()) == 0;
        (void)!write(ready[1], made ? "1" : "0", 1);
        for (;;)
            pause();
    }
    close(ready[1]);
    char made = 0;
    ASSERT_EQ(read(ready[0], &made, 1), 1);
    close(ready[0]);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_EQ(made, '1');
    ASSERT_EQ(Temporaries(dir.path()).size(), 1u);

    // Beside it: a live one of this process, one of another host with the
    // same process id, and files of the user's that only look alike.
    win::OutputFile mine;
    ASSERT_TRUE(mine.Create((dir / "mine.mp3").wstring()));
    const std::string other = ".kolvex-another-host.invalid-" + std::to_string(child) + "-0123456789abcdef.tmp";
    for (const std::string& name : {other, std::string("song.mp3.tmp"), std::string(".kolvex-notes.tmp")})
        Touch(dir / name);
    const auto before = FileNames(dir.path());

    EXPECT_EQ(win::RemoveStaleTemporaries(dir.path().wstring()), 1);
    auto after = FileNames(dir.path());
    EXPECT_EQ(after.size(), before.size() - 1);
    for (const auto& name : after)
        EXPECT_EQ(name.find("-" + std::to_string(child) + "-") != std::string::npos, name == other) << name;
    EXPECT_EQ(win::RemoveStaleTemporaries(dir.path().wstring()), 0);
    EXPECT_EQ(win::RemoveStaleTemporaries((dir / "missing").wstring()), 0);
}

TEST(TemporaryFiles, ASignalHandlerRemovesEveryLiveOne)
{
    TempDir dir;
    win::OutputFile first, second;
    ASSERT_TRUE(first.Create((dir / "a.wav").wstring()));
    ASSERT_TRUE(second.Create((dir / "b.wav").wstring()));
    std::fputs("data", first.Stream());
    ASSERT_EQ(Temporaries(dir.path()).size(), 2u);

    struct sigaction action {}, previous{};
    action.sa_handler = UnlinkOnSignal;
    sigemptyset(&action.sa_mask);
    ASSERT_EQ(sigaction(SIGUSR1, &action, &previous), 0);
    raise(SIGUSR1);
    sigaction(SIGUSR1, &previous, nullptr);

    EXPECT_TRUE(Temporaries(dir.path()).empty());
    // Nothing is left to give a name to.
    EXPECT_FALSE(first.Commit());
    EXPECT_TRUE(FileNames(dir.path()).empty());

    // Committed and abandoned files leave the table: a later call has
    // nothing of theirs to remove, and new files are registered again.
    win::OutputFile third;
    ASSERT_TRUE(third.Create((dir / "c.wav").wstring()));
    ASSERT_TRUE(third.Commit());
    Touch(dir / "d.wav");
    win::UnlinkLiveTemporaries();
    EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"c.wav", "d.wav"}));
}

TEST(FileNameFit, ShortensTheStemAtACharacterKeepingTheExtension)
{
    EXPECT_EQ(win::FitFileName(L"Track.mp3"), L"Track.mp3");
    std::wstring ascii(300, L'a');
    EXPECT_EQ(win::FitFileName(ascii + L".mp3"), std::wstring(251, L'a') + L".mp3");
    // "é" is two bytes: an odd budget cannot take half of one.
    std::wstring accents(200, L'\u00E9');
    std::wstring fitted = win::FitFileName(accents + L".flac");
    EXPECT_EQ(fitted, std::wstring(125, L'\u00E9') + L".flac");
    EXPECT_LE(win::ToUtf8(fitted).size(), 255u);
    // Four-byte characters, and a budget that is not the default.
    std::wstring music(100, L'\U0001D11E');
    EXPECT_EQ(win::FitFileName(music + L".wav", 30), std::wstring(6, L'\U0001D11E') + L".wav");
    // A "dot" far from the end is part of the title, not an extension.
    std::wstring title = L"Vol. " + std::wstring(300, L'b');
    EXPECT_EQ(win::ToUtf8(win::FitFileName(title)).size(), 255u);
    EXPECT_EQ(win::FitPathFileName(L"/music/" + ascii + L".mp3"), L"/music/" + std::wstring(251, L'a') + L".mp3");

    // The fitted name can be created.
    TempDir dir;
    win::OutputFile output;
    ASSERT_TRUE(output.Create(win::FitPathFileName((dir / "").wstring() + accents + L".flac")));
    EXPECT_TRUE(output.Commit());
}
