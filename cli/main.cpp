// kolvex-convert: adds files and album images the way the window's "add"
// does, converts the rows with the same engine, shows progress and ends
// with a summary. Exit status: 0 when every row produced its file, 1
// otherwise, 2 on bad usage.
#include "cli/CommandLine.h"
#include "cli/PartialOutput.h"
#include "cli/ProgressDisplay.h"
#include "cli/ReportWindow.h"
#include "cli/RunSettings.h"
#include "cli/TerminalBackend.h"

#include "app/ConversionList.h"
#include "app/PlainList.h"
#include "app/StatusTexts.h"
#include "engine/BatchController.h"
#include "engine/MainWindowHandle.h"
#include "settings/ConversionSettings.h"

#include "platform/backend/Backend.h"
#include "platform/core/Files.h"
#include "platform/core/Module.h"
#include "platform/core/Strings.h"

#include <cstdio>
#include <filesystem>
#include <set>

namespace {

std::string Utf8(const std::wstring& text) { return win::ToUtf8(text); }

void ListRows(ConversionList& rows, const PlainList& list)
{
    std::printf("%4s  %-40s %-9s %s\n", "row", "name", "length", "start - end (s)");
    for (const auto& [key, record] : rows.Rows()) {
        std::string name = Utf8(list.Rows().at(key).name);
        char end[32] = "end";
        if (record->endMs > 0)
            std::snprintf(end, sizeof end, "%.3f", record->endMs / 1000.0);
        std::printf("%4d  %-40s %-9s %.3f - %s\n", key, name.c_str(), Utf8(DurationText(record->lengthMs)).c_str(),
                    record->startMs / 1000.0, end);
    }
}

// Why a row produced no file, when it did not.
const char* Reason(const ConversionItem& row, const RowOutcome* outcome, bool existedBefore)
{
    if (outcome && outcome->done)
        return outcome->written ? nullptr : "the output file could not be written";
    switch (row.inputKind) {
    case kInputRealMedia: return "RealMedia files are only measured, not converted";
    case kInputWav:
    case kInputMp3:
    case kInputOther: return "not an APE file or CUE album image";
    }
    if (existedBefore)
        return "kept the existing file (not overwritten)";
    return "could not be read as an APE file or album image";
}

}  // namespace

int main(int argc, char** argv)
{
    int exitCode = 0;
    auto options = ParseCommandLine(argc, argv, exitCode);
    if (!options)
        return exitCode;
    RunSettings settings(*options);
    if (!settings.Error().empty()) {
        std::fprintf(stderr, "kolvex-convert: %s\n", settings.Error().c_str());
        return 1;
    }

    PlainList list;
    ConversionList rows(list);
    int failures = 0;
    for (const auto& file : options->files) {
        std::wstring path = win::FromUtf8(std::filesystem::absolute(file).lexically_normal().string());
        if (rows.Add(path) == 0) {
            std::fprintf(stderr, "%s: its CUE sheet lists no tracks; nothing to convert\n", file.c_str());
            ++failures;
        }
    }
    if (options->list) {
        ListRows(rows, list);
        return failures ? 1 : 0;
    }

    std::int32_t kind = options->wav ? kOutputWav : kOutputMp3;
    if (kind == kOutputMp3) {
        win::HMODULE encoder = win::LoadLibrary(L"lame_enc");
        if (!encoder) {
            std::fprintf(stderr, "kolvex-convert: cannot load the MP3 encoder module lame_enc.so "
                                 "(looked beside the program, then on the library path)\n");
            return 1;
        }
        win::FreeLibrary(encoder);
    }
    rows.MarkChecked();
    rows.PrepareOutputs(kind, g_settings.OutputDirectory());
    std::set<std::int32_t> existedBefore;
    int marked = 0;
    for (const auto& [key, record] : rows.Rows()) {
        marked += record->marked ? 1 : 0;
        if (record->marked && win::FileExists(record->outputPath))
            existedBefore.insert(key);
    }

    const ConversionSettings& s = g_settings;
    std::wstring format = kind == kOutputMp3 ? Mp3FormatLine(s.cbrFlag != 0, static_cast<int>(s.mp3.cbrBitRate),
                                                             static_cast<int>(s.mp3.vbrMinimum),
                                                             static_cast<int>(s.mp3.vbrMaximum),
                                                             static_cast<int>(s.mp3.quality))
                                             : WaveFormatLine(s.resamplingFlag != 0);
    std::printf("%s\n%s\n", Utf8(format).c_str(),
                Utf8(OutputDirectoryLine(s.HasOutputDirectory() ? s.OutputDirectory() : L"(beside each source)")).c_str());
    std::fflush(stdout);

    TerminalBackend backend(options->overwrite);
    win::SetBackend(&backend);
    partial_output::Install();
    ProgressDisplay display(rows.Rows(), list, marked, stdout);
    {
        ReportWindow report(display);
        g_mainWindow = report.Handle();
        BatchController batch;
        batch.SetRows(&rows.Rows());
        batch.Start(kind == kOutputMp3 ? 1 : 0, report.Handle());
        report.RunUntilBatchDone();
        batch.Wait();
        g_mainWindow = nullptr;
    }
    win::SetBackend(nullptr);

    std::printf("\nSummary:\n");
    for (const auto& [key, record] : rows.Rows()) {
        if (!record->marked)
            continue;
        auto it = display.Outcomes().find(key);
        const char* why = Reason(*record, it == display.Outcomes().end() ? nullptr : &it->second,
                                 existedBefore.count(key) != 0);
        std::printf("  %-8s %s -> %s%s%s\n", why ? "FAILED" : "OK", Utf8(list.Rows().at(key).name).c_str(),
                    Utf8(record->outputPath).c_str(), why ? ": " : "", why ? why : "");
        failures += why ? 1 : 0;
    }
    return failures == 0 ? 0 : 1;
}
