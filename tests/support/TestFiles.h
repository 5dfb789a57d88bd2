// Files for tests: fixtures, the shared real-world data, scratch folders and
// independent decodes by ffmpeg.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

std::filesystem::path FixturePath(const std::string& name);  // tests/data/<name>
std::filesystem::path Demo(const std::string& name);         // examples/demo/<name>
// Empty when the shared test data is not on this machine.
std::filesystem::path SharedTestData();

std::vector<unsigned char> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes);
// The names of what a folder holds, sorted.
std::vector<std::string> FileNames(const std::filesystem::path& dir);

// The tools of `names` that are not on the PATH, separated by blanks; empty
// when all are there. A test that needs a tool fails without it (tools/setup
// installs them all): a missing tool must not look like a passing test.
std::string MissingTools(std::initializer_list<const char*> names);

// Runs a shell command and returns its standard output.
std::vector<unsigned char> RunCapture(const std::string& command);
// The interleaved PCM of a file as ffmpeg decodes it, in the given raw
// format ("u8", "s16le", "s24le").
std::vector<unsigned char> FfmpegDecode(const std::filesystem::path& path, const std::string& rawFormat);

// The container tags ffprobe reads from a file (-show_format), by the
// names it shows them under ("title", "album_artist", "TSRC", ...).
std::map<std::string, std::string> FfprobeTags(const std::filesystem::path& path);

// A fresh folder under the system's temporary folder, removed at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::uint32_t Le32(const std::vector<unsigned char>& bytes, std::size_t at);
std::uint16_t Le16(const std::vector<unsigned char>& bytes, std::size_t at);

}  // namespace testing_support
