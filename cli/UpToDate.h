// What a collection run made before, kept in DEST/.kolvex-manifest: for
// every output, the input it came from, how many outputs that input makes,
// the output settings it was made with and the times its sources had then.
// An input is up to date, and is not even opened, when all its outputs are
// there, newer than its sources, and were made from the same sources with
// the same settings. In memory it is held by input, each settings text once.
#pragma once

#include "cli/CollectionScan.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

// A source's path and modification time (nanoseconds); -1 when it is missing.
using SourceStamp = std::pair<std::string, std::int64_t>;

std::vector<SourceStamp> StampsOf(const std::vector<std::string>& sources);

class Manifest {
public:
    // `folder`: DEST, without the trailing "/".
    explicit Manifest(const std::string& folder);

    // Reads the file; a missing or foreign one counts as empty (everything
    // is redone), never as an error.
    void Load();
    // Writes the file safely; false with `error` set when it cannot be.
    bool Save(std::string& error) const;

    bool UpToDate(const std::string& input, const std::vector<SourceStamp>& stamps,
                  const std::string& settings) const;
    // What an earlier run made from `input`; empty when nothing.
    std::vector<std::string> OutputsOf(const std::string& input) const;

    void Forget(const std::string& input);
    // `output` was made from `input`, one of the `outputs` it makes.
    void Remember(const std::string& output, const std::string& input, int outputs, const std::string& settings,
                  const std::vector<SourceStamp>& sources);

    const std::string& Path() const { return path_; }

private:
    struct Record {
        int outputs = 0;
        const std::string* settings = nullptr;  // in settings_
        std::vector<SourceStamp> sources;
        std::vector<std::string> made;
    };

    std::string path_;
    std::map<std::string, Record> inputs_;
    std::set<std::string> settings_;
};
