#include "platform/dialogs/DialogItems.h"

#include "platform/controls/Controls.h"
#include "platform/dialogs/Dialog.h"
#include "platform/messaging/Message.h"
#include "platform/window/Window.h"

#include <cwctype>
#include <string>

namespace win {

BOOL SetDlgItemText(HWND dialog, int id, LPCWSTR text)
{
    HWND item = GetDlgItem(dialog, id);
    return item ? SetWindowText(item, text) : 0;
}

UINT GetDlgItemText(HWND dialog, int id, LPWSTR buffer, int maxCount)
{
    HWND item = GetDlgItem(dialog, id);
    if (!item) {
        if (buffer && maxCount > 0)
            buffer[0] = 0;
        return 0;
    }
    return static_cast<UINT>(GetWindowText(item, buffer, maxCount));
}

std::wstring GetDlgItemText(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    return item ? GetWindowText(item) : std::wstring();
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned)
{
    std::wstring text = GetDlgItemText(dialog, id);
    std::size_t i = 0;
    while (i < text.size() && std::iswspace(text[i]))
        ++i;
    bool negative = false;
    if (isSigned && i < text.size() && (text[i] == L'-' || text[i] == L'+'))
        negative = text[i++] == L'-';
    std::size_t digits = i;
    unsigned long long value = 0;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
        value = value * 10 + static_cast<unsigned>(text[i++] - L'0');
        if (value > 0xFFFFFFFFull) {
            if (translated)
                *translated = 0;
            return 0;
        }
    }
    bool ok = i > digits;
    if (translated)
        *translated = ok ? 1 : 0;
    if (!ok)
        return 0;
    return negative ? static_cast<UINT>(-static_cast<long long>(value)) : static_cast<UINT>(value);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check)
{
    HWND item = GetDlgItem(dialog, id);
    if (!item)
        return 0;
    SendMessage(item, BM_SETCHECK, check, 0);
    return 1;
}

UINT IsDlgButtonChecked(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    return item ? static_cast<UINT>(SendMessage(item, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dialog, int first, int last, int check)
{
    for (int id = first; id <= last; ++id)
        if (HWND item = GetDlgItem(dialog, id))
            SendMessage(item, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
    return 1;
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND item = GetDlgItem(dialog, id);
    return item ? SendMessage(item, message, wParam, lParam) : 0;
}

}  // namespace win
