#include "cli/CommandLine.h"

#include "cli/CollectionOptions.h"
#include "cli/DisplayText.h"
#include "cue/CueCharset.h"
#include "rows/NamePattern.h"
#include "platform/core/Strings.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <functional>
#include <sstream>

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

// A count from `low` to `high`, said in words when it is not one at all
// (CLI11's own "Value abc not in range" reads as if it were a number).
// CLI11 puts the option's name in front.
std::function<std::string(std::string&)> WholeNumber(int low, int high)
{
    return [=](std::string& text) -> std::string {
        std::size_t sign = text.starts_with('-') ? 1 : 0;
        if (text.size() == sign || text.find_first_not_of("0123456789", sign) != std::string::npos)
            return "'" + text + "' is not a whole number";
        if (text.size() > 9 || std::stoi(text) < low || std::stoi(text) > high)
            return text + " is not between " + std::to_string(low) + " and " + std::to_string(high);
        return {};
    };
}

// CLI11's messages quote the arguments as given; escape sequences in them
// must not reach the terminal.
void PrintSafely(const std::string& text, std::FILE* to)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::fprintf(to, "%s%s", DisplayText(win::FromUtf8(line)).c_str(), end == std::string::npos ? "" : "\n");
        start = end == std::string::npos ? text.size() : end + 1;
    }
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(int argc, char** argv, int& exitCode)
{
    CommandLine options;
    CLI::App app{"Converts Monkey's Audio files and CUE-sheet album images to MP3, WAV, FLAC or Opus.\n"
                 "Options override the stored settings for this run only."};
    app.set_version_flag("--version", "kolvex-convert 1.1");

    bool mp3 = false;
    auto* mp3Flag = app.add_flag("--mp3", mp3, "write MP3 files (the default)");
    auto* wavFlag = app.add_flag("--wav", options.wav, "write WAV files")->excludes(mp3Flag);
    auto* flacFlag = app.add_flag("--flac", options.flac, "write FLAC files (the source's rate, width and channels)")
                         ->excludes(mp3Flag)
                         ->excludes(wavFlag);
    auto* opusFlag = app.add_flag("--opus", options.opus, "write Opus files (48 kHz, variable bit rate)")
                         ->excludes(mp3Flag)
                         ->excludes(wavFlag)
                         ->excludes(flacFlag);
    app.add_option("--flac-level", options.flacLevel, "FLAC compression level, 0 (fastest) to 8 (smallest); default 5")
        ->check(CLI::Range(0, 8));
    app.add_option("--opus-bitrate", options.opusKbps, "Opus average bit rate in kbit/s, 6 to 510; default 160")
        ->check(CLI::Range(6, 510));
    app.add_option("-o,--output", options.outputDirectory,
                   "output directory, created when missing (default: the stored one, else beside each source)");
    auto* cbr = app.add_option("--cbr", options.cbrRate, "constant bit rate in kbit/s")->check(CLI::Range(8, 320));
    std::string vbr;
    app.add_option("--vbr", vbr, "variable bit rate range MIN-MAX in kbit/s")->check(CheckVbrRange)->excludes(cbr);
    app.add_option("--quality", options.quality, "encoder quality, 0 (best) to 9 (fastest)")->check(CLI::Range(0, 9));
    bool resample = false, noResample = false;
    auto* resampleFlag = app.add_flag("--resample", resample, "bring WAV or FLAC output to 16-bit 44100 Hz");
    // Opus is always 48 kHz: the encoder resamples whatever it is given.
    resampleFlag->excludes(opusFlag);
    app.add_flag("--no-resample", noResample, "keep WAV output at the source's rate")->excludes(resampleFlag);
    bool yes = false, no = false;
    auto* yesFlag = app.add_flag("--yes", yes, "overwrite existing output files without asking");
    app.add_flag("--no", no, "keep existing output files without asking")->excludes(yesFlag);
    app.add_option("--settings", options.settingsFile, "settings file to read (default: configure.dat beside the program)")
        ->check(CLI::ExistingFile);
    app.add_flag("--list", options.list, "list the rows the files make and their tags, without converting");
    app.add_flag("--no-tags", options.noTags, "write the output files without tags (and without a cover)");
    app.add_flag("--no-art", options.noArt,
                 "leave the front cover out of MP3, FLAC and Opus files (by default it comes from the source's "
                 "tags, else cover, folder, front or the album title .jpg/.png beside it)");
    app.add_option("--cue-charset", options.cueCharset,
                   "read CUE sheets without a byte-order mark in this charset (e.g. CP1251, SHIFT_JIS, GB18030) "
                   "instead of detecting it")
        ->check([](const std::string& name) {
            return IsKnownCharset(name) ? std::string() : "unknown charset '" + name + "'";
        });
    app.add_flag("--whole", options.whole, "convert an album image as one file, although a CUE sheet lies beside it");
    app.add_option("--name", options.namePattern,
                   "name outputs by PATTERN: %n track number, %t title, %a artist, %A album, %y year, "
                   "%f source file name, / for sub-folders (e.g. \"%a/%A/%n - %t\")")
        ->check([](const std::string& pattern) {
            auto why = CheckNamePattern(win::FromUtf8(pattern));
            return why ? win::ToUtf8(*why) : std::string();
        });
    app.add_option("--replaygain", options.replayGain,
                   "write ReplayGain 2.0 tags (R128 gains in Opus): track, or track and album (the tracks of a "
                   "sheet, or the files of a folder with one album title)")
        ->check(CLI::IsMember({"track", "album"}));
    app.add_option("-j,--jobs", options.jobs, "rows converted at once, each by its own worker (default: the cores)")
        ->transform(CLI::Validator(WholeNumber(1, 256), "1..256"));
    app.add_option("--threads", options.threads,
                   "threads one row may use for decoding and encoding (default: cores / rows running at once)")
        ->transform(CLI::Validator(WholeNumber(1, 256), "1..256"));
    AddCollectionOptions(app, options);
    app.add_option("files", options.files,
                   "sound files (APE, FLAC, WavPack, TTA, WAV, AIFF, ALAC, TAK), CUE sheets and RealMedia files to "
                   "add (folders with -r)")
        ->required()
        ->check(CLI::ExistingPath);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        std::ostringstream out, err;
        exitCode = app.exit(e, out, err) == 0 ? 0 : 2;
        std::fputs(out.str().c_str(), stdout);
        PrintSafely(err.str(), stderr);
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
