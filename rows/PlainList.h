// A conversion list without a display: the rows in key order with their
// texts and check marks. The state change takes effect at once.
#pragma once

#include "rows/ListOperations.h"

#include <map>

class PlainList : public ListOperations {
public:
    struct Row {
        std::wstring name;
        std::wstring info;
        bool checked = false;
    };

    int ListAddItem(const std::wstring& name, std::int32_t key) override;
    int ListRemoveItem(std::int32_t key) override;
    int ListSetItemState(int state, std::int32_t key) override;
    int ListSetItemInfo(const std::wstring& info, std::int32_t key) override;
    std::int32_t ListFindFirstChecked() override;
    std::int32_t ListFindNextChecked(std::int32_t key) override;

    const std::map<std::int32_t, Row>& Rows() const { return rows_; }

private:
    std::map<std::int32_t, Row> rows_;
};
