// A profile file is read from disk once while it stays the same, and a
// change is seen at once, however quickly it follows the last read.
#include "platform/core/Profile.h"
#include "platform/core/ProfileCache.h"
#include "platform/core/Strings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

std::string ScratchPath(const std::string& name)
{
    return "/tmp/kolvex-profile-cache-" + std::to_string(::getpid()) + "-" + name;
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::wstring Value(const std::string& path, const wchar_t* section, const wchar_t* key)
{
    wchar_t value[32];
    win::GetPrivateProfileString(section, key, L"none", value, 32, win::FromUtf8(path).c_str());
    return value;
}

}  // namespace

TEST(ProfileCache, ASettledFileIsReadOnceUntilItChanges)
{
    std::string path = ScratchPath("settled.ini"), other = ScratchPath("other.ini");
    std::wstring wide = win::FromUtf8(path);
    WriteFile(path, "[Main]\nimage=a.png\n");
    // Older than the settling time by far more than the file system's clock tick.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    win::internal::ProfileCache cache(std::chrono::milliseconds(1));
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(cache.Get(wide)->at(0).entries.at(0).value, L"a.png");
    EXPECT_EQ(cache.Reads(), 1u);

    WriteFile(path, "[Main]\nimage=bb.png\n");
    EXPECT_EQ(cache.Get(wide)->at(0).entries.at(0).value, L"bb.png");
    // Replaced by another file of the same size: another file, read again.
    WriteFile(other, "[Main]\nimage=cc.png\n");
    ASSERT_EQ(std::rename(other.c_str(), path.c_str()), 0);
    EXPECT_EQ(cache.Get(wide)->at(0).entries.at(0).value, L"cc.png");
    EXPECT_EQ(cache.Reads(), 3u);

    std::remove(path.c_str());
    EXPECT_EQ(cache.Get(wide), nullptr);
}

TEST(ProfileCache, AFileRewrittenAtOnceWithTheSameSizeGivesItsNewValues)
{
    // Rewrites within one clock tick keep the file's times and size: only
    // its bytes tell.
    std::string path = ScratchPath("racy.ini");
    for (char digit = '0'; digit <= '9'; ++digit) {
        WriteFile(path, std::string("[S]\nkey=") + digit + "\n");
        EXPECT_EQ(Value(path, L"S", L"key"), std::wstring(1, static_cast<wchar_t>(digit)));
        EXPECT_EQ(Value(path, L"s", L"KEY"), std::wstring(1, static_cast<wchar_t>(digit)));
    }
    WriteFile(path, "[T]\nkey=x\n");
    EXPECT_EQ(Value(path, L"S", L"key"), L"none");
    std::remove(path.c_str());
    EXPECT_EQ(Value(path, L"T", L"key"), L"none");
}

TEST(ProfileCache, ThreadsReadWhileTheFileChanges)
{
    std::string path = ScratchPath("threads.ini");
    WriteFile(path, "[S]\nkey=1\n");
    std::vector<std::thread> readers;
    for (int t = 0; t < 4; ++t)
        readers.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                std::wstring value = Value(path, L"S", L"key");
                EXPECT_TRUE(value == L"1" || value == L"2" || value == L"none") << win::ToUtf8(value);
            }
        });
    for (int i = 0; i < 50; ++i)
        WriteFile(path, i % 2 ? "[S]\nkey=1\n" : "[S]\nkey=2\n");
    for (auto& reader : readers)
        reader.join();
    std::remove(path.c_str());
}
