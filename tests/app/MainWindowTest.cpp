#include "tests/app/MainWindowFixture.h"

#include <cstdlib>

#include "app/MainWindowTemplate.h"
#include "resample/SsrcMessages.h"
#include "settings/SettingsFile.h"

#include "platform/controls/Controls.h"
#include "platform/window/DropFiles.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/dialogs/Menu.h"
#include "platform/messaging/Message.h"
#include "platform/core/MessageBox.h"
#include "platform/messaging/Messages.h"
#include "platform/core/Rect.h"
#include "platform/window/Window.h"

#include <fstream>

using namespace win;
using namespace testing_app;
using namespace testing_support;
using namespace main_window;
namespace fs = std::filesystem;

namespace {

RECT PlaceOf(HWND window, int id)
{
    RECT r;
    GetWindowRect(GetDlgItem(window, id), &r);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return {r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y};
}

}  // namespace

TEST_F(MainWindowTest, StartsWithItsTextsSettingsAndControlsInPlace)
{
    EXPECT_EQ(GetWindowText(window), L"Verdo Ape to MP3 WAV Converter pro v1.1 ");
    EXPECT_EQ(Text(kStatus), L"....");
    EXPECT_EQ(Text(kDirectoryLine), L"Output Directory: ");
    EXPECT_EQ(Text(kFormatLine), L"Output Audio Info:");
    // No settings file: the defaults are written for next time.
    ASSERT_TRUE(fs::exists(dir / "configure.dat"));
    EXPECT_EQ(fs::file_size(dir / "configure.dat"), 3200u);

    EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, kBurnCd)));

    HMENU menu = GetSystemMenu(window, 0);
    int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(GetMenuItemID(menu, count - 1), kAboutCommand);
    EXPECT_EQ(GetMenuString(menu, kAboutCommand, MF_BYCOMMAND), L"&About Kolvex...");
    EXPECT_EQ(GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
}

TEST_F(MainWindowTest, LaysOutAt665By483WithTheStatusControlsMoved)
{
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 665);
    EXPECT_EQ(client.bottom, 483);
    EXPECT_EQ(PlaceOf(window, kProgress).left, 11);
    EXPECT_EQ(PlaceOf(window, kProgress).top, 325);
    EXPECT_EQ(PlaceOf(window, kStatus).left, 497);
    EXPECT_EQ(PlaceOf(window, kStatus).top, 325);
    EXPECT_EQ(PlaceOf(window, kDirectoryLine).top, 343);
    EXPECT_EQ(PlaceOf(window, kFormatLine).top, 360);
}

TEST_F(MainWindowTest, StartsFromTheStoredSettings)
{
    main.reset();
    ConversionSettings stored;
    stored.SetOutputDirectory(L"/music/");
    ASSERT_EQ(SettingsFile::Write((dir / "configure.dat").wstring(), stored), 1);
    g_settings = ConversionSettings{};
    Open(&list);
    EXPECT_EQ(Text(kDirectoryLine), L"Output Directory: /music/");
}

TEST_F(MainWindowTest, AddMakesOneCheckedRowPerFileOrTrack)
{
    fs::path bare = dir / "noextension";
    fs::copy_file(FixturePath("stereo16_44k.ape"), bare);
    Add({FixturePath("stereo16_44k.ape"), Album(), bare, dir / "missing.ape"});

    const auto& rows = list.Rows();
    ASSERT_EQ(rows.size(), 5u) << "only files that are there";
    EXPECT_EQ(rows.at(0).name, L"stereo16_44k.ape");
    EXPECT_EQ(rows.at(0).info, L"00:00:05");
    EXPECT_EQ(rows.at(2).info, L"00:00:08");  // the album's second track
    EXPECT_EQ(rows.at(3).info, L"00:00:06");
    EXPECT_EQ(rows.at(4).name, L"noextension");
    EXPECT_EQ(rows.at(4).info, L"00:00:00");  // no extension: not examined
    EXPECT_EQ(Checked(), (std::vector<std::int32_t>{0, 1, 2, 3, 4}));
    ConversionItem* track = main->Rows().Find(2);
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(track->cueTrack, 1);
    EXPECT_EQ(track->startMs, 9600.0);
    EXPECT_EQ(track->endMs, 17600.0);
    ASSERT_EQ(Headless().OpenRequests().size(), 1u);
    EXPECT_TRUE(Headless().OpenRequests()[0].multiSelect);
    EXPECT_EQ(Headless().OpenRequests()[0].filters.at(0).name, L"Monkey's Audio File(*.APE)");

    Headless().PushOpenFiles({});  // cancelled: nothing changes
    Click(kAdd);
    Settle();
    EXPECT_EQ(list.Rows().size(), 5u);
}

TEST_F(MainWindowTest, DelRemovesCheckedRowsAndNewKeysFollowTheLargest)
{
    Add({FixturePath("mono8_8k.ape"), FixturePath("stereo8_11k.ape"), FixturePath("mono16_22k.ape")});
    list.ListSetItemState(kItemToggleCheck, 0);  // untick the first and last
    list.ListSetItemState(kItemToggleCheck, 2);
    Click(kDelete);
    EXPECT_EQ(list.Rows().size(), 2u);
    EXPECT_EQ(main->Rows().Find(1), nullptr);
    ASSERT_NE(main->Rows().Find(2), nullptr);
    Add({FixturePath("stereo16_44k.ape")});
    EXPECT_NE(main->Rows().Find(3), nullptr);
    EXPECT_EQ(Checked(), (std::vector<std::int32_t>{3}));
}

TEST_F(MainWindowTest, Mp3BatchConvertsTheAlbumAndOffersTheFolder)
{
    fs::path out = dir / "out";
    fs::create_directory(out);
    SetOutputFolder(out);
    g_settings.cbrFlag = 1;
    g_settings.mp3.cbrBitRate = 192;
    Add({Album()});
    RunBatch(kMp3, IDOK);

    EXPECT_EQ(Text(kFormatLine), L"Output Audio Info: Output Format MP3 Constant Bitrate: 192 Quality: 0");
    EXPECT_EQ(Text(kStatus), L"To MP3 is OK");
    for (const auto& [key, row] : list.Rows())
        EXPECT_EQ(row.info, L"Converter OK") << key;
    for (const auto& [key, item] : main->Rows().Rows()) {
        EXPECT_TRUE(fs::path(item->outputPath).parent_path() == out) << key;
        EXPECT_GT(fs::file_size(item->outputPath), 10000u) << key;
    }
    EXPECT_EQ(ProgressRange(), (std::pair<int, int>{17600, 23600}));  // the last track runs to the end
    EXPECT_EQ(Asked().back(), L"Open Folder: Converter is Complete! Do you open the Output Folder?");
    EXPECT_EQ(Headless().ShellRequests(), (std::vector<std::wstring>{out.wstring() + L"/"}));
    EXPECT_TRUE(Enabled(kMp3) && Enabled(kWave) && Enabled(kAdd) && Enabled(kDelete) && Enabled(kSetup));

    g_settings.cbrFlag = 0;  // variable: the line names the range
    g_settings.mp3.quality = 3;
    list.ListSetItemState(kItemToggleCheck, 0);
    list.ListSetItemState(kItemToggleCheck, 1);
    list.ListSetItemState(kItemToggleCheck, 2);  // nothing ticked: still asks
    RunBatch(kMp3);
    EXPECT_EQ(Text(kFormatLine), L"Output Audio Info: Output Format MP3 Variable Bitrate: 64-192 Quality: 3");
    EXPECT_EQ(Headless().ShellRequests().size(), 1u);  // Cancel opens nothing
}

// Setup's settings travel with the batch: its rows write their files and
// nothing else, neither in $TMPDIR nor beside the stored settings.
TEST_F(MainWindowTest, ABatchWritesNothingOutsideItsOutputFolder)
{
    fs::path out = dir / "out", tmp = dir / "tmp";
    fs::create_directories(tmp);
    const char* oldTmp = std::getenv("TMPDIR");
    std::string savedTmp = oldTmp ? oldTmp : "";
    setenv("TMPDIR", tmp.c_str(), 1);
    SetOutputFolder(out);
    fs::create_directory(out);
    Add({Album()});
    auto before = testing_support::FileNames(dir.path());
    auto settings = testing_support::ReadBytes(dir / "configure.dat");
    RunBatch(kMp3);
    RunBatch(kWave);
    oldTmp ? setenv("TMPDIR", savedTmp.c_str(), 1) : unsetenv("TMPDIR");

    EXPECT_TRUE(testing_support::FileNames(tmp).empty());
    EXPECT_EQ(testing_support::FileNames(dir.path()), before);
    EXPECT_TRUE(testing_support::ReadBytes(dir / "configure.dat") == settings);
    EXPECT_EQ(testing_support::FileNames(out).size(), 6u) << "three MP3 and three WAV files";
}

TEST_F(MainWindowTest, WaveBatchResamplesAndDisablesCommandsMeanwhile)
{
    fs::path source = dir / "song.ape";
    fs::copy_file(FixturePath("stereo16_48k.ape"), source);
    Add({source});
    Headless().PushAnswer(IDCANCEL);
    Click(kWave);
    bool busy = !Enabled(kMp3) && !Enabled(kWave) && !Enabled(kAdd) && !Enabled(kDelete) && !Enabled(kSetup);
    EXPECT_TRUE(busy);
    Click(kWave);  // ignored while the batch runs
    ASSERT_TRUE(PumpUntil([] { return !Headless().Questions().empty(); }));
    Pump();
    EXPECT_EQ(Headless().Questions().size(), 1u) << "one batch, one prompt";
    EXPECT_EQ(Text(kFormatLine), L"Output Audio Info: Output Format WAVE SSRC 44100:ON");
    EXPECT_EQ(Text(kStatus), L"SSRC...");
    EXPECT_EQ(ProgressRange(), (std::pair<int, int>{0, 98}));
    EXPECT_EQ(list.Rows().at(0).info, L"Converter OK");
    auto wav = ReadBytes(dir / "song.wav");
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(Le32(wav, 24), 44100u);  // resampled in place
    EXPECT_TRUE(Enabled(kWave) && Enabled(kAdd));

    // Opening the folder without a stored one opens where the file went.
    g_settings.resamplingFlag = 0;
    Headless().PushAnswer(IDYES);  // overwrite song.wav
    RunBatch(kWave, IDOK);
    EXPECT_EQ(Text(kFormatLine), L"Output Audio Info: Output Format WAVE SSRC 44100:OFF");
    EXPECT_EQ(Text(kStatus), L"To WAVE is OK");
    EXPECT_EQ(Headless().ShellRequests(), (std::vector<std::wstring>{dir.path().wstring() + L"/"}));
}

TEST_F(MainWindowTest, AFailedRowSaysSoAndWhy)
{
    SetOutputFolder(dir / "no" / "such" / "folder");
    Add({FixturePath("mono8_8k.ape")});
    RunBatch(kMp3);
    EXPECT_EQ(list.Rows().at(0).info, L"Converter Failed");
    EXPECT_EQ(Text(kStatus), L"To MP3 failed");
    auto asked = Asked();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].rfind(L"Converter Failed: One file could not be converted:\n\nmono8_8k.mp3: ", 0), 0u)
        << asked[0];
}

TEST_F(MainWindowTest, SsrcFailureShowsInTheStatusLine)
{
    SendMessage(window, WM_SSRC_START, 0, 0);
    EXPECT_EQ(Text(kStatus), L"SSRC...");
    SendMessage(window, WM_SSRC_PROGRESS, 40, 0);
    EXPECT_EQ(SendDlgItemMessage(window, kProgress, PBM_GETPOS, 0, 0), 40);
    SendMessage(window, WM_SSRC_DONE, 0, 1);
    EXPECT_EQ(Text(kStatus), L"SSRC failed");
    EXPECT_EQ(SendDlgItemMessage(window, kProgress, PBM_GETPOS, 0, 0), 0);
}

TEST_F(MainWindowTest, BurnCdWritesTheMarkedRowsBesideTheirSources)
{
    fs::path source = dir / "song.ape";
    fs::copy_file(FixturePath("mono8_8k.ape"), source);
    fs::create_directory(dir / "out");
    SetOutputFolder(dir / "out");
    Add({source});
    RunBatch(kMp3);  // marks the row
    ASSERT_TRUE(fs::exists(dir / "out" / "song.mp3"));
    std::wstring status = Text(kStatus);
    std::wstring format = Text(kFormatLine);
    RunBatch(kBurnCd);
    EXPECT_TRUE(fs::exists(dir / "song.wav"));
    EXPECT_EQ(Text(kStatus), L"SSRC...") << "resampled 8 kHz to 44.1 kHz";
    EXPECT_EQ(Text(kFormatLine), format);
}

TEST_F(MainWindowTest, SetupRefreshesTheOutputDirectoryLine)
{
    Headless().PushFolder(L"/tmp/picked");
    WhenShown(L"Setup", [](HWND setup) {
        HWND page = GetWindow(GetDlgItem(setup, 1021), GW_CHILD);
        SendMessage(GetDlgItem(page, 1033), BM_CLICK, 0, 0);
        SendMessage(GetDlgItem(setup, IDOK), BM_CLICK, 0, 0);
    });
    Click(kSetup);
    EXPECT_EQ(Text(kDirectoryLine), L"Output Directory: /tmp/picked/");
    EXPECT_EQ(g_settings.OutputDirectory(), L"/tmp/picked/");
}

TEST_F(MainWindowTest, AboutBoxFromTheSystemMenuAndEnterKeepsTheWindow)
{
    std::wstring name;
    WhenShown(L"About Kolvex", [&](HWND about) {
        name = GetWindowText(GetDlgItem(about, 1041));
        SendMessage(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
    });
    SendMessage(window, WM_SYSCOMMAND, kAboutCommand, 0);
    EXPECT_EQ(name, L"Verdo Ape to MP3 WAV Converter pro v1.1 ");
    EXPECT_NE(SendMessage(window, WM_QUERYDRAGICON, 0, 0), 0);  // the program icon
    SendMessage(window, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(main->Ended());
    EXPECT_TRUE(IsWindowVisible(window));
    SendMessage(window, WM_COMMAND, kSite, 0);
    ASSERT_EQ(Headless().ShellRequests().size(), 1u);
    EXPECT_EQ(Headless().ShellRequests()[0], ProgramFolder() + L"README.html");
}

TEST_F(MainWindowTest, WithoutAListNothingIsShownOrConverted)
{
    Open(nullptr);  // no skin: the skin's list does not exist
    Add({FixturePath("mono8_8k.ape")});
    EXPECT_EQ(main->Rows().Rows().size(), 1u);
    fs::create_directory(dir / "out");
    SetOutputFolder(dir / "out");
    RunBatch(kMp3);
    EXPECT_TRUE(fs::is_empty(dir / "out"));
}

TEST_F(MainWindowTest, FilesDroppedFromAFileManagerAreAddedLikeAdd)
{
    fs::path notes = dir / "notes.txt";
    std::ofstream(notes) << "not audio";
    RECT r;
    GetWindowRect(GetDlgItem(window, kList), &r);
    POINT onList{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ASSERT_TRUE(DropFiles(onList, {FixturePath("mono8_8k.ape").wstring(), notes.wstring(), Album().wstring()}));
    Settle();
    ASSERT_EQ(list.Rows().size(), 4u);
    EXPECT_EQ(list.Rows().at(0).name, L"mono8_8k.ape");
    EXPECT_EQ(list.Rows().at(3).info, L"00:00:06");
    EXPECT_EQ(Checked(), (std::vector<std::int32_t>{0, 1, 2, 3}));

    Click(kMp3);  // while a batch runs nothing is added
    ASSERT_TRUE(DropFiles(onList, {FixturePath("mono8_8k.ape").wstring()}));
    Settle();
    EXPECT_EQ(main->Rows().Rows().size(), 4u);
}
