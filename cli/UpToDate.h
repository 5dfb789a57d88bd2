// What a collection run made before, kept in DEST/.kolvex-manifest: for
// every output, the input it came from, how many outputs that input makes,
// the output settings it was made with and the times its sources had then.
// An input is up to date, and is not even opened, when all its outputs are
// there, newer than its sources, and were made from the same sources with
// the same settings.
#pragma once

#include "cli/CollectionScan.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// A source's path and modification time (nanoseconds); -1 when it is missing.
using SourceStamp = std::pair<std::string, std::int64_t>;

std::vector<SourceStamp> StampsOf(const std::vector<std::string>& sources);

class Manifest {
public:
    struct Entry {
        std::string input;
        int outputs = 0;  // how many the input makes in all
        std::string settings;
        std::vector<SourceStamp> sources;
    };

    // `folder`: DEST, without the trailing "/".
    explicit Manifest(const std::string& folder);

    // Reads the file; a missing or foreign one counts as empty (everything
    // is redone), never as an error.
    void Load();
    // Writes the file safely; false with `error` set when it cannot be.
    bool Save(std::string& error) const;

    bool UpToDate(const CollectionInput& input, const std::vector<SourceStamp>& stamps,
                  const std::string& settings) const;
    // The output was made by an earlier run: replacing it loses nothing of the user's.
    bool Made(const std::string& output) const { return entries_.count(output) > 0; }
    std::vector<std::string> OutputsOf(const std::string& input) const;

    void Forget(const std::string& input);
    void Remember(const std::string& output, Entry entry);

    const std::string& Path() const { return path_; }

private:
    std::string path_;
    std::map<std::string, Entry> entries_;                     // by output path
    std::map<std::string, std::vector<std::string>> byInput_;  // the outputs of each input
};
