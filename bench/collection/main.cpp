// How kolvex-convert -r copes with a large collection, on trees of small
// files made here: a whole run over 20,000 files of which every track is
// already converted (the walk, the manifest and the decision, nothing
// decoded), the same over 2,000 files to show that memory stays flat (within
// 1.5 MB), and --plan over 1,000 albums with sheets. Prints wall time and peak memory.
// Usage: bench_collection [program folder]   (default: ../bin beside this)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Timed {
    double seconds = 0.0;
    long peakKiB = 0;
    int status = -1;
};

// Runs `command` through the shell with its output to `log`.
Timed Run(const std::string& command, const fs::path& log)
{
    auto begin = std::chrono::steady_clock::now();
    pid_t child = fork();
    if (child == 0) {
        std::string line = command + " >" + log.string() + " 2>&1";
        execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    Timed timed;
    timed.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    timed.peakKiB = usage.ru_maxrss;
    timed.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return timed;
}

std::int64_t ModifiedNs(const fs::path& path)
{
    struct stat st {};
    stat(path.c_str(), &st);
    return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

// `files` files in folders of ten: eight tracks, a cover and notes. Every
// track has its output under `dest` and a line in the manifest, as a run
// with the default settings leaves them, so nothing is to be done.
void MakeConvertedTree(const fs::path& src, const fs::path& dest, int files)
{
    fs::create_directories(dest);
    // The manifest's own format: output, input, outputs of the input,
    // settings, then each source and its time.
    std::ofstream manifest(dest / ".kolvex-manifest");
    manifest << "kolvex-manifest 1\n";
    for (int folder = 0; folder < files / 10; ++folder) {
        std::string relative = "artist" + std::to_string(folder / 20) + "/album" + std::to_string(folder);
        fs::create_directories(src / relative);
        fs::create_directories(dest / relative);
        std::ofstream(src / relative / "cover.jpg") << "JFIF";
        std::ofstream(src / relative / "notes.txt") << "notes";
        for (int track = 1; track <= 8; ++track) {
            std::string name = "track" + std::to_string(track);
            fs::path input = src / relative / (name + ".flac");
            fs::path output = dest / relative / (name + ".mp3");
            std::ofstream(input) << "";
            std::ofstream(output) << "";
            manifest << output.string() << '\t' << input.string() << "\t1\t--mp3 --vbr 64-192 --quality 0\t"
                     << input.string() << '\t' << ModifiedNs(input) << '\n';
        }
    }
}

void MakeAlbums(const fs::path& src, int albums)
{
    for (int album = 0; album < albums; ++album) {
        fs::path folder = src / ("album " + std::to_string(album));
        fs::create_directories(folder);
        std::ofstream(folder / "album.flac") << "";
        std::ofstream(folder / "album.cue") << "FILE \"album.flac\" WAVE\n"
                                               "  TRACK 01 AUDIO\n    TITLE \"One\"\n    INDEX 01 00:00:00\n"
                                               "  TRACK 02 AUDIO\n    TITLE \"Two\"\n    INDEX 01 03:00:00\n";
    }
}

void Report(const char* work, const Timed& timed, const char* goal)
{
    std::printf("%-58s %7.3f s  %7ld KiB  (goal %s)%s\n", work, timed.seconds, timed.peakKiB, goal,
                timed.status == 0 ? "" : "  FAILED");
}

}  // namespace

int main(int argc, char** argv)
{
    fs::path bin = argc > 1 ? fs::path(argv[1]) : fs::canonical("/proc/self/exe").parent_path().parent_path() / "bin";
    std::string convert = "'" + (bin / "kolvex-convert").string() + "' --defaults";
    fs::path work = fs::temp_directory_path() / ("kolvex-bench-collection-" + std::to_string(getpid()));
    fs::create_directories(work);

    MakeConvertedTree(work / "small", work / "small-out", 2000);
    MakeConvertedTree(work / "large", work / "large-out", 20000);
    MakeAlbums(work / "albums", 1000);

    Timed small = Run(convert + " -r '" + (work / "small").string() + "' -o '" + (work / "small-out").string() + "'",
                      work / "small.log");
    Timed large = Run(convert + " -r '" + (work / "large").string() + "' -o '" + (work / "large-out").string() + "'",
                      work / "large.log");
    Timed plan = Run(convert + " --plan -r '" + (work / "albums").string() + "' -o '" + (work / "albums-out").string() +
                         "'",
                     work / "plan.log");

    Report("2,000 files, all up to date: scan and decide", small, "-");
    Report("20,000 files, all up to date: scan and decide", large, "< 2 s");
    // The manifest is not held whole: ten times the files, about the same memory.
    long growth = large.peakKiB - small.peakKiB;
    std::printf("peak memory, 20,000 files against 2,000: %+ld KiB  (goal within 1536 KiB)%s\n", growth,
                growth <= 1536 ? "" : "  MISSED");
    Report("1,000 albums with sheets: --plan", plan, "< 5 s");
    std::ifstream planned(work / "plan.log");
    int lines = 0;
    for (std::string line; std::getline(planned, line);)
        lines += line.find("--defaults") != std::string::npos ? 1 : 0;
    std::printf("commands planned: %d; %s\n", lines,
                std::system(("grep -q '16000 album(s) and track(s) up to date' '" + (work / "large.log").string() + "'")
                                .c_str()) == 0
                    ? "all 16,000 tracks found up to date"
                    : "NOT all tracks were found up to date (see the log)");
    fs::remove_all(work);
    return small.status == 0 && large.status == 0 && plan.status == 0 && lines == 1000 && growth <= 1536 ? 0 : 1;
}
