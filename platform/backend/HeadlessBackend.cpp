#include "platform/backend/HeadlessBackend.h"

#include "platform/core/MessageBox.h"
#include "platform/dialogs/Menu.h"

namespace win {

HeadlessBackend& Headless()
{
    static auto* backend = new HeadlessBackend;
    return *backend;
}

void HeadlessBackend::PushAnswer(int answer)
{
    std::lock_guard lock(mutex_);
    answers_.push_back(answer);
}

void HeadlessBackend::PushCheck(bool checked)
{
    std::lock_guard lock(mutex_);
    checks_.push_back(checked);
}

int HeadlessBackend::MessageBoxWithCheck(HWND, const std::wstring& text, const std::wstring& caption,
                                         UINT type, const std::wstring& checkText, bool* checked)
{
    std::lock_guard lock(mutex_);
    if (!checks_.empty()) {
        *checked = checks_.front();
        checks_.pop_front();
    }
    return AnswerLocked({text, caption, type, checkText});
}

std::vector<HeadlessBackend::Question> HeadlessBackend::Questions() const
{
    std::lock_guard lock(mutex_);
    return asked_;
}

void HeadlessBackend::PushOpenFiles(std::vector<std::wstring> paths)
{
    std::lock_guard lock(mutex_);
    files_.push_back(std::move(paths));
}

std::vector<OpenFileRequest> HeadlessBackend::OpenRequests() const
{
    std::lock_guard lock(mutex_);
    return openRequests_;
}

void HeadlessBackend::PushFolder(std::wstring path)
{
    std::lock_guard lock(mutex_);
    folders_.push_back(std::move(path));
}

std::vector<std::wstring> HeadlessBackend::FolderTitles() const
{
    std::lock_guard lock(mutex_);
    return folderTitles_;
}

void HeadlessBackend::PushMenuChoice(UINT id)
{
    std::lock_guard lock(mutex_);
    menuChoices_.push_back(id);
}

std::vector<HeadlessBackend::MenuShown> HeadlessBackend::Menus() const
{
    std::lock_guard lock(mutex_);
    return menus_;
}

std::vector<std::wstring> HeadlessBackend::ShellRequests() const
{
    std::lock_guard lock(mutex_);
    return shellRequests_;
}

void HeadlessBackend::Reset()
{
    std::lock_guard lock(mutex_);
    answers_.clear();
    checks_.clear();
    asked_.clear();
    files_.clear();
    openRequests_.clear();
    folders_.clear();
    folderTitles_.clear();
    menuChoices_.clear();
    menus_.clear();
    shellRequests_.clear();
    tip_.clear();
}

std::wstring HeadlessBackend::Tip() const
{
    std::lock_guard lock(mutex_);
    return tip_;
}

void HeadlessBackend::ShowTip(HWND, const std::wstring& text)
{
    std::lock_guard lock(mutex_);
    tip_ = text;
}

int HeadlessBackend::MessageBox(HWND, const std::wstring& text, const std::wstring& caption, UINT type)
{
    std::lock_guard lock(mutex_);
    return AnswerLocked({text, caption, type, {}});
}

int HeadlessBackend::AnswerLocked(Question question)
{
    UINT type = question.type;
    asked_.push_back(std::move(question));
    if (!answers_.empty()) {
        int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL: return IDCANCEL;
    case MB_YESNO: return IDNO;
    default: return IDOK;
    }
}

bool HeadlessBackend::OpenFiles(const OpenFileRequest& request, std::vector<std::wstring>* chosen)
{
    std::lock_guard lock(mutex_);
    openRequests_.push_back(request);
    if (files_.empty())
        return false;
    auto paths = std::move(files_.front());
    files_.pop_front();
    if (paths.empty())
        return false;
    if (!request.multiSelect)
        paths.resize(1);
    *chosen = std::move(paths);
    return true;
}

bool HeadlessBackend::BrowseForFolder(HWND, const std::wstring& title, std::wstring* path)
{
    std::lock_guard lock(mutex_);
    folderTitles_.push_back(title);
    if (folders_.empty())
        return false;
    std::wstring answer = std::move(folders_.front());
    folders_.pop_front();
    if (answer.empty())
        return false;
    *path = std::move(answer);
    return true;
}

UINT HeadlessBackend::TrackPopupMenu(HMENU menu, POINT screen, HWND)
{
    MenuShown shown;
    shown.at = screen;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
        shown.items.push_back(GetMenuString(menu, static_cast<UINT>(i), MF_BYPOSITION));
    std::lock_guard lock(mutex_);
    menus_.push_back(std::move(shown));
    if (menuChoices_.empty())
        return 0;
    UINT id = menuChoices_.front();
    menuChoices_.pop_front();
    return id;
}

bool HeadlessBackend::ShellOpen(HWND, const std::wstring& target)
{
    std::lock_guard lock(mutex_);
    shellRequests_.push_back(target);
    return !target.empty();
}

}  // namespace win
