#include "tests/support/TestFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace testing_support {

namespace fs = std::filesystem;

fs::path FixturePath(const std::string& name)
{
    const char* source = std::getenv("KOLVEX_SOURCE");
    return fs::path(source ? source : ".") / "tests" / "data" / name;
}

fs::path Demo(const std::string& name)
{
    const char* source = std::getenv("KOLVEX_SOURCE");
    return fs::path(source ? source : ".") / "examples" / "demo" / name;
}

fs::path SharedTestData()
{
    const char* data = std::getenv("KOLVEX_TESTDATA");
    if (!data || !fs::is_directory(data))
        return {};
    return fs::path(data);
}

std::vector<unsigned char> ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> FileNames(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string MissingTools(std::initializer_list<const char*> names)
{
    std::string missing;
    for (const char* name : names) {
        // One name per check: dash's "command -v a b" answers for one only.
        if (std::system(("command -v '" + std::string(name) + "' >/dev/null 2>&1").c_str()) != 0)
            missing += (missing.empty() ? "" : " ") + std::string(name);
    }
    return missing;
}

std::vector<unsigned char> RunCapture(const std::string& command)
{
    std::vector<unsigned char> out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot run: " + command);
    unsigned char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.insert(out.end(), buffer, buffer + n);
    pclose(pipe);
    return out;
}

std::vector<unsigned char> FfmpegDecode(const fs::path& path, const std::string& rawFormat)
{
    return RunCapture("ffmpeg -nostdin -v quiet -i '" + path.string() + "' -f " + rawFormat + " -");
}

std::map<std::string, std::string> FfprobeTags(const fs::path& path)
{
    auto out = RunCapture("ffprobe -v error -show_entries format_tags -of default=nw=1 '" + path.string() + "'");
    std::map<std::string, std::string> tags;
    std::string text(out.begin(), out.end());
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        std::size_t equals = line.find('=');
        if (line.starts_with("TAG:") && equals != std::string::npos)
            tags[line.substr(4, equals - 4)] = line.substr(equals + 1);
    }
    return tags;
}

TempDir::TempDir()
{
    std::random_device random;
    path_ = fs::temp_directory_path() / ("kolvex-test-" + std::to_string(random()));
    fs::create_directories(path_);
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::uint32_t Le32(const std::vector<unsigned char>& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}

std::uint16_t Le16(const std::vector<unsigned char>& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

}  // namespace testing_support
