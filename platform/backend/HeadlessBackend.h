// The back-end without a display: every top-level window paints into its
// own surface (SaveWindowPng writes it out), input is injected
// (InjectPointer/InjectKey), and questions are answered from a script that
// tests (or a front end without a terminal) fill beforehand.
#pragma once

#include "platform/backend/Backend.h"

#include <deque>
#include <mutex>
#include <vector>

namespace win {

class HeadlessBackend : public Backend {
public:
    struct Question {
        std::wstring text;
        std::wstring caption;
        UINT type = 0;
        std::wstring checkText;  // empty: the box had no check box
    };
    struct MenuShown {
        std::vector<std::wstring> items;  // separators as empty strings
        POINT at;
    };

    // Message boxes: answers are used in order; when none is left, the
    // default answer is given (IDCANCEL for boxes with a Cancel button,
    // IDNO for Yes/No ones, IDOK otherwise).
    void PushAnswer(int answer);
    // Check boxes: each box with one takes the next state (none left: it
    // keeps the state it was shown with).
    void PushCheck(bool checked);
    std::vector<Question> Questions() const;

    // File-open dialog: the paths chosen, in order; an empty list cancels,
    // as does an empty script.
    void PushOpenFiles(std::vector<std::wstring> paths);
    std::vector<OpenFileRequest> OpenRequests() const;
    // Folder browser: the folder chosen; an empty text cancels.
    void PushFolder(std::wstring path);
    std::vector<std::wstring> FolderTitles() const;
    // Pop-up menus: the command chosen; 0 or an empty script dismisses.
    void PushMenuChoice(UINT id);
    std::vector<MenuShown> Menus() const;
    // What the program asked the shell to open.
    std::vector<std::wstring> ShellRequests() const;

    // The tip shown now (empty: none).
    std::wstring Tip() const;

    void Reset();

    void ShowTip(HWND top, const std::wstring& text) override;

    int MessageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                   UINT type) override;
    int MessageBoxWithCheck(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type,
                            const std::wstring& checkText, bool* checked) override;
    bool OpenFiles(const OpenFileRequest& request, std::vector<std::wstring>* chosen) override;
    bool BrowseForFolder(HWND owner, const std::wstring& title, std::wstring* path) override;
    UINT TrackPopupMenu(HMENU menu, POINT screen, HWND owner) override;
    bool ShellOpen(HWND owner, const std::wstring& target) override;

private:
    // Notes the question and gives the next answer; the caller holds `mutex_`.
    int AnswerLocked(Question question);

    mutable std::mutex mutex_;
    std::deque<int> answers_;
    std::deque<bool> checks_;
    std::vector<Question> asked_;
    std::deque<std::vector<std::wstring>> files_;
    std::vector<OpenFileRequest> openRequests_;
    std::deque<std::wstring> folders_;
    std::vector<std::wstring> folderTitles_;
    std::deque<UINT> menuChoices_;
    std::vector<MenuShown> menus_;
    std::vector<std::wstring> shellRequests_;
    std::wstring tip_;
};

// The process's headless back-end (also the default one).
HeadlessBackend& Headless();

}  // namespace win
