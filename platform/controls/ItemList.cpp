#include "platform/controls/internal/ItemList.h"

#include "platform/core/Strings.h"

namespace win::internal {

void ItemList::Insert(std::size_t at, ListItem item)
{
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
    if (current >= static_cast<int>(at))
        ++current;
}

bool ItemList::Erase(std::size_t index)
{
    if (index >= items.size())
        return false;
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(index));
    int erased = static_cast<int>(index);
    if (current == erased)
        current = -1;
    else if (current > erased)
        --current;
    return true;
}

int ItemList::CopyText(std::size_t index, LPWSTR buffer, int capacity) const
{
    if (index >= items.size())
        return -1;
    return CopyToBuffer(items[index].text, buffer, capacity);
}

}  // namespace win::internal
