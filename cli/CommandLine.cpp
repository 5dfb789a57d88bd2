#include "cli/CommandLine.h"

#include "cli/CollectionOptions.h"

#include "rows/NamePattern.h"
#include "platform/core/Strings.h"

#include <CLI/CLI.hpp>

namespace {

// "MIN-MAX" with 8 <= MIN <= MAX <= 320.
std::string CheckVbrRange(const std::string& text)
{
    int low = 0, high = 0;
    char dash = 0;
    std::istringstream in(text);
    if (!(in >> low >> dash >> high) || dash != '-' || !in.eof())
        return "expected MIN-MAX in kbit/s, for example 64-192";
    if (low < 8 || high > 320 || low > high)
        return "the range must lie within 8-320 kbit/s with MIN <= MAX";
    return {};
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(int argc, char** argv, int& exitCode)
{
    CommandLine options;
    CLI::App app{"Converts Monkey's Audio files and CUE-sheet album images to MP3 or WAV.\n"
                 "Options override the stored settings for this run only."};
    app.set_version_flag("--version", "kolvex-convert 1.1");

    bool mp3 = false;
    auto* mp3Flag = app.add_flag("--mp3", mp3, "write MP3 files (the default)");
    app.add_flag("--wav", options.wav, "write WAV files")->excludes(mp3Flag);
    app.add_option("-o,--output", options.outputDirectory,
                   "output directory, created when missing (default: the stored one, else beside each source)");
    auto* cbr = app.add_option("--cbr", options.cbrRate, "constant bit rate in kbit/s")->check(CLI::Range(8, 320));
    std::string vbr;
    app.add_option("--vbr", vbr, "variable bit rate range MIN-MAX in kbit/s")->check(CheckVbrRange)->excludes(cbr);
    app.add_option("--quality", options.quality, "encoder quality, 0 (best) to 9 (fastest)")->check(CLI::Range(0, 9));
    bool resample = false, noResample = false;
    auto* resampleFlag = app.add_flag("--resample", resample, "bring WAV output to 16-bit 44100 Hz");
    app.add_flag("--no-resample", noResample, "keep WAV output at the source's rate")->excludes(resampleFlag);
    bool yes = false, no = false;
    auto* yesFlag = app.add_flag("--yes", yes, "overwrite existing output files without asking");
    app.add_flag("--no", no, "keep existing output files without asking")->excludes(yesFlag);
    app.add_option("--settings", options.settingsFile, "settings file to read (default: configure.dat beside the program)")
        ->check(CLI::ExistingFile);
    app.add_flag("--list", options.list, "list the rows the files make and their tags, without converting");
    app.add_flag("--no-tags", options.noTags, "write the output files without tags");
    app.add_flag("--whole", options.whole, "convert an album image as one file, although a CUE sheet lies beside it");
    app.add_option("--name", options.namePattern,
                   "name outputs by PATTERN: %n track number, %t title, %a artist, %A album, %y year, "
                   "%f source file name, / for sub-folders (e.g. \"%a/%A/%n - %t\")")
        ->check([](const std::string& pattern) {
            auto why = CheckNamePattern(win::FromUtf8(pattern));
            return why ? win::ToUtf8(*why) : std::string();
        });
    app.add_option("-j,--jobs", options.jobs, "rows converted at once, each by its own worker (default: the cores)")
        ->check(CLI::Range(1, 256));
    app.add_option("--threads", options.threads,
                   "threads one row may use for decoding and encoding (default: cores / rows running at once)")
        ->check(CLI::Range(1, 256));
    AddCollectionOptions(app, options);
    app.add_option("files", options.files, ".ape files, .cue sheets and RealMedia files to add (folders with -r)")
        ->required()
        ->check(CLI::ExistingPath);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        exitCode = app.exit(e) == 0 ? 0 : 2;
        return std::nullopt;
    }
    if (!vbr.empty()) {
        auto dash = vbr.find('-');
        options.vbrRange = std::make_pair(std::stoi(vbr.substr(0, dash)), std::stoi(vbr.substr(dash + 1)));
    }
    if (resample || noResample)
        options.resample = resample;
    if (std::string why = CheckCollectionOptions(options); !why.empty()) {
        std::fprintf(stderr, "kolvex-convert: %s\n", why.c_str());
        exitCode = 2;
        return std::nullopt;
    }
    options.overwrite = yes ? CommandLine::Answer::Yes : no ? CommandLine::Answer::No : CommandLine::Answer::Ask;
    return options;
}
