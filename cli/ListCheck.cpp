#include "cli/ListCheck.h"

#include "cli/DisplayText.h"

#include "engine/ApeSource.h"

#include "platform/core/PathParts.h"

#include <cstdio>
#include <set>

int ReportUnreadableSources(const RowTable& rows)
{
    std::set<std::wstring> checked;
    int unreadable = 0;
    for (const auto& [key, row] : rows) {
        if (row->inputKind != kInputApe || row->lengthMs > 0 || !checked.insert(row->sourcePath).second)
            continue;
        ApeSource source;
        if (source.Open(row->sourcePath.c_str()) == 1) {
            source.Close();
            continue;
        }
        std::fprintf(stderr, "kolvex-convert: %s: cannot be converted: %s\n",
                     DisplayText(FileNameOf(row->sourcePath)).c_str(), DisplayText(source.OpenError()).c_str());
        ++unreadable;
    }
    return unreadable;
}
