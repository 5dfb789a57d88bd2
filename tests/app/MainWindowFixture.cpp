#include "tests/app/MainWindowFixture.h"

#include "app/MainWindowTemplate.h"
#include "settings/SettingsPath.h"

#include "platform/controls/Controls.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/messaging/Message.h"
#include "platform/core/MessageBox.h"
#include "platform/core/Strings.h"
#include "platform/window/Window.h"

#include <cstdlib>

using namespace win;
namespace fs = std::filesystem;

namespace testing_app {

std::wstring ProgramFolder()
{
    const char* bin = std::getenv("KOLVEX_BIN");
    return FromUtf8(bin ? bin : ".") + L"/";
}

void MainWindowTest::SetUp()
{
    Headless().Reset();
    SetSettingsPath((dir / "configure.dat").wstring());
    g_settings = ConversionSettings{};
    Open(&list);
}

void MainWindowTest::TearDown()
{
    main.reset();
    Pump();
    SetSettingsPath(L"");
    g_settings = ConversionSettings{};
    Headless().Reset();
}

void MainWindowTest::Open(ListOperations* rows)
{
    main.reset();
    main = std::make_unique<MainWindow>(nullptr, ProgramFolder(), rows);
    window = main->Create();
    ASSERT_NE(window, nullptr);
    Pump();
}

fs::path MainWindowTest::Album()
{
    fs::path copy = dir / "demo";
    if (!fs::exists(copy)) {
        fs::create_directory(copy);
        fs::copy_file(testing_support::Demo("demo.cue"), copy / "demo.cue");
        fs::copy_file(testing_support::Demo("demo.ape"), copy / "demo.ape");
    }
    return copy / "demo.cue";
}

void MainWindowTest::Click(int id)
{
    SendMessage(GetDlgItem(window, id), BM_CLICK, 0, 0);
}

bool MainWindowTest::Enabled(int id) { return IsWindowEnabled(GetDlgItem(window, id)); }

std::wstring MainWindowTest::Text(int id) { return GetWindowText(GetDlgItem(window, id)); }

void MainWindowTest::Add(const std::vector<fs::path>& paths)
{
    std::vector<std::wstring> chosen;
    for (const auto& path : paths)
        chosen.push_back(path.wstring());
    Headless().PushOpenFiles(chosen);
    Click(main_window::kAdd);
    Settle();
}

void MainWindowTest::Settle()
{
    Pump();  // a drop comes as a message
    ASSERT_TRUE(PumpUntil([&] { return !main->Adding(); })) << "the added files were not examined";
    Pump();
}

void MainWindowTest::RunBatch(int id, int answer)
{
    std::size_t before = Headless().Questions().size();
    Headless().PushAnswer(answer);
    Click(id);
    ASSERT_TRUE(PumpUntil([&] {
        for (std::size_t i = before; i < Headless().Questions().size(); ++i)
            if (Headless().Questions()[i].caption == L"Open Folder")
                return true;
        return false;
    })) << "the batch did not end";
    Pump();
}

std::vector<std::int32_t> MainWindowTest::Checked()
{
    std::vector<std::int32_t> keys;
    for (auto key = list.ListFindFirstChecked(); key != -1; key = list.ListFindNextChecked(key))
        keys.push_back(key);
    return keys;
}

std::pair<int, int> MainWindowTest::ProgressRange()
{
    PBRANGE range{};
    SendDlgItemMessage(window, main_window::kProgress, PBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&range));
    return {range.iLow, range.iHigh};
}

void MainWindowTest::SetOutputFolder(const fs::path& folder)
{
    std::wstring text = folder.wstring();
    if (text.back() != L'/')
        text += L'/';
    g_settings.SetOutputDirectory(text);
}

std::vector<std::wstring> MainWindowTest::Asked()
{
    std::vector<std::wstring> asked;
    for (const auto& q : Headless().Questions())
        asked.push_back(q.caption + L": " + q.text);
    return asked;
}

}  // namespace testing_app
