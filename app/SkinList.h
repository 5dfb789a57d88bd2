// The conversion list as the skinned window has it: the multimedia list
// named "mmlist", reached through the skin manager's list operations.
// Without a manager (or a skin without that list) every operation finds
// nothing.
#pragma once

#include "rows/ListOperations.h"

class SkinManager;

class SkinList : public ListOperations {
public:
    explicit SkinList(SkinManager* skin) : skin_(skin) { }

    int ListAddItem(const std::wstring& name, std::int32_t key) override;
    int ListRemoveItem(std::int32_t key) override;
    int ListSetItemState(int state, std::int32_t key) override;
    int ListSetItemInfo(const std::wstring& info, std::int32_t key) override;
    std::int32_t ListFindFirstChecked() override;
    std::int32_t ListFindNextChecked(std::int32_t key) override;
    // Why the row's last conversion failed, in the row's tip.
    int ListSetItemReason(const std::wstring& reason, std::int32_t key);
    // Keeps the converting row in view; `restart` at a batch's first row.
    int ListFollowItem(std::int32_t key, bool restart);

private:
    SkinManager* skin_;
};
