// The batch tests' common ground: a scratch folder that also holds the
// settings file, the headless back-end's answers reset, resampling off
// unless a test turns it on, and the settings record restored afterwards.
#pragma once

#include "tests/engine/BatchRecorder.h"
#include "tests/support/TestFiles.h"

#include "settings/ConversionSettings.h"
#include "settings/SettingsPath.h"

#include "platform/backend/HeadlessBackend.h"

#include <gtest/gtest.h>

#include <algorithm>

class BatchFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        win::Headless().Reset();
        SetSettingsPath((dir / "configure.dat").wstring());
        saved = g_settings;
        g_settings.resamplingFlag = 0;
    }
    void TearDown() override
    {
        g_settings = saved;
        SetSettingsPath(L"");
        win::Headless().Reset();
    }
    // What the folder holds besides the settings file.
    std::vector<std::string> Names() const
    {
        auto names = testing_support::FileNames(dir.path());
        std::erase(names, "configure.dat");
        return names;
    }

    testing_support::TempDir dir;
    BatchRecorder recorder;
    ConversionSettings saved;
    Rows rows;
};
