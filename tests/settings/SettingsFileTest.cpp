#include "settings/SettingsCheck.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsPath.h"

#include "platform/core/Files.h"
#include "platform/core/Strings.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>
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
    // The fields the program reads hold usable values; the rest anything.
    written.mp3.sampleRate = 32000;
    written.mp3.cbrBitRate = 320;
    written.mp3.mode = 1;
    written.mp3.vbrMinimum = 32;
    written.mp3.vbrMaximum = 256;
    written.mp3.quality = 9;
    written.mp3.crcFlag = 0;
    written.mp3.copyrightFlag = 0;
    written.mp3.originalFlag = 1;
    written.cbrFlag = 1;
    written.resamplingFlag = 0;
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
    EXPECT_EQ(record.OutputDirectory(), L"AAA/");
    EXPECT_EQ(record.outputDirectoryLength, 4u);
}

// Garbage in every field the program reads: each takes its default, as a
// missing file would give; a valid field beside them is kept.
TEST_F(Settings, FieldsOutOfRangeTakeTheirDefaults)
{
    Bytes bytes(3200, 0xA5);
    Put(bytes, 0, 0);
    bytes[4] = bytes[5] = 0;
    Put(bytes, 0x818, 4);  // a usable quality
    WriteBytes(bytes);
    ConversionSettings record;
    ASSERT_EQ(SettingsFile::Read(path_, record), 1);
    const ConversionSettings defaults;
    EXPECT_EQ(record.mp3.sampleRate, defaults.mp3.sampleRate);
    EXPECT_EQ(record.mp3.cbrBitRate, 128u);
    EXPECT_EQ(record.mp3.mode, 0u);
    EXPECT_EQ(record.mp3.vbrMinimum, 64u);
    EXPECT_EQ(record.mp3.vbrMaximum, 192u);
    EXPECT_EQ(record.mp3.quality, 4u);
    EXPECT_EQ(record.mp3.crcFlag, 1u);
    EXPECT_EQ(record.mp3.copyrightFlag, 1u);
    EXPECT_EQ(record.mp3.originalFlag, 0u);
    EXPECT_EQ(record.cbrFlag, 0u);
    EXPECT_EQ(record.resamplingFlag, 1u);
    EXPECT_EQ(record.reserved2, 0xA5A5A5A5u);  // the encoder's, not ours
    EXPECT_FALSE(record.HasOutputDirectory());

    // A lowest bit rate above the highest is no pair to keep.
    ConversionSettings crossed;
    crossed.mp3.vbrMinimum = 256;
    crossed.mp3.vbrMaximum = 128;
    crossed.mp3.sampleRate = 44100;
    EXPECT_EQ(ValidateSettings(crossed), 2);
    EXPECT_EQ(crossed.mp3.vbrMinimum, 64u);
    EXPECT_EQ(crossed.mp3.vbrMaximum, 192u);
    EXPECT_EQ(crossed.mp3.sampleRate, 44100u);
    EXPECT_EQ(ValidateSettings(crossed), 0);

    // What is read is what the next program start reads again.
    ASSERT_EQ(SettingsFile::Write(path_, record), 1);
    ConversionSettings again;
    ASSERT_EQ(SettingsFile::Read(path_, again), 1);
    EXPECT_EQ(std::memcmp(&record, &again, sizeof record), 0);
}

// Whatever a damaged file holds, what is read is stable: written back and
// read again it is the same record, every field in range.
TEST_F(Settings, ReadingAnyBytesGivesARecordThatReadsBackTheSame)
{
    std::uint32_t seed = 20261206;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (int round = 0; round < 300; ++round) {
        Bytes bytes(next() % 3300);
        for (auto& byte : bytes)
            byte = static_cast<unsigned char>(next() >> 24);
        // Often a plausible folder of slashes and letters, without its end.
        for (std::size_t i = 4; i + 1 < bytes.size() && i < 40 && round % 2; i += 2) {
            bytes[i] = "/ab"[next() % 3];
            bytes[i + 1] = 0;
        }
        WriteBytes(bytes);
        ConversionSettings record;
        ASSERT_EQ(SettingsFile::Read(path_, record), 1);
        ConversionSettings checked = record;
        EXPECT_EQ(ValidateSettings(checked), 0) << round;
        if (!record.OutputDirectory().empty() && record.OutputDirectory().size() < 1000) {
            EXPECT_EQ(record.OutputDirectory().back(), L'/') << round;
        }
        ASSERT_EQ(SettingsFile::Write(path_, record), 1);
        ConversionSettings again;
        ASSERT_EQ(SettingsFile::Read(path_, again), 1);
        EXPECT_EQ(std::memcmp(&record, &again, sizeof record), 0) << round;
    }
}

// Ten bytes: a length and "/tm" without its "/". Names appended to it made
// "/tma.mp3", written into "/".
TEST_F(Settings, AFolderWithoutItsLastSlashGetsItBack)
{
    Bytes bytes = {3, 0, 0, 0, '/', 0, 't', 0, 'm', 0};
    WriteBytes(bytes);
    ConversionSettings record;
    ASSERT_EQ(SettingsFile::Read(path_, record), 1);
    EXPECT_EQ(record.OutputDirectory(), L"/tm/");
    EXPECT_EQ(record.outputDirectoryLength, 4u);
    EXPECT_EQ(OutputFolderProblem(record.OutputDirectory()), L"");
    EXPECT_EQ(NormaliseOutputFolder(L""), L"");
    EXPECT_EQ(NormaliseOutputFolder(L"/a/"), L"/a/");
}

TEST(SettingsCheck, FoldersThatCannotBeUsedSayWhy)
{
    EXPECT_EQ(OutputFolderProblem(L""), L"");
    EXPECT_EQ(OutputFolderProblem(L"/music/out/"), L"");
    EXPECT_EQ(OutputFolderProblem(L"music/"), L"the output folder \"music/\" is not an absolute path");
    EXPECT_EQ(OutputFolderProblem(L"C:\\Music\\"), L"the output folder \"C:\\Music\\\" is not an absolute path");
    EXPECT_EQ(OutputFolderProblem(L"/a\nb/"), L"the output folder \"/a\nb/\" holds control characters");
    EXPECT_EQ(OutputFolderProblem(L"/music"), L"the output folder \"/music\" is too long");
    // Ten damaged bytes can spell the root other ways than "/".
    for (const wchar_t* root : {L"/", L"//", L"///", L"/./", L"/a/../", L"/../"})
        EXPECT_EQ(OutputFolderProblem(root), L"the output folder \"" + std::wstring(root) + L"\" is the root folder");
    EXPECT_EQ(OutputFolderProblem(L"/a/b/../"), L"");
    EXPECT_EQ(OutputFolderProblem(L"/.../"), L"");
}

TEST_F(Settings, AFifoIsNotWaitedFor)
{
    ASSERT_EQ(mkfifo((dir_ / "configure.dat").c_str(), 0600), 0);
    ConversionSettings record;
    record.cbrFlag = 1;
    auto reading = std::async(std::launch::async, [&] { return SettingsFile::Read(path_, record); });
    if (reading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "reading a FIFO blocked";
        close(open((dir_ / "configure.dat").c_str(), O_WRONLY));
    }
    EXPECT_EQ(reading.get(), 0);
    EXPECT_EQ(record.cbrFlag, 1u);
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
