#include "app/FailureSummary.h"

#include "platform/core/MessageBox.h"

namespace failure_summary {

std::wstring Text(const Failures& failures)
{
    std::wstring text = failures.size() == 1 ? L"One file could not be converted:\n"
                                             : std::to_wstring(failures.size()) + L" files could not be converted:\n";
    for (const auto& [name, reason] : failures)
        text += L"\n" + name + (reason.empty() ? L"" : L": " + reason);
    return text;
}

void Show(win::HWND owner, const Failures& failures)
{
    if (!failures.empty())
        win::MessageBox(owner, Text(failures).c_str(), L"Converter Failed", win::MB_OK);
}

}  // namespace failure_summary
