// What the user asked kolvex-convert to do.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CommandLine {
    enum class Answer { Ask, Yes, No };

    bool wav = false;  // MP3 unless --wav, --flac or --opus
    bool flac = false;
    bool opus = false;
    int flacLevel = 5;
    int opusKbps = 160;
    std::string outputDirectory;
    std::optional<int> cbrRate;
    std::optional<std::pair<int, int>> vbrRange;
    std::optional<int> quality;
    std::optional<bool> resample;
    Answer overwrite = Answer::Ask;
    std::string settingsFile;
    bool list = false;
    bool noTags = false;      // leave the outputs untagged
    bool noArt = false;       // no cover picture in MP3, FLAC and Opus
    std::string replayGain;   // "", "track" or "album"
    bool whole = false;       // an image with a sheet beside it as one file
    std::string namePattern;  // output names from tags ("%a/%A/%n - %t")
    std::string cueCharset;   // what sheets without a byte-order mark are read as; "" detects
    std::optional<int> jobs;     // rows converted at once; default: the cores
    std::optional<int> threads;  // threads one row may use; default: cores / running rows
    std::vector<std::string> files;
    bool recursive = false;  // files are folders holding a collection
    bool force = false;      // redo what is up to date
    bool plan = false;       // print the commands instead of converting
    bool defaults = false;   // read no settings file
    std::string jsonFile;    // the rows' outcomes for scripts
};

// Parses the arguments; on bad usage (or --help) prints why and returns the
// exit code to end with instead.
std::optional<CommandLine> ParseCommandLine(int argc, char** argv, int& exitCode);
