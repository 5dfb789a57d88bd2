// A scratch folder for sheets and the images they name.
#pragma once

#include "cue/CueReader.h"
#include "platform/core/Strings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

class Cue : public ::testing::Test {
public:
    void SetUp() override { std::filesystem::create_directories(dir_); }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::wstring Write(const std::string& name, const std::string& bytes)
    {
        std::filesystem::create_directories((dir_ / name).parent_path());
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return Path(name);
    }
    std::wstring Path(const std::string& name) const { return win::FromUtf8((dir_ / name).string()); }

    const CueSheet& Parse(const std::string& text)
    {
        EXPECT_EQ(reader_.Parse(Write("album.cue", text).c_str()), 1);
        return *reader_.Sheet();
    }

    std::filesystem::path dir_ = std::filesystem::temp_directory_path() /
        ("kolvex_cue_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    CueReader reader_;
};

