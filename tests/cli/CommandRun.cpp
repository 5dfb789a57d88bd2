#include "tests/cli/CommandRun.h"

#include "tests/support/TestFiles.h"

#include <cstdlib>

namespace fs = std::filesystem;

Result Shell(const std::string& script)
{
    const char* bin = std::getenv("KOLVEX_BIN");
    std::string converter = Q(fs::path(bin ? bin : ".") / "kolvex-convert");
    auto bytes = testing_support::RunCapture("K=" + converter + "; (" + script + ") </dev/null 2>&1; echo \"EXIT=$?\"");
    std::string text(bytes.begin(), bytes.end());
    Result result;
    auto at = text.rfind("EXIT=");
    result.status = std::stoi(text.substr(at + 5));
    result.output = text.substr(0, at);
    return result;
}

Result Convert(const std::string& arguments) { return Shell("$K " + arguments); }

bool Has(const Result& r, const std::string& text) { return r.output.find(text) != std::string::npos; }

std::string Q(const fs::path& path) { return "'" + path.string() + "'"; }
