// Sources of every decoded format in the desktop program: the file dialog's
// entries, drops of files and folders, and their rows' lengths.
#include "tests/app/MainWindowFixture.h"

#include "app/MainWindowTemplate.h"
#include "app/SourceFormats.h"
#include "cue/AudioExtensions.h"

#include "platform/backend/HeadlessBackend.h"
#include "platform/dialogs/CommonDialogs.h"
#include "platform/window/DropFiles.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

using namespace win;
using namespace testing_app;
using namespace testing_support;
using namespace main_window;
namespace fs = std::filesystem;

namespace {

std::vector<std::wstring> Names(const std::vector<FileFilter>& filters)
{
    std::vector<std::wstring> names;
    for (const auto& f : filters)
        names.push_back(f.name);
    return names;
}

// Two seconds of a tone in the format the extension names.
void MakeAudio(const fs::path& path, const std::string& codec = "")
{
    std::string command = "ffmpeg -v error -y -f lavfi -i sine=frequency=440:duration=2 " +
                          (codec.empty() ? "" : "-c:a " + codec + " ") + "'" + path.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

}  // namespace

TEST(SourceFormats, TheDialogKeepsItsEntriesAndOffersEveryFormat)
{
    auto filters = ParseFileFilter(source_formats::AddFilter());
    ASSERT_GE(filters.size(), 4u);
    EXPECT_EQ(filters.front().name, L"Monkey's Audio File(*.APE)");
    EXPECT_EQ(filters.front().patterns, (std::vector<std::wstring>{L"*.ape", L"*.cue"}));
    EXPECT_EQ(filters.back().name, L"All Files (*.*)");
    EXPECT_EQ(filters.back().patterns, (std::vector<std::wstring>{L"*.*"}));
    EXPECT_EQ(filters[1].name, L"All supported");
    auto names = Names(filters);
    for (const wchar_t* format : {L"FLAC (*.flac)", L"WavPack (*.wv)", L"TTA (*.tta)", L"WAV (*.wav;*.rf64;*.w64)",
                                  L"AIFF (*.aif;*.aiff)", L"ALAC (*.m4a)", L"TAK (*.tak)",
                                  L"Monkey's Audio (*.ape)", L"CUE sheet (*.cue)"})
        EXPECT_NE(std::find(names.begin(), names.end(), format), names.end()) << format;
    // Whatever can be decoded is offered, together and in its own entry.
    for (std::wstring_view extension : kAudioExtensions) {
        std::wstring pattern = L"*." + std::wstring(extension);
        auto has = [&](const FileFilter& f) {
            return std::find(f.patterns.begin(), f.patterns.end(), pattern) != f.patterns.end();
        };
        EXPECT_TRUE(has(filters[1])) << pattern;
        EXPECT_EQ(std::count_if(filters.begin() + 2, filters.end() - 1, has), 1) << pattern;
    }
}

TEST(SourceFormats, SupportedFilesGoByTheirExtensionInAnyCase)
{
    for (const wchar_t* path : {L"/a/b.flac", L"/a/B.WV", L"x.Tta", L"/a/b.wav", L"/a/b.aiff", L"/a/b.m4a",
                                L"/a/b.tak", L"/a/b.ape", L"/a/b.CUE", L"/a/b.rf64"})
        EXPECT_TRUE(source_formats::IsSupported(path)) << path;
    for (const wchar_t* path : {L"/a/b.txt", L"/a/b.mp3", L"/a.flac/b", L"/a/flac", L"/a/b.flac.part"})
        EXPECT_FALSE(source_formats::IsSupported(path)) << path;
}

TEST_F(MainWindowTest, AFolderDroppedAddsTheSupportedFilesUnderItWithTheirLengths)
{
    ASSERT_EQ(MissingTools({"ffmpeg"}), "");
    fs::path music = dir / "music";
    fs::create_directories(music / "b" / "deeper");
    MakeAudio(music / "a.flac");
    MakeAudio(music / "b" / "c.wav");
    MakeAudio(music / "b" / "deeper" / "d.aiff");
    MakeAudio(music / "b" / "e.m4a", "alac");
    MakeAudio(music / "b" / "f.wv", "wavpack");
    std::ofstream(music / "notes.txt") << "not audio";
    std::ofstream(music / "b" / "cover.jpg") << "not audio";
    fs::path single = dir / "single.tta";
    MakeAudio(single);

    RECT r;
    GetWindowRect(GetDlgItem(window, kList), &r);
    POINT onList{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ASSERT_TRUE(DropFiles(onList, {single.wstring(), music.wstring(), (dir / "gone").wstring()}));
    Settle();

    std::vector<std::wstring> names;
    for (const auto& [key, row] : list.Rows()) {
        names.push_back(row.name);
        EXPECT_EQ(row.info, L"00:00:02") << row.name;
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"single.tta", L"a.flac", L"c.wav", L"d.aiff", L"e.m4a",
                                                L"f.wv"}));
}
