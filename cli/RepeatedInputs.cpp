#include "cli/RepeatedInputs.h"

#include "cli/DisplayText.h"

#include "platform/core/Strings.h"

#include <cstdio>
#include <map>
#include <sys/stat.h>
#include <utility>

std::vector<std::string> DropRepeatedInputs(const std::vector<std::string>& files)
{
    std::map<std::pair<dev_t, ino_t>, std::string> seen;  // file -> the name it was first given by
    std::vector<std::string> kept;
    for (const std::string& file : files) {
        struct stat st;
        if (stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            kept.push_back(file);
            continue;
        }
        auto [first, fresh] = seen.emplace(std::make_pair(st.st_dev, st.st_ino), file);
        if (fresh) {
            kept.push_back(file);
            continue;
        }
        std::string shown = DisplayText(win::FromUtf8(file));
        if (first->second == file)
            std::fprintf(stderr, "kolvex-convert: %s: warning: given more than once; converting it once\n",
                         shown.c_str());
        else
            std::fprintf(stderr, "kolvex-convert: %s: warning: the same file as %s; converting it once\n",
                         shown.c_str(), DisplayText(win::FromUtf8(first->second)).c_str());
    }
    return kept;
}
