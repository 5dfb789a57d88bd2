#include "rows/PlainList.h"

int PlainList::ListAddItem(const std::wstring& name, std::int32_t key)
{
    rows_[key] = Row{name, L"", false};
    return 1;
}

int PlainList::ListRemoveItem(std::int32_t key) { return rows_.erase(key) ? 1 : 0; }

int PlainList::ListSetItemState(int state, std::int32_t key)
{
    auto it = rows_.find(key);
    if (it == rows_.end())
        return 0;
    if (state == kItemToggleCheck)
        it->second.checked = !it->second.checked;
    return 1;
}

int PlainList::ListSetItemInfo(const std::wstring& info, std::int32_t key)
{
    auto it = rows_.find(key);
    if (it == rows_.end())
        return 0;
    it->second.info = info;
    return 1;
}

namespace {

template <class It>
std::int32_t FirstChecked(It it, It end)
{
    for (; it != end; ++it)
        if (it->second.checked)
            return it->first;
    return -1;
}

}  // namespace

std::int32_t PlainList::ListFindFirstChecked() { return FirstChecked(rows_.begin(), rows_.end()); }

std::int32_t PlainList::ListFindNextChecked(std::int32_t key)
{
    return FirstChecked(rows_.upper_bound(key), rows_.end());
}
