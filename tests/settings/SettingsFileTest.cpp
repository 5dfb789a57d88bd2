#include "settings/SettingsFile.h"
#include "settings/SettingsPath.h"

#include "platform/Files.h"
#include "platform/Strings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() /
               (std::string("kolvex_settings_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        path_ = win::FromUtf8((dir_ / "configure.dat").string());
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::vector<unsigned char> FileBytes() const
    {
        std::ifstream in(dir_ / "configure.dat", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void WriteBytes(const std::vector<unsigned char>& bytes) const
    {
        std::ofstream(dir_ / "configure.dat", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    std::filesystem::path dir_;
    std::wstring path_;
};

std::uint32_t At(const std::vector<unsigned char>& bytes, std::size_t offset)
{
    return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) |
           (std::uint32_t(bytes[offset + 3]) << 24);
}

void Put(std::vector<unsigned char>& bytes, std::size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

}  // namespace

TEST_F(SettingsFileTest, MissingFileLeavesRecordAndDefaultsAreWrittenAsTheFileFormat)
{
    ConversionSettings record;
    record.cbrFlag = 7;
    EXPECT_EQ(SettingsFile::Read(path_, record), 0);
    EXPECT_EQ(record.cbrFlag, 7u);

    ASSERT_EQ(SettingsFile::Write(path_, ConversionSettings()), 1);
    auto bytes = FileBytes();
    ASSERT_EQ(bytes.size(), 3200u);
    EXPECT_EQ(At(bytes, 0x000), 0u);      // no output directory
    EXPECT_EQ(At(bytes, 0x004), 0u);
    EXPECT_EQ(At(bytes, 0x804), 0u);      // sample rate: the input's
    EXPECT_EQ(At(bytes, 0x808), 128u);    // CBR
    EXPECT_EQ(At(bytes, 0x810), 64u);     // VBR minimum
    EXPECT_EQ(At(bytes, 0x814), 192u);    // VBR maximum
    EXPECT_EQ(At(bytes, 0x818), 0u);      // quality
    EXPECT_EQ(At(bytes, 0x82C), 1u);      // CRC
    EXPECT_EQ(At(bytes, 0x838), 1u);      // copyright
    EXPECT_EQ(At(bytes, 0x83C), 0u);      // original
    EXPECT_EQ(At(bytes, 0x860), 0u);      // CBR flag
    EXPECT_EQ(At(bytes, 0x864), 1u);      // resampling
    EXPECT_EQ(At(bytes, 0x878), 1u);
}

TEST_F(SettingsFileTest, ShortFileFillsOnlyItsOwnLength)
{
    std::vector<unsigned char> bytes(100, 0);
    std::u16string directory = u"/music/out/with/a/rather/long/name/that/goes/on/and/on/";
    Put(bytes, 0, static_cast<std::uint32_t>(directory.size()));
    for (std::size_t i = 0; i < 48; ++i) {
        bytes[4 + 2 * i] = static_cast<unsigned char>(directory[i]);
        bytes[5 + 2 * i] = static_cast<unsigned char>(directory[i] >> 8);
    }
    WriteBytes(bytes);

    ConversionSettings record;
    ASSERT_EQ(SettingsFile::Read(path_, record), 1);
    std::wstring expected(directory.begin(), directory.begin() + 48);
    EXPECT_EQ(record.OutputDirectory(), expected);
    EXPECT_TRUE(record.HasOutputDirectory());
    EXPECT_EQ(record.mp3.cbrBitRate, 128u);
    EXPECT_EQ(record.mp3.crcFlag, 1u);
    EXPECT_EQ(record.resamplingFlag, 1u);
    EXPECT_EQ(record.reserved1, 1u);
}

TEST_F(SettingsFileTest, EveryFieldRoundTrips)
{
    std::vector<unsigned char> pattern(3200);
    for (std::size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = static_cast<unsigned char>(i * 7 + 3);
    ConversionSettings written;
    std::memcpy(&written, pattern.data(), sizeof written);
    written.SetOutputDirectory(L"/srv/\u00e9t\u00e9/\U0001F3B5/");
    ASSERT_EQ(SettingsFile::Write(path_, written), 1);

    ConversionSettings read;
    ASSERT_EQ(SettingsFile::Read(path_, read), 1);
    EXPECT_EQ(std::memcmp(&read, &written, sizeof read), 0);
    EXPECT_EQ(read.OutputDirectory(), L"/srv/\u00e9t\u00e9/\U0001F3B5/");
    EXPECT_EQ(read.outputDirectoryLength, 12u);  // UTF-16 units: the note takes two

    auto bytes = FileBytes();
    EXPECT_EQ(bytes[4 + 2 * 5], 0xE9);  // UTF-16LE in the file
    EXPECT_EQ(bytes[5 + 2 * 5], 0x00);
}

TEST_F(SettingsFileTest, DirectoryWithoutNulOrWithHugeLengthStaysInsideTheRecord)
{
    std::vector<unsigned char> bytes(3200, 0);
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

    record.SetOutputDirectory(std::wstring(5000, L'B'));
    EXPECT_EQ(record.OutputDirectory().size(), 1023u);
}

TEST_F(SettingsFileTest, SingleCharacterDirectoryMeansBesideTheSource)
{
    ConversionSettings record;
    record.SetOutputDirectory(L"/");
    EXPECT_FALSE(record.HasOutputDirectory());
    record.SetOutputDirectory(L"/x/");
    EXPECT_TRUE(record.HasOutputDirectory());
}

TEST_F(SettingsFileTest, EncoderStartRecreatesAMissingFileWithEncoderDefaults)
{
    ConversionSettings record;
    record.cbrFlag = 1;
    ASSERT_EQ(SettingsFile::ReadForEncoder(path_, record), 1);
    EXPECT_EQ(record.cbrFlag, 0u);  // built-in default, not the stale value
    EXPECT_EQ(record.mp3.sampleRate, 44100u);
    EXPECT_EQ(record.mp3.vbrMinimum, 80u);
    EXPECT_EQ(record.mp3.vbrMaximum, 160u);
    EXPECT_EQ(record.mp3.quality, 5u);
    EXPECT_EQ(record.mp3.crcFlag, 0u);
    EXPECT_EQ(record.mp3.copyrightFlag, 0u);

    auto bytes = FileBytes();
    ASSERT_EQ(bytes.size(), 3200u);
    EXPECT_EQ(At(bytes, 0x804), 44100u);
    EXPECT_EQ(At(bytes, 0x81C), 4u);
    EXPECT_EQ(At(bytes, 0x820), 3u);
    EXPECT_EQ(At(bytes, 0x824), 1u);
    EXPECT_EQ(At(bytes, 0x834), 1u);
    EXPECT_EQ(At(bytes, 0x000), 0u);
    EXPECT_EQ(At(bytes, 0x860), 0u);
    EXPECT_EQ(At(bytes, 0x864), 1u);

    // An existing file is taken as it is.
    Put(bytes, 0x818, 9);
    WriteBytes(bytes);
    ASSERT_EQ(SettingsFile::ReadForEncoder(path_, record), 1);
    EXPECT_EQ(record.mp3.quality, 9u);

    EXPECT_EQ(SettingsFile::ReadForEncoder(path_ + L".d/none/configure.dat", record), 0);
}

TEST(SettingsPath, BesideTheExecutableUnlessPointedElsewhere)
{
    EXPECT_EQ(SettingsPath(), win::ExecutableDirectory() + L"configure.dat");
    SetSettingsPath(L"/tmp/private.dat");
    EXPECT_EQ(SettingsPath(), L"/tmp/private.dat");
    SetSettingsPath(L"");
    EXPECT_EQ(SettingsPath(), win::ExecutableDirectory() + L"configure.dat");
}
