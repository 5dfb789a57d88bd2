#include "platform/Backend.h"

#include "platform/HeadlessBackend.h"
#include "platform/MessageBox.h"

#include <atomic>

namespace win {

namespace {
std::atomic<Backend*> g_backend{nullptr};
}

Backend& CurrentBackend()
{
    Backend* backend = g_backend.load(std::memory_order_acquire);
    return backend ? *backend : Headless();
}

void SetBackend(Backend* backend) { g_backend.store(backend, std::memory_order_release); }

int MessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    return CurrentBackend().MessageBox(owner, text ? text : L"", caption ? caption : L"", type);
}

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

void HeadlessBackend::SetDefaultAnswer(int answer)
{
    std::lock_guard lock(mutex_);
    defaultAnswer_ = answer;
}

std::vector<HeadlessBackend::Question> HeadlessBackend::Questions() const
{
    std::lock_guard lock(mutex_);
    return asked_;
}

void HeadlessBackend::Reset()
{
    std::lock_guard lock(mutex_);
    answers_.clear();
    asked_.clear();
    defaultAnswer_ = 0;
}

int HeadlessBackend::MessageBox(HWND, const std::wstring& text, const std::wstring& caption, UINT type)
{
    std::lock_guard lock(mutex_);
    asked_.push_back({text, caption, type});
    if (!answers_.empty()) {
        int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    if (defaultAnswer_)
        return defaultAnswer_;
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL: return IDCANCEL;
    case MB_YESNO: return IDNO;
    default: return IDOK;
    }
}

}  // namespace win
