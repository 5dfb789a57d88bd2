#include "cli/Plan.h"

#include <map>

std::string ShellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

int PrintPlan(std::FILE* out, const std::string& program, const std::string& destination,
              const std::vector<std::string>& settings, const std::vector<const CollectionInput*>& inputs,
              const ScanWarning& warn)
{
    std::string head = ShellQuoted(program) + " --defaults";
    for (const auto& argument : settings)
        head += " " + ShellQuoted(argument);
    // Replacing is what the plan is for; whoever runs it has chosen.
    head += " --yes -o ";
    auto command = [&](const std::string& folder) {
        return head + ShellQuoted(folder.empty() ? destination : destination + "/" + folder);
    };

    // Loose tracks go by folder (in the order found), albums one by one.
    std::vector<std::string> lines;
    std::map<std::string, std::size_t> folderLine;
    for (const CollectionInput* input : inputs) {
        if (input->path.find('\n') != std::string::npos || input->folder.find('\n') != std::string::npos) {
            warn(input->path, "has a line break in its name; left out of the plan");
            continue;
        }
        if (input->kind == CollectionInput::Album) {
            lines.push_back(command(input->folder) + " " + ShellQuoted(input->path));
            continue;
        }
        std::string folder = input->path.substr(0, input->path.rfind('/'));
        auto [it, added] = folderLine.emplace(folder, lines.size());
        if (added)
            lines.push_back(command(input->folder));
        lines[it->second] += " " + ShellQuoted(input->path);
    }
    for (const auto& line : lines)
        std::fprintf(out, "%s\n", line.c_str());
    return static_cast<int>(lines.size());
}
