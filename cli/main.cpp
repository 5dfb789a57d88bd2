// kolvex-convert: converts APE files to WAV with the conversion engine, one
// row per file, and reports each row's result.
#include "cli/ReportWindow.h"

#include "engine/BatchController.h"
#include "engine/ConversionItem.h"
#include "engine/MainWindowHandle.h"

#include "platform/Files.h"
#include "platform/Strings.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

// Output name: the chosen directory (or the source's own) + the file name
// up to and including its last "." + the new extension.
std::wstring OutputPathFor(const std::wstring& source, const std::wstring& directory, const wchar_t* extension)
{
    auto slash = source.rfind(L'/');
    std::wstring dir = slash == std::wstring::npos ? std::wstring() : source.substr(0, slash + 1);
    std::wstring name = slash == std::wstring::npos ? source : source.substr(slash + 1);
    auto dot = name.rfind(L'.');
    std::wstring base = dot == std::wstring::npos ? name : name.substr(0, dot + 1);
    return (directory.empty() ? dir : directory) + base + extension;
}

}  // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Converts Monkey's Audio files to WAV."};
    bool wav = false;
    std::string outputDir;
    std::vector<std::string> files;
    app.add_flag("--wav", wav, "write WAV files (the only output of this version)")->required();
    app.add_option("-o,--output", outputDir, "output directory (default: beside each source)")
        ->check(CLI::ExistingDirectory);
    app.add_option("files", files, "APE files to convert")->required();
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        int code = app.exit(e);
        return code == 0 ? 0 : 2;
    }

    std::wstring directory = win::FromUtf8(outputDir);
    if (!directory.empty() && directory.back() != L'/')
        directory += L'/';

    RowTable rows;
    std::vector<std::unique_ptr<ConversionItem>> items;
    for (const auto& file : files) {
        auto item = std::make_unique<ConversionItem>();
        item->SetPath(win::FromUtf8(file));
        item->rowKey = static_cast<std::int32_t>(items.size());
        item->outputKind = kOutputWav;
        item->outputPath = OutputPathFor(item->sourcePath, directory, L"wav");
        item->marked = 1;
        rows[item->rowKey] = item.get();
        items.push_back(std::move(item));
    }

    ReportWindow report;
    g_mainWindow = report.Handle();
    BatchController batch;
    batch.SetRows(&rows);
    batch.Start(kOutputWav, report.Handle());
    report.RunUntilBatchDone();
    batch.Wait();
    g_mainWindow = nullptr;

    int failures = 0;
    for (const auto& item : items) {
        auto it = report.Outcomes().find(item->rowKey);
        bool ok = it != report.Outcomes().end() && it->second.done && !it->second.failed;
        const char* why = ok                                       ? "OK"
                          : it == report.Outcomes().end()          ? "failed: not converted (unreadable source or kept existing file)"
                                                                   : "failed: the output file could not be written";
        std::printf("%s -> %s: %s\n", win::ToUtf8(item->sourcePath).c_str(), win::ToUtf8(item->outputPath).c_str(), why);
        failures += ok ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
