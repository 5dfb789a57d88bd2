// kolvex-convert -r: a whole collection in one run. The folders given are
// walked for albums and loose tracks; what an earlier run made with the same
// sources and settings is left as it is without opening anything; the rest
// is added as rows whose outputs mirror the source tree under DEST; after
// the batch, what was made is remembered for the next run.
//
// With album gain, a file's gain depends on every track of its album, and
// an album is known only once its files are opened (the rows of one folder
// with one album title). So the inputs of a folder go together: when one of
// them is not up to date, all of them are redone, and a file that did not
// get its album's gain is remembered as made without it, which this
// setting does not count as up to date.
#pragma once

#include "cli/CollectionScan.h"
#include "cli/CommandLine.h"
#include "cli/JsonReport.h"
#include "cli/RunStatus.h"
#include "cli/UpToDate.h"

#include "engine/ConversionItem.h"

#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

class CollectionRun {
public:
    // `destination`: DEST with its trailing "/"; `settings`: OutputArguments of the run.
    CollectionRun(const CommandLine& options, const std::wstring& destination, std::vector<std::string> settings);

    // Walks the sources and decides what is up to date. Warnings go to
    // stderr; false when a source is no folder.
    bool Scan();
    // --plan: the commands that convert what is not up to date.
    void PrintPlan(std::FILE* out) const;

    // Adds every input that is not up to date through `add` (which adds
    // the given files as rows); returns what `add` returned in all.
    int AddTo(RowTable& rows, const std::function<int(const std::vector<std::string>&)>& add);
    int ToDo() const { return static_cast<int>(todo_.size()); }
    int UpToDateCount() const { return upToDate_; }
    // The rows of each input added, for the run's overview.
    std::vector<std::vector<std::int32_t>> Albums() const;
    // Puts each named output in its input's folder under DEST.
    void Mirror(RowTable& rows) const;
    // An earlier run made this file: replacing it asks nobody.
    bool MadeBefore(const std::wstring& output) const;

    // Remembers the outputs the batch made; false (with `error`) when the
    // manifest cannot be written.
    bool Remember(const RowTable& rows, const std::map<std::int32_t, RunStatus::Row>& status, std::string& error);
    // The outputs left as they were, for --json.
    std::vector<ReportRecord> UpToDateRecords() const;

private:
    struct Pending {
        CollectionInput input;
        std::vector<SourceStamp> stamps;  // as they were when the run began
        std::vector<std::int32_t> keys;   // the rows it made
    };
    struct Found {
        CollectionInput input;
        std::vector<SourceStamp> stamps;
        bool current = false;
    };

    // The inputs found in one folder: each is up to date or to do.
    void Take(std::vector<Found>& folder);

    const CommandLine& options_;
    std::string destination_;  // without the trailing "/"
    std::vector<std::string> settings_;
    std::string fingerprint_;
    bool albumGain_ = false;
    std::string withoutAlbumGain_;  // the fingerprint of files made without it
    Manifest manifest_;
    std::vector<Pending> todo_;
    int upToDate_ = 0;
    std::vector<std::string> current_;  // the inputs up to date, kept for --json only
    std::set<std::string> madeBefore_;  // what earlier runs made from the inputs to do
};
