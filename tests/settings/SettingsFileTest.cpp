#include "settings/SettingsFile.h"
#include "settings/SettingsPath.h"

#include "platform/core/Files.h"
#include "platform/core/Strings.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

class Settings : public ::testing::Test {
protected:
    Bytes FileBytes() const { return testing_support::ReadBytes(dir_ / "configure.dat"); }
    void WriteBytes(const Bytes& bytes) const { testing_support::WriteBytes(dir_ / "configure.dat", bytes); }

    testing_support::TempDir dir_;
    std::wstring path_ = win::FromUtf8((dir_ / "configure.dat").string());
};

std::uint32_t At(const Bytes& bytes, std::size_t at) { return testing_support::Le32(bytes, at); }

void Put(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

}  // namespace

TEST_F(Settings, MissingFileLeavesTheRecordAndDefaultsHaveTheFileLayout)
{
    ConversionSettings record;
    record.cbrFlag = 7;
    EXPECT_EQ(SettingsFile::Read(path_, record), 0);
    EXPECT_EQ(record.cbrFlag, 7u);

    ASSERT_EQ(SettingsFile::Write(path_, ConversionSettings()), 1);
    Bytes bytes = FileBytes();
    ASSERT_EQ(bytes.size(), 3200u);
    // offset: directory length, sample rate, CBR, VBR min/max, quality, CRC,
    // copyright, original, CBR flag, resampling, reserved
    for (auto [offset, value] : std::initializer_list<std::pair<std::size_t, std::uint32_t>>{
             {0x000, 0}, {0x804, 0}, {0x808, 128}, {0x810, 64}, {0x814, 192}, {0x818, 0}, {0x82C, 1},
             {0x838, 1}, {0x83C, 0}, {0x860, 0}, {0x864, 1}, {0x878, 1}})
        EXPECT_EQ(At(bytes, offset), value) << "offset " << offset;
}

TEST_F(Settings, ShortFileFillsOnlyItsOwnLength)
{
    Bytes bytes(100, 0);
    std::string directory = "/music/out/with/a/rather/long/name/that/goes/on/and/on/";
    Put(bytes, 0, static_cast<std::uint32_t>(directory.size()));
    for (std::size_t i = 0; i < 48; ++i)
        bytes[4 + 2 * i] = static_cast<unsigned char>(directory[i]);
    WriteBytes(bytes);

    ConversionSettings record;
    ASSERT_EQ(SettingsFile::Read(path_, record), 1);
    EXPECT_EQ(record.OutputDirectory(), win::FromUtf8(directory.substr(0, 48)));
    EXPECT_TRUE(record.HasOutputDirectory());
    EXPECT_EQ(record.mp3.cbrBitRate, 128u);
    EXPECT_EQ(record.resamplingFlag, 1u);
    EXPECT_EQ(record.reserved1, 1u);
}

TEST_F(Settings, EveryFieldRoundTripsAndTheDirectoryIsUtf16)
{
    ConversionSettings written;
    auto* raw = reinterpret_cast<unsigned char*>(&written);
    for (std::size_t i = 0; i < sizeof written; ++i)
        raw[i] = static_cast<unsigned char>(i * 7 + 3);
    written.SetOutputDirectory(L"/srv/\u00e9t\u00e9/\U0001F3B5/");
    ASSERT_EQ(SettingsFile::Write(path_, written), 1);

    ConversionSettings read;
    ASSERT_EQ(SettingsFile::Read(path_, read), 1);
    EXPECT_EQ(std::memcmp(&read, &written, sizeof read), 0);
    EXPECT_EQ(read.OutputDirectory(), L"/srv/\u00e9t\u00e9/\U0001F3B5/");
    EXPECT_EQ(read.outputDirectoryLength, 12u);  // the note takes two UTF-16 units
    Bytes bytes = FileBytes();
    EXPECT_EQ(bytes[4 + 2 * 5], 0xE9);
    EXPECT_EQ(bytes[5 + 2 * 5], 0x00);
}

TEST_F(Settings, DirectoryWithoutNulOrWithHugeLengthStaysInsideTheRecord)
{
    Bytes bytes(3200, 0);
    Put(bytes, 0, 0xFFFFFFFFu);
    for (std::size_t i = 0; i < 1024; ++i)
        bytes[4 + 2 * i] = 'A';
    WriteBytes(bytes);
    ConversionSettings record;
    ASSERT_EQ(SettingsFile::Read(path_, record), 1);
    EXPECT_EQ(record.OutputDirectory(), std::wstring(1023, L'A'));
    EXPECT_EQ(record.outputDirectoryLength, 1023u);

    Put(bytes, 0, 900);
    bytes[4 + 2 * 3] = 0;
    WriteBytes(bytes);
    ASSERT_EQ(SettingsFile::Read(path_, record), 1);
    EXPECT_EQ(record.OutputDirectory(), L"AAA");
    EXPECT_EQ(record.outputDirectoryLength, 3u);
}

TEST(SettingsPath, BesideTheExecutableUnlessPointedElsewhere)
{
    EXPECT_EQ(SettingsPath(), win::ExecutableDirectory() + L"configure.dat");
    SetSettingsPath(L"/tmp/private.dat");
    EXPECT_EQ(SettingsPath(), L"/tmp/private.dat");
    SetSettingsPath(L"");
    EXPECT_EQ(SettingsPath(), win::ExecutableDirectory() + L"configure.dat");
}

TEST(SettingsPath, NamedByTheEnvironmentOrKeptInTheUserFolderWhenTheProgramFolderIsReadOnly)
{
    std::string home = testing::TempDir() + "kolvex-settings-home";
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    const char* savedHome = std::getenv("HOME");
    std::string oldHome = savedHome ? savedHome : "";
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    unsetenv("KOLVEX_SETTINGS");
    // A folder that cannot be written (here: one that is not there at all).
    EXPECT_EQ(DefaultSettingsPath(L"/nonexistent/kolvex/"), win::FromUtf8(home) + L"/kolvex/configure.dat");
    EXPECT_TRUE(std::filesystem::is_directory(home + "/kolvex"));
    std::wstring writable = win::FromUtf8(home) + L"/";
    EXPECT_EQ(DefaultSettingsPath(writable), writable + L"configure.dat");

    setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    setenv("HOME", home.c_str(), 1);
    EXPECT_EQ(DefaultSettingsPath(L"/nonexistent/kolvex/"), win::FromUtf8(home) + L"/.config/kolvex/configure.dat");

    setenv("KOLVEX_SETTINGS", "/tmp/named.dat", 1);
    EXPECT_EQ(DefaultSettingsPath(writable), L"/tmp/named.dat");
    EXPECT_EQ(SettingsPath(), L"/tmp/named.dat");
    unsetenv("KOLVEX_SETTINGS");
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", oldHome.c_str(), 1);
    std::filesystem::remove_all(home);
}
