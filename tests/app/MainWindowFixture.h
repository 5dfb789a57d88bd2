// A main window on the headless back-end, driven as a person would: its
// buttons clicked, the file dialog and the questions answered by script.
#pragma once

#include "app/MainWindow.h"
#include "rows/PlainList.h"
#include "tests/app/DialogScript.h"
#include "tests/support/TestFiles.h"

#include "settings/ConversionSettings.h"

#include "platform/core/Types.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace testing_app {

std::wstring ProgramFolder();

class MainWindowTest : public ::testing::Test {
protected:
    testing_support::TempDir dir;
    PlainList list;
    std::unique_ptr<MainWindow> main;
    win::HWND window = nullptr;

    void SetUp() override;
    void TearDown() override;
    // Makes the window (again) over `rows`; null for the skin's own list.
    void Open(ListOperations* rows);

    // The demo album, copied into the scratch folder, so that nothing a
    // test writes beside its source lands in the source tree.
    std::filesystem::path Album();

    void Click(int id);
    bool Enabled(int id);
    std::wstring Text(int id);
    // "add" with these files chosen in the file dialog; returns once their
    // rows are on the list.
    void Add(const std::vector<std::filesystem::path>& paths);
    // Handles what is waiting until the files being added are on the list.
    void Settle();
    // Clicks `id` and waits for the completion prompt, answering `answer`.
    void RunBatch(int id, int answer = 2);
    std::vector<std::int32_t> Checked();
    std::pair<int, int> ProgressRange();
    // The output folder as Setup would store it.
    void SetOutputFolder(const std::filesystem::path& folder);
    // Every question asked so far, as "caption: text".
    std::vector<std::wstring> Asked();
};

}  // namespace testing_app
