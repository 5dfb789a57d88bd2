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
    entries_.clear();
    byInput_.clear();
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
        Entry entry{fields[1], static_cast<int>(outputs), fields[3], {}};
        bool good = true;
        for (std::size_t i = 4; i < fields.size() && good; i += 2) {
            std::int64_t time = 0;
            good = ToNumber(fields[i + 1], time);
            entry.sources.emplace_back(fields[i], time);
        }
        if (good)
            Remember(fields[0], std::move(entry));
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
    for (const auto& [output, entry] : entries_) {
        std::string line = Escape(output) + '\t' + Escape(entry.input) + '\t' + std::to_string(entry.outputs) + '\t' +
                           Escape(entry.settings);
        for (const auto& [source, time] : entry.sources)
            line += '\t' + Escape(source) + '\t' + std::to_string(time);
        std::fprintf(out, "%s\n", line.c_str());
    }
    if (!file.Commit()) {
        error = file.ErrorText();
        return false;
    }
    return true;
}

bool Manifest::UpToDate(const CollectionInput& input, const std::vector<SourceStamp>& stamps,
                        const std::string& settings) const
{
    std::int64_t newest = 0;
    for (const auto& [source, time] : stamps) {
        if (time < 0)
            return false;
        newest = std::max(newest, time);
    }
    int found = 0;
    int expected = -1;
    for (const auto& output : OutputsOf(input.path)) {
        const Entry& entry = entries_.at(output);
        struct stat st;
        if (entry.settings != settings || entry.sources != stamps || stat(output.c_str(), &st) != 0 ||
            !S_ISREG(st.st_mode) || ModifiedNs(st) < newest)
            return false;
        expected = entry.outputs;
        ++found;
    }
    return found > 0 && found == expected;
}

std::vector<std::string> Manifest::OutputsOf(const std::string& input) const
{
    auto it = byInput_.find(input);
    return it == byInput_.end() ? std::vector<std::string>() : it->second;
}

void Manifest::Remember(const std::string& output, Entry entry)
{
    if (auto old = entries_.find(output); old != entries_.end())
        std::erase(byInput_[old->second.input], output);
    byInput_[entry.input].push_back(output);
    entries_[output] = std::move(entry);
}

void Manifest::Forget(const std::string& input)
{
    auto it = byInput_.find(input);
    if (it == byInput_.end())
        return;
    for (const auto& output : it->second)
        entries_.erase(output);
    byInput_.erase(it);
}
