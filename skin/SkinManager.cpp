#include "skin/SkinManager.h"

#include "skin/SkinButton.h"
#include "skin/SkinFrame.h"
#include "skin/SkinMultimediaList.h"
#include "skin/SkinPreload.h"
#include "skin/SkinText.h"

#include "platform/core/Strings.h"
#include "platform/window/Window.h"

#include <cwctype>

namespace {

constexpr win::DWORD kPushButton = 0x50010000;       // visible child, tab stop
constexpr win::DWORD kDefPushButton = 0x50010001;
constexpr win::DWORD kLabel = 0x50020000;            // visible child, group start
constexpr win::DWORD kLabelNoPrefix = 0x50020080;
constexpr win::DWORD kMiniWnd = 0x50010000;

std::wstring ControlText(win::HWND control)
{
    wchar_t buffer[256] = {};
    win::GetWindowText(control, buffer, 256);
    return buffer;
}

std::wstring Lower(std::wstring text)
{
    for (auto& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

struct Classifier {
    SkinManager* manager;
    SkinFrame* frame;
};

}  // namespace

SkinManager::SkinManager() { RegisterMiniWndClass(); }

SkinManager::~SkinManager()
{
    // Newest first, so a displaced element unhooks after the one that
    // replaced it.
    while (!owned_.empty())
        owned_.pop_back();
}

void SkinManager::SetSkinDirectory(const std::wstring& directory) { skinDirectory_ = directory; }

void SkinManager::Register(std::unique_ptr<SkinElement> element)
{
    registry_[element->Name()] = element.get();
    owned_.push_back(std::move(element));
}

SkinElement* SkinManager::Find(const std::wstring& name) const
{
    auto found = registry_.find(name);
    return found == registry_.end() ? nullptr : found->second;
}

int SkinManager::LoadSkin(const std::wstring& path)
{
    SkinElements elements;
    std::unique_ptr<SkinPreload> preload = std::move(preload_);
    bool opened = preload && preload->IsFor(skinDirectory_, path) ? preload->Take(elements)
                                                                  : LoadSkinElements(skinDirectory_, path, elements);
    if (!opened)
        return 0;
    for (auto& element : elements)
        Register(std::move(element));
    return 1;
}

void SkinManager::AdoptPreload(std::unique_ptr<SkinPreload> preload) { preload_ = std::move(preload); }

int SkinManager::ApplySkin(win::HWND window, const std::wstring& name)
{
    if (!window)
        return 0;
    auto* frame = dynamic_cast<SkinFrame*>(Find(name));
    if (!frame)
        return 0;
    frame->Enable(this);
    if (!frame->TakeOver(window))
        return 1;
    Classifier classifier{this, frame};
    win::EnumChildWindows(
        window,
        [](win::HWND child, win::LPARAM param) -> win::BOOL {
            auto* c = reinterpret_cast<Classifier*>(param);
            c->manager->Classify(child, *c->frame);
            return 1;
        },
        reinterpret_cast<win::LPARAM>(&classifier));
    return 1;
}

void SkinManager::Classify(win::HWND control, SkinFrame& frame)
{
    wchar_t cls[64] = {};
    win::GetClassName(control, cls, 64);
    auto style = static_cast<win::DWORD>(win::GetWindowLong(control, win::GWL_STYLE));
    std::wstring kind = cls;
    if (win::CompareNoCase(kind, L"Button") == 0 && (style == kPushButton || style == kDefPushButton)) {
        auto* button = dynamic_cast<SkinButton*>(Find(ControlText(control)));
        if (button && !button->OwnerName().empty() &&
            win::CompareNoCase(button->OwnerName(), frame.Name()) == 0) {
            button->Enable(this);
            button->TakeOver(control);
        }
    } else if (win::CompareNoCase(kind, L"Static") == 0 && (style == kLabel || style == kLabelNoPrefix)) {
        auto label = std::make_unique<SkinText>(ControlText(control), frame.Name(), frame.Font(), control);
        label->Enable(this);
        SkinText* raw = label.get();
        Register(std::move(label));
        raw->HookWindow(control);
    } else if (win::CompareNoCase(kind, L"MiniWnd") == 0 && style == kMiniWnd) {
        auto* list = FindList(Lower(ControlText(control)));
        if (list && win::CompareNoCase(list->OwnerName(), frame.Name()) == 0) {
            list->Enable(this);
            list->SetWindow(control);
            list->HookWindow(control);
            list->Setup();
        }
    }
}

SkinMultimediaList* SkinManager::FindList(const std::wstring& name) const
{
    return dynamic_cast<SkinMultimediaList*>(Find(name));
}

int SkinManager::ListAddItem(const std::wstring& list, const std::wstring& name, win::UINT key)
{
    auto* l = FindList(list);
    return l ? l->AddItem(name, key) : 0;
}

int SkinManager::ListRemoveItem(const std::wstring& list, win::UINT key)
{
    auto* l = FindList(list);
    return l ? l->RemoveItem(key) : 0;
}

int SkinManager::ListSetItemState(const std::wstring& list, int state, win::UINT key)
{
    auto* l = FindList(list);
    return l ? l->SetItemState(state, key) : 0;
}

int SkinManager::ListSetItemInfo(const std::wstring& list, const std::wstring& info, win::UINT key)
{
    auto* l = FindList(list);
    return l ? l->SetItemInfo(info, key) : 0;
}

int SkinManager::ListSetItemReason(const std::wstring& list, const std::wstring& reason, win::UINT key)
{
    auto* l = FindList(list);
    return l ? l->SetItemReason(reason, key) : 0;
}

int SkinManager::ListFollowItem(const std::wstring& list, win::UINT key, bool restart)
{
    auto* l = FindList(list);
    return l ? l->FollowItem(key, restart) : 0;
}

int SkinManager::ListFindFirstChecked(const std::wstring& list)
{
    auto* l = FindList(list);
    return l ? l->FindFirstChecked() : -1;
}

int SkinManager::ListFindNextChecked(const std::wstring& list, win::UINT key)
{
    auto* l = FindList(list);
    return l ? l->FindNextChecked(key) : -1;
}
