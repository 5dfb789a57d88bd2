// The entries of a combo box or a tab control: a text and the program's
// value each, and which entry is current. Inserting and removing keep the
// current entry current.
#pragma once

#include "platform/core/Types.h"

#include <cstddef>
#include <string>
#include <vector>

namespace win::internal {

struct ListItem {
    std::wstring text;
    LPARAM data = 0;
};

struct ItemList {
    std::vector<ListItem> items;
    int current = -1;  // none

    // At `at`, which must be at most the count.
    void Insert(std::size_t at, ListItem item);
    // False when there is no such entry. Removing the current entry leaves none current.
    bool Erase(std::size_t index);
    // The entry's text, cut to `capacity` characters with the NUL; the
    // characters copied, or -1 when there is no such entry.
    int CopyText(std::size_t index, LPWSTR buffer, int capacity) const;
};

}  // namespace win::internal
