// Running kolvex-convert from a test as a user would: through the shell,
// with no terminal on standard input, capturing what it prints and its exit
// status.
#pragma once

#include <filesystem>
#include <string>

struct Result {
    int status = -1;
    std::string output;  // standard output and standard error together
};

// Runs a shell script in which $K is the converter.
Result Shell(const std::string& script);
// Runs the converter with `arguments`.
Result Convert(const std::string& arguments);
bool Has(const Result& r, const std::string& text);

// A path quoted for the shell.
std::string Q(const std::filesystem::path& path);
