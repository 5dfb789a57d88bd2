// kolvex-convert: adds files and album images the way the window's "add"
// does, converts the rows with the same engine, shows progress and ends
// with a summary. Rows convert side by side (-j), each by its own worker.
// With -r it converts whole collections, skipping what is up to date, or
// prints a plan of commands for parallel (see CollectionRun).
// Exit status: 0 when every row produced its file (or was
// skipped because its file exists), 1 otherwise, 2 on bad usage, 128 + the
// signal when interrupted.
#include "cli/CollectionRun.h"
#include "cli/CommandLine.h"
#include "cli/DisplayText.h"
#include "cli/InputCheck.h"
#include "cli/ListCheck.h"
#include "cli/OutputFormats.h"
#include "cli/JsonReport.h"
#include "cli/OutputChoice.h"
#include "cli/OutputPlan.h"
#include "cli/OverwriteAnswers.h"
#include "cli/ProgressDisplay.h"
#include "cli/RepeatedInputs.h"
#include "cli/RunSettings.h"
#include "cli/RunStatus.h"
#include "cli/SignalWatcher.h"
#include "cli/Summary.h"

#include "cue/AudioExtensions.h"
#include "cue/CueCharset.h"
#include "engine/BatchController.h"
#include "rows/ConversionList.h"
#include "rows/NamePattern.h"
#include "rows/OutputNaming.h"
#include "rows/PlainList.h"
#include "rows/StatusTexts.h"
#include "settings/ConversionSettings.h"

#include "platform/core/FileNameFit.h"
#include "platform/core/Module.h"
#include "platform/core/PathParts.h"
#include "platform/core/Strings.h"
#include "platform/core/WorkThreads.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>

namespace {

void ListRows(ConversionList& rows, const PlainList& list)
{
    std::printf("%4s  %-40s %-9s %s\n", "row", "name", "length", "start - end (s)");
    for (const auto& [key, record] : rows.Rows()) {
        std::string name = DisplayText(list.Rows().at(key).name);
        char end[32] = "end";
        if (record->endMs > 0)
            std::snprintf(end, sizeof end, "%.3f", record->endMs / 1000.0);
        std::printf("%4d  %-40s %-9s %.3f - %s\n", key, name.c_str(),
                    win::ToUtf8(DurationText(record->lengthMs)).c_str(), record->startMs / 1000.0, end);
        if (!record->imageNote.empty())
            std::printf("        image: %s\n", DisplayText(record->imageNote).c_str());
        if (!record->problem.empty())
            std::printf("        fails: %s\n", DisplayText(record->problem).c_str());
        for (const auto& [field, values] : record->tags.fields)
            for (const auto& value : values)
                std::printf("        %s=%s\n", field.c_str(), DisplayText(value).c_str());
    }
}

// Adds every argument it can convert; says why it leaves the others out.
int AddInputs(const std::vector<std::string>& files, ConversionList& rows, bool whole)
{
    int failures = 0;
    for (const auto& file : files) {
        std::string shown = DisplayText(win::FromUtf8(file));
        InputCheck check = CheckInput(file);
        if (check.verdict != InputCheck::Take) {
            bool folder = check.verdict == InputCheck::SkipDirectory;
            std::fprintf(stderr, "kolvex-convert: %s: %s; %s\n", shown.c_str(), check.reason.c_str(),
                         folder ? "skipped" : "left out");
            failures += folder ? 0 : 1;
            continue;
        }
        std::wstring path = win::FromUtf8(std::filesystem::absolute(file).lexically_normal().string());
        if ((whole ? rows.AddWhole(path) : rows.Add(path)) > 0)
            continue;
        // A broken sheet beside an image must not keep the image from
        // being converted: as one file, then.
        if (auto extension = ExtensionOf(path); extension && IsAudioExtension(*extension)) {
            std::fprintf(stderr, "kolvex-convert: %s: warning: its CUE sheet lists no tracks; converting it as one file\n",
                         shown.c_str());
            rows.AddWhole(path);
            continue;
        }
        std::fprintf(stderr, "kolvex-convert: %s: its CUE sheet lists no tracks; nothing to convert\n", shown.c_str());
        ++failures;
    }
    return failures;
}

void PrintFormat(std::int32_t kind, const BatchSettings& batch)
{
    const ConversionSettings& s = batch.stored;
    std::wstring format = kind == kOutputFlac || kind == kOutputOpus ? EncodedFormatLine(kind, batch)
                          : kind == kOutputMp3 ? Mp3FormatLine(s.cbrFlag != 0, static_cast<int>(s.mp3.cbrBitRate),
                                                             static_cast<int>(s.mp3.vbrMinimum),
                                                             static_cast<int>(s.mp3.vbrMaximum),
                                                             static_cast<int>(s.mp3.quality))
                                             : WaveFormatLine(s.resamplingFlag != 0);
    std::wstring directory = s.HasOutputDirectory() ? s.OutputDirectory() : L"(beside each source)";
    std::printf("%s\n%s\n", win::ToUtf8(format).c_str(), DisplayText(OutputDirectoryLine(directory)).c_str());
    std::fflush(stdout);
}

// Every output named by the user's pattern, inside the output folder (or
// the source's folder when none is set).
void NameByPattern(RowTable& rows, const std::wstring& pattern, std::int32_t kind, const ConversionSettings& settings)
{
    const wchar_t* extension = OutputExtension(kind);
    for (auto& [key, record] : rows) {
        std::wstring directory = settings.HasOutputDirectory() ? settings.OutputDirectory()
                                                                : std::wstring(DirectoryOf(record->sourcePath));
        if (!directory.empty() && !directory.ends_with(L'/'))
            directory += L'/';
        record->outputPath = win::FitPathFileName(PatternOutputPath(pattern, *record, directory, extension));
    }
}

// Rows side by side share the cores: unless told otherwise, each row's
// decoding and encoding use what is left per running row.
int RowsAtOnce(const CommandLine& options, int marked)
{
    int jobs = options.jobs.value_or(win::CoreCount());
    int running = std::max(1, std::min(jobs, marked));
    win::SetRowThreads(options.threads.value_or(std::max(1, win::CoreCount() / running)));
    return jobs;
}

bool EncoderAvailable()
{
    win::HMODULE encoder = win::LoadLibrary(L"lame_enc");
    if (!encoder) {
        std::fprintf(stderr, "kolvex-convert: cannot load the MP3 encoder module lame_enc.so "
                             "(looked beside the program, then on the library path)\n");
        return false;
    }
    win::FreeLibrary(encoder);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    SignalWatcher signals;
    int exitCode = 0;
    auto options = ParseCommandLine(argc, argv, exitCode);
    if (!options)
        return exitCode;
    if (std::string why = SettingsFileProblem(*options); !why.empty()) {
        std::fprintf(stderr, "kolvex-convert: %s\n", why.c_str());
        return 1;
    }
    const RunSettings run(*options);
    const ConversionSettings& settings = run.Stored();
    if (!run.FolderProblem().empty())
        std::fprintf(stderr, "kolvex-convert: warning: %s; writing beside each source\n",
                     DisplayText(run.FolderProblem()).c_str());
    std::int32_t kind = ChosenOutputKind(*options);

    std::unique_ptr<CollectionRun> collection;
    if (options->recursive) {
        if (!settings.HasOutputDirectory()) {
            std::fprintf(stderr, "kolvex-convert: -r needs the folder to write to: -o DEST\n");
            return 2;
        }
        collection = std::make_unique<CollectionRun>(*options, settings.OutputDirectory(),
                                                     OutputArguments(*options, kind, settings));
        if (!collection->Scan())
            return 2;
        if (options->plan) {
            collection->PrintPlan(stdout);
            return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
        }
    }

    if (!options->cueCharset.empty())
        SetCueCharsetOverride(options->cueCharset);
    options->files = DropRepeatedInputs(options->files);
    PlainList list;
    ConversionList rows(list);
    auto addInputs = [&](const std::vector<std::string>& files) { return AddInputs(files, rows, options->whole); };
    int failures = collection ? collection->AddTo(rows.Rows(), addInputs) : addInputs(options->files);
    // The tags still name the outputs (%t, %n...); they are only not written.
    if (options->noTags)
        for (auto& [key, record] : rows.Rows())
            record->writeTags = false;
    if (options->list) {
        ListRows(rows, list);
        std::fflush(stdout);
        failures += ReportUnreadableSources(rows.Rows());
        return failures ? 1 : 0;
    }

    if (kind == kOutputMp3 && !EncoderAvailable())
        return 1;
    rows.MarkChecked();
    rows.PrepareOutputs(kind, settings.OutputDirectory());
    if (!options->namePattern.empty())
        NameByPattern(rows.Rows(), win::FromUtf8(options->namePattern), kind, settings);
    if (collection)
        collection->Mirror(rows.Rows());
    GiveDistinctNames(rows.Rows());
    LeftOutRows leftOut;
    std::string named = win::ToUtf8(settings.OutputDirectory());
    while (named.size() > 1 && named.back() == '/')
        named.pop_back();
    MadeFolders made(named);
    PrepareOutputFolders(rows.Rows(), leftOut, made);
    for (const auto& [key, left] : leftOut)
        std::fprintf(stderr, "kolvex-convert: %s\n", DisplayText(left.reason).c_str());
    PrintFormat(kind, run.Snapshot());

    OverwriteAnswers answers(options->overwrite);
    bool resampling = kind == kOutputWav && settings.resamplingFlag;
    auto keep = [&](const std::wstring& path) {
        // What an earlier run of the collection made and is now stale goes without a question.
        if (collection && collection->MadeBefore(path)) {
            answers.Agree(path);
            return false;
        }
        return answers.Keep(path);
    };
    LeaveOutKeptFiles(rows.Rows(), resampling, keep, leftOut);
    int marked = 0;
    for (const auto& [key, record] : rows.Rows())
        marked += record->marked ? 1 : 0;

    ProgressDisplay display(rows.Rows(), list, marked, stdout, answers);
    RunStatus status(display);
    status.Expect(rows.Rows(), collection ? collection->Albums() : std::vector<std::vector<std::int32_t>>());
    display.ShowOverview(&status);
    {
        BatchController batch;
        display.OnOutputError([&batch] { batch.Cancel(); });
        batch.SetRows(&rows.Rows());
        batch.SetRowsAtOnce(RowsAtOnce(*options, marked));
        if (!batch.Start(run.Snapshot(), status)) {
            std::fprintf(stderr, "kolvex-convert: the conversion could not be started\n");
            return 1;
        }
        signals.Watch(&batch);
        batch.Wait();
        signals.Watch(nullptr);
    }
    // A folder made for rows that all failed is not left behind empty.
    made.RemoveEmpty();
    const auto statusRows = status.Rows();
    if (std::string why; collection && !collection->Remember(rows.Rows(), statusRows, why)) {
        std::fprintf(stderr, "kolvex-convert: cannot record what was made in the output folder: %s\n", why.c_str());
        ++failures;
    }

    // A closed or full standard output still gets the summary, on stderr.
    int failed = 0;
    if (!display.OutputFailed() && !std::ferror(stdout)) {
        failed = PrintSummary(stdout, rows.Rows(), list, display.Outcomes(), leftOut);
        std::fflush(stdout);
    }
    if (display.OutputFailed() || std::ferror(stdout))
        failed = PrintSummary(stderr, rows.Rows(), list, display.Outcomes(), leftOut);
    failures += failed;
    if (collection && collection->UpToDateCount() > 0)
        std::printf("  %d album(s) and track(s) up to date, left as they were\n", collection->UpToDateCount());
    int leftFailed = 0;
    for (const auto& [key, left] : leftOut)
        leftFailed += left.failed ? 1 : 0;
    std::printf("%s\n", status.TotalsLine(leftFailed, static_cast<int>(leftOut.size()) - leftFailed,
                                          collection ? collection->UpToDateCount() : 0)
                            .c_str());
    if (!options->jsonFile.empty()) {
        auto records = RowRecords(rows.Rows(), statusRows, leftOut);
        if (collection) {
            auto current = collection->UpToDateRecords();
            records.insert(records.end(), current.begin(), current.end());
        }
        if (std::string why; !WriteJsonReport(options->jsonFile, records, why)) {
            std::fprintf(stderr, "kolvex-convert: cannot write %s: %s\n", options->jsonFile.c_str(), why.c_str());
            ++failures;
        }
    }
    if (int s = signals.Signal())
        return 128 + s;
    return failures == 0 ? 0 : 1;
}
