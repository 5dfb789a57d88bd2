#include "cli/UpToDate.h"

#include "platform/core/OutputFile.h"
#include "platform/core/Strings.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kHeader[] = "kolvex-manifest 1";

std::int64_t ModifiedNs(const struct stat& st)
{
    return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

// FNV-1a: the same path gives the same hash on every run and machine.
std::uint64_t HashOf(std::string_view text)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
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

std::vector<std::string> SplitFields(std::string_view line)
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

// output, input, outputs, settings, then (source, time) pairs.
bool WellFormed(const std::vector<std::string>& fields)
{
    std::int64_t number = 0;
    if (fields.size() < 4 || fields.size() % 2 != 0 || !ToNumber(fields[2], number) || number < 0 ||
        number > 1000000)
        return false;
    for (std::size_t i = 5; i < fields.size(); i += 2)
        if (!ToNumber(fields[i], number))
            return false;
    return true;
}

// Hands each line of the file behind `fd` to `line` with where it starts and
// how many bytes it takes (its line break included), a piece at a time.
template <typename OnLine>
void ForEachLine(int fd, OnLine line)
{
    std::string buffer;
    std::uint64_t base = 0;  // where buffer[0] lies in the file
    char chunk[1 << 16];
    for (;;) {
        ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        buffer.append(chunk, static_cast<std::size_t>(got));
        std::size_t start = 0;
        for (std::size_t end; (end = buffer.find('\n', start)) != std::string::npos; start = end + 1)
            if (!line(std::string_view(buffer).substr(start, end - start), base + start, end + 1 - start))
                return;
        buffer.erase(0, start);
        base += start;
    }
    if (!buffer.empty())
        line(std::string_view(buffer), base, buffer.size());
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

Manifest::~Manifest()
{
    if (fd_ >= 0)
        close(fd_);
}

void Manifest::Load()
{
    spans_.clear();
    fresh_.clear();
    forgotten_.clear();
    if (fd_ >= 0)
        close(fd_);
    fd_ = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        return;
    bool header = false;
    bool foreign = false;
    std::string previous;  // what the last line said of its input: all but its output
    bool inSpan = false;
    Span span;
    auto end = [&] {
        if (inSpan)
            spans_.push_back(span);
        inSpan = false;
    };
    ForEachLine(fd_, [&](std::string_view line, std::uint64_t offset, std::size_t length) {
        if (!header) {
            header = true;
            foreign = line != kHeader;
            return !foreign;
        }
        auto fields = SplitFields(line);
        if (!WellFormed(fields)) {
            end();
            return true;
        }
        std::string_view rest = line.substr(line.find('\t') + 1);
        if (inSpan && rest == previous && span.length + length < (1u << 31)) {
            span.length += static_cast<std::uint32_t>(length);
            return true;
        }
        end();
        span = Span{HashOf(fields[1]), offset, static_cast<std::uint32_t>(length), true};
        inSpan = true;
        previous = rest;
        return true;
    });
    end();
    if (foreign) {
        spans_.clear();
        return;
    }
    std::sort(spans_.begin(), spans_.end(), [](const Span& a, const Span& b) {
        return a.hash != b.hash ? a.hash < b.hash : a.offset < b.offset;
    });
    // The latest word on an input is its whole record; spans of one hash
    // are rare, so their inputs are read to tell them apart.
    for (std::size_t i = 0; i + 1 < spans_.size(); ++i) {
        if (spans_[i].hash != spans_[i + 1].hash)
            continue;
        Record earlier;
        Record later;
        if (!ReadRecord(spans_[i], earlier))
            continue;
        for (std::size_t j = i + 1; j < spans_.size() && spans_[j].hash == spans_[i].hash; ++j)
            if (ReadRecord(spans_[j], later) && later.input == earlier.input)
                spans_[i].latest = false;
    }
}

bool Manifest::Read(const Span& span, std::string& bytes) const
{
    bytes.resize(span.length);
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t got = pread(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(span.offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

bool Manifest::ReadRecord(const Span& span, Record& record) const
{
    std::string bytes;
    if (!Read(span, bytes))
        return false;
    record = Record{};
    std::string_view text(bytes);
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = std::min(text.find('\n', start), text.size());
        auto fields = SplitFields(text.substr(start, end - start));
        start = end + 1;
        if (!WellFormed(fields))
            return false;
        if (record.made.empty()) {
            std::int64_t outputs = 0;
            ToNumber(fields[2], outputs);
            record.input = fields[1];
            record.outputs = static_cast<int>(outputs);
            record.settings = fields[3];
            for (std::size_t i = 4; i < fields.size(); i += 2) {
                std::int64_t time = 0;
                ToNumber(fields[i + 1], time);
                record.sources.emplace_back(fields[i], time);
            }
        }
        if (std::find(record.made.begin(), record.made.end(), fields[0]) == record.made.end())
            record.made.push_back(fields[0]);
    }
    return !record.made.empty();
}

bool Manifest::Find(const std::string& input, Record& record) const
{
    std::uint64_t hash = HashOf(input);
    auto it = std::lower_bound(spans_.begin(), spans_.end(), hash,
                               [](const Span& span, std::uint64_t value) { return span.hash < value; });
    for (; it != spans_.end() && it->hash == hash; ++it)
        if (it->latest && ReadRecord(*it, record) && record.input == input)
            return true;
    return false;
}

const Manifest::Record* Manifest::Fresh(const std::string& input, bool& forgotten) const
{
    forgotten = forgotten_.count(input) > 0;
    auto it = fresh_.find(input);
    return it == fresh_.end() ? nullptr : &it->second;
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
    // What earlier runs made and this one did not touch, copied as it was.
    std::string bytes;
    for (const auto& span : spans_) {
        if (!span.latest)
            continue;
        if (!Read(span, bytes)) {
            error = "cannot read " + path_ + " again: " + std::strerror(errno ? errno : EIO);
            return false;
        }
        auto first = SplitFields(std::string_view(bytes).substr(0, bytes.find('\n')));
        if (first.size() < 2 || forgotten_.count(first[1]))
            continue;
        if (bytes.back() != '\n')
            bytes += '\n';
        std::fwrite(bytes.data(), 1, bytes.size(), out);
    }
    for (const auto& [input, record] : fresh_) {
        std::string rest = Escape(input) + '\t' + std::to_string(record.outputs) + '\t' + Escape(record.settings);
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
    bool forgotten = false;
    const Record* record = Fresh(input, forgotten);
    Record found;
    if (!record) {
        if (forgotten || !Find(input, found))
            return false;
        record = &found;
    }
    if (record->settings != settings || record->sources != stamps ||
        static_cast<int>(record->made.size()) != record->outputs)
        return false;
    std::int64_t newest = 0;
    for (const auto& [source, time] : stamps) {
        if (time < 0)
            return false;
        newest = std::max(newest, time);
    }
    for (const auto& output : record->made) {
        struct stat st;
        if (stat(output.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || ModifiedNs(st) < newest)
            return false;
    }
    return !record->made.empty();
}

std::vector<std::string> Manifest::OutputsOf(const std::string& input) const
{
    bool forgotten = false;
    if (const Record* record = Fresh(input, forgotten))
        return record->made;
    Record found;
    return !forgotten && Find(input, found) ? found.made : std::vector<std::string>();
}

void Manifest::Forget(const std::string& input)
{
    forgotten_.insert(input);
    fresh_.erase(input);
}

void Manifest::Remember(const std::string& output, const std::string& input, int outputs,
                        const std::string& settings, const std::vector<SourceStamp>& sources)
{
    auto it = fresh_.find(input);
    if (it == fresh_.end()) {
        Record earlier;
        if (!forgotten_.count(input) && Find(input, earlier))
            it = fresh_.emplace(input, std::move(earlier)).first;
        else
            it = fresh_.emplace(input, Record{input, 0, settings, sources, {}}).first;
        forgotten_.insert(input);  // the file's lines on it are replaced by these
    }
    Record& record = it->second;
    // A word that differs in what it says of the input starts its record anew.
    if (record.settings != settings || record.sources != sources || record.outputs != outputs)
        record = Record{input, outputs, settings, sources, {}};
    if (std::find(record.made.begin(), record.made.end(), output) == record.made.end())
        record.made.push_back(output);
}
