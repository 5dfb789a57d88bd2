// The conversion list as the model drives it: rows under keys, each with a
// name, an information text and a check mark. The skinned window carries
// these out on its multimedia list; the command-line converter on a plain
// in-memory list.
#pragma once

#include <cstdint>
#include <string>

// The states ListSetItemState takes. Only the toggle changes anything; the
// other two say what the row is doing, for lists that may show it.
enum ListItemState : int {
    kItemIdle = 1,
    kItemConverting = 2,
    kItemToggleCheck = 3,
};

class ListOperations {
public:
    virtual ~ListOperations() = default;

    virtual int ListAddItem(const std::wstring& name, std::int32_t key) = 0;
    virtual int ListRemoveItem(std::int32_t key) = 0;
    // kItemToggleCheck toggles the row's check mark; other states change nothing.
    virtual int ListSetItemState(int state, std::int32_t key) = 0;
    virtual int ListSetItemInfo(const std::wstring& info, std::int32_t key) = 0;
    // -1 when no row is checked.
    virtual std::int32_t ListFindFirstChecked() = 0;
    virtual std::int32_t ListFindNextChecked(std::int32_t key) = 0;
};
