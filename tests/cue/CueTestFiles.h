// Sheets written to a private folder per test.
#pragma once

#include "platform/Strings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

class CueFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               (std::string("kolvex_cue_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::wstring Write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return Path(name);
    }
    std::wstring Path(const std::string& name) const { return win::FromUtf8((dir_ / name).string()); }

    std::filesystem::path dir_;
};
