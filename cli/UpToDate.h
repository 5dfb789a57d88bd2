// What a collection run made before, kept in DEST/.kolvex-manifest: for
// every output, the input it came from, how many outputs that input makes,
// the output settings it was made with and the times its sources had then.
// An input is up to date, and is not even opened, when all its outputs are
// there, newer than its sources, and were made from the same sources with
// the same settings.
//
// A collection may hold hundreds of thousands of files, so the file is not
// held in memory: loading keeps, per input, a hash of its path and where
// its lines lie, and a question about an input reads just those lines
// again. Only what this run makes is held whole.
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
    ~Manifest();
    Manifest(const Manifest&) = delete;
    Manifest& operator=(const Manifest&) = delete;

    // Reads the file; a missing or foreign one counts as empty (everything
    // is redone), never as an error. The file stays open until the end, so
    // what was read stays what is asked even if the file is replaced.
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
        std::string input;
        int outputs = 0;
        std::string settings;
        std::vector<SourceStamp> sources;
        std::vector<std::string> made;
    };

    // Consecutive lines of the file that say the same of one input.
    struct Span {
        std::uint64_t hash = 0;  // of the input's path
        std::uint64_t offset = 0;
        std::uint32_t length = 0;
        bool latest = true;  // false when a later span speaks of the same input
    };

    bool Read(const Span& span, std::string& bytes) const;
    bool ReadRecord(const Span& span, Record& record) const;
    // The file's latest word on `input`; false when it says nothing.
    bool Find(const std::string& input, Record& record) const;
    // This run's word on `input`: nullptr when it has none.
    const Record* Fresh(const std::string& input, bool& forgotten) const;

    std::string path_;
    int fd_ = -1;
    std::vector<Span> spans_;            // by hash, then by place in the file
    std::map<std::string, Record> fresh_;  // remembered in this run
    std::set<std::string> forgotten_;    // inputs whose old record no longer holds
};
