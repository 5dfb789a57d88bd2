// Built only while the skin library is not part of the build: a manager
// that finds no skin, so the program runs with the platform's look (as it
// does when the skin cannot be loaded). The list's control class is still
// registered, for the dialog to create its list control.
#include "skin/SkinManager.h"

#include "platform/Window.h"

class SkinElement {
public:
    virtual ~SkinElement() = default;
};

SkinManager::SkinManager() = default;
SkinManager::~SkinManager() = default;
int SkinManager::ApplySkin(win::HWND, const std::wstring&) { return 0; }
void SkinManager::SetSkinDirectory(const std::wstring& directory) { skinDirectory_ = directory; }
int SkinManager::LoadSkin(const std::wstring&) { return 0; }
int SkinManager::ListAddItem(const std::wstring&, const std::wstring&, win::UINT) { return 0; }
int SkinManager::ListRemoveItem(const std::wstring&, win::UINT) { return 0; }
int SkinManager::ListSetItemState(const std::wstring&, int, win::UINT) { return 0; }
int SkinManager::ListSetItemInfo(const std::wstring&, const std::wstring&, win::UINT) { return 0; }
int SkinManager::ListFindFirstChecked(const std::wstring&) { return -1; }
int SkinManager::ListFindNextChecked(const std::wstring&, win::UINT) { return -1; }
SkinElement* SkinManager::Find(const std::wstring&) const { return nullptr; }
void SkinManager::Register(std::unique_ptr<SkinElement> element) { owned_.push_back(std::move(element)); }

void RegisterMiniWndClass()
{
    win::WNDCLASS wc{};
    if (win::GetClassInfo(nullptr, L"MiniWnd", &wc))
        return;
    wc.style = win::CS_DBLCLKS;
    wc.lpfnWndProc = win::DefWindowProc;
    wc.lpszClassName = L"MiniWnd";
    win::RegisterClass(&wc);
}
