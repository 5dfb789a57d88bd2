#include "app/SkinList.h"

#include "skin/SkinManager.h"

namespace {

const std::wstring kList = L"mmlist";

win::UINT Key(std::int32_t key) { return static_cast<win::UINT>(key); }

}  // namespace

int SkinList::ListAddItem(const std::wstring& name, std::int32_t key)
{
    return skin_ ? skin_->ListAddItem(kList, name, Key(key)) : 0;
}

int SkinList::ListRemoveItem(std::int32_t key) { return skin_ ? skin_->ListRemoveItem(kList, Key(key)) : 0; }

int SkinList::ListSetItemState(int state, std::int32_t key)
{
    return skin_ ? skin_->ListSetItemState(kList, state, Key(key)) : 0;
}

int SkinList::ListSetItemInfo(const std::wstring& info, std::int32_t key)
{
    return skin_ ? skin_->ListSetItemInfo(kList, info, Key(key)) : 0;
}

int SkinList::ListSetItemReason(const std::wstring& reason, std::int32_t key)
{
    return skin_ ? skin_->ListSetItemReason(kList, reason, Key(key)) : 0;
}

int SkinList::ListFollowItem(std::int32_t key, bool restart)
{
    return skin_ ? skin_->ListFollowItem(kList, Key(key), restart) : 0;
}

std::int32_t SkinList::ListFindFirstChecked() { return skin_ ? skin_->ListFindFirstChecked(kList) : -1; }

std::int32_t SkinList::ListFindNextChecked(std::int32_t key)
{
    return skin_ ? skin_->ListFindNextChecked(kList, Key(key)) : -1;
}
