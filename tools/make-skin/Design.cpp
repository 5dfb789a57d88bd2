#include "Design.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

std::string Trim(const std::string& s)
{
    auto b = s.find_first_not_of(" \t\r");
    auto e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

}  // namespace

Design Design::Read(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    Design d;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        line = Trim(line);
        if (line.empty() || line[0] == '#')
            continue;
        auto eq = line.find('=');
        if (eq == std::string::npos)
            throw std::runtime_error(path + ":" + std::to_string(number) + ": expected key = value");
        d.values_[Trim(line.substr(0, eq))] = Trim(line.substr(eq + 1));
    }
    return d;
}

std::string Design::Text(const std::string& key) const
{
    auto it = values_.find(key);
    if (it == values_.end())
        throw std::runtime_error("the design has no \"" + key + "\"");
    return it->second;
}

int Design::Int(const std::string& key) const
{
    std::string t = Text(key);
    std::size_t used = 0;
    int v = std::stoi(t, &used);
    if (used != t.size() || v < 0 || v > 4096)
        throw std::runtime_error("\"" + key + "\" is not a size: " + t);
    return v;
}

Colour Design::Rgb(const std::string& key) const
{
    std::string t = Text(key);
    if (t.size() != 7 || t[0] != '#')
        throw std::runtime_error("\"" + key + "\" is not a colour #rrggbb: " + t);
    unsigned long v = std::stoul(t.substr(1), nullptr, 16);
    return {((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0};
}

std::vector<ButtonDesign> Design::Buttons() const
{
    std::vector<ButtonDesign> out;
    std::istringstream words(Text("buttons"));
    std::string word;
    while (words >> word) {
        std::vector<std::string> f;
        std::istringstream parts(word);
        std::string part;
        while (std::getline(parts, part, ':'))
            f.push_back(part);
        if (f.size() < 4)
            throw std::runtime_error("a button is name:label:x:width[:primary], not " + word);
        for (auto& c : f[1])
            if (c == '_')
                c = ' ';
        out.push_back({f[0], f[1], std::stoi(f[2]), std::stoi(f[3]), f.size() > 4 && f[4] == "primary"});
    }
    return out;
}
