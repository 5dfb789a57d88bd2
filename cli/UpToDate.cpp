#include "cli/UpToDate.h"

#include "platform/core/OutputFile.h"
#include "platform/core/Strings.h"

#include <cstdio>
#include <fstream>
#include <sys/stat.h>
#include <algorithm>

namespace {

const char kHeader[] = "kolvex-manifest 1";

std::int64_t ModifiedNs(const struct stat& st)
{
    return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

// Paths may hold tabs and line breaks; fields are tab-separated, one output a line.
std::string Escape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::vector<std::string> SplitFields(const std::string& line)
{
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == '\t') {
            fields.emplace_back();
        } else if (c == '\\' && i + 1 < line.size()) {
            char next = line[++i];
            fields.back() += next == 't' ? '\t' : next == 'n' ? '\n' : next;
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

bool ToNumber(const std::string& text, std::int64_t& value)
{
    try {
        std::size_t used = 0;
        value = std::stoll(text, &used);
        return used == text.size();
    } catch (...) {
        return false;
    }
}

}  // namespace

std::vector<SourceStamp> StampsOf(const std::vector<std::string>& sources)
{
    std::vector<SourceStamp> stamps;
    for (const auto& source : sources) {
        struct stat st;
        stamps.emplace_back(source, stat(source.c_str(), &st) == 0 ? ModifiedNs(st) : -1);
    }
    return stamps;
}

Manifest::Manifest(const std::string& folder) : path_(folder + "/.kolvex-manifest") { }

void Manifest::Load()
{
    inputs_.clear();
    std::ifstream in(path_, std::ios::binary);
    std::string line;
    if (!std::getline(in, line) || line != kHeader)
        return;
    while (std::getline(in, line)) {
        auto fields = SplitFields(line);
        std::int64_t outputs = 0;
        // output, input, outputs, settings, then (source, time) pairs.
        if (fields.size() < 4 || fields.size() % 2 != 0 || !ToNumber(fields[2], outputs))
            continue;
        std::vector<SourceStamp> sources;
        bool good = true;
        for (std::size_t i = 4; i < fields.size() && good; i += 2) {
            std::int64_t time = 0;
            good = ToNumber(fields[i + 1], time);
            sources.emplace_back(std::move(fields[i]), time);
        }
        if (good)
            Remember(fields[0], fields[1], static_cast<int>(outputs), fields[3], sources);
    }
}

bool Manifest::Save(std::string& error) const
{
    win::OutputFile file;
    if (!file.Create(win::FromUtf8(path_))) {
        error = file.ErrorText();
        return false;
    }
    std::FILE* out = file.Stream();
    std::fprintf(out, "%s\n", kHeader);
    for (const auto& [input, record] : inputs_) {
        std::string rest = Escape(input) + '\t' + std::to_string(record.outputs) + '\t' + Escape(*record.settings);
        for (const auto& [source, time] : record.sources)
            rest += '\t' + Escape(source) + '\t' + std::to_string(time);
        for (const auto& output : record.made)
            std::fprintf(out, "%s\t%s\n", Escape(output).c_str(), rest.c_str());
    }
    if (!file.Commit()) {
        error = file.ErrorText();
        return false;
    }
    return true;
}

bool Manifest::UpToDate(const std::string& input, const std::vector<SourceStamp>& stamps,
                        const std::string& settings) const
{
    auto it = inputs_.find(input);
    if (it == inputs_.end())
        return false;
    const Record& record = it->second;
    if (*record.settings != settings || record.sources != stamps ||
        static_cast<int>(record.made.size()) != record.outputs)
        return false;
    std::int64_t newest = 0;
    for (const auto& [source, time] : stamps) {
        if (time < 0)
            return false;
        newest = std::max(newest, time);
    }
    for (const auto& output : record.made) {
        struct stat st;
        if (stat(output.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || ModifiedNs(st) < newest)
            return false;
    }
    return !record.made.empty();
}

std::vector<std::string> Manifest::OutputsOf(const std::string& input) const
{
    auto it = inputs_.find(input);
    return it == inputs_.end() ? std::vector<std::string>() : it->second.made;
}

void Manifest::Forget(const std::string& input) { inputs_.erase(input); }

void Manifest::Remember(const std::string& output, const std::string& input, int outputs,
                        const std::string& settings, const std::vector<SourceStamp>& sources)
{
    Record& record = inputs_[input];
    // The latest word on an input is its whole record: a line that differs
    // in what it says of the input starts it anew.
    const std::string* text = &*settings_.insert(settings).first;
    if (record.settings != text || record.sources != sources || record.outputs != outputs)
        record = Record{outputs, text, sources, {}};
    if (std::find(record.made.begin(), record.made.end(), output) == record.made.end())
        record.made.push_back(output);
}
