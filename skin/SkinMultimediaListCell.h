// One row of the multimedia list: a child window of the list showing a row
// face with a name and an information text over it. A click on the row or
// on either text toggles its check mark; an unchecked row lights up under
// the pointer, a checked one keeps its down face.
#pragma once

#include "skin/SkinImage.h"

#include <string>

class SkinMultimediaListCell {
public:
    enum Face { Normal = 0, Hover = 1, Down = 2 };

    // `faces` (three, by Face) and `font` belong to the list.
    SkinMultimediaListCell(win::UINT key, const SkinPiece* faces, win::HFONT font);
    ~SkinMultimediaListCell();
    SkinMultimediaListCell(const SkinMultimediaListCell&) = delete;
    SkinMultimediaListCell& operator=(const SkinMultimediaListCell&) = delete;

    // The row window, a visible child of `list` with the key as its id.
    bool Create(win::HWND list);
    win::HWND Window() const { return hwnd_; }
    bool Valid() const { return valid_; }
    win::UINT Key() const { return key_; }
    bool Checked() const { return checked_; }

    void SetName(const std::wstring& text);
    void SetInfo(const std::wstring& text);
    std::wstring Name() const;
    std::wstring Info() const;
    // What the row says beside the pointer: its whole name when the column
    // cuts it, and why its conversion failed (empty: nothing more to say).
    void SetReason(const std::wstring& text);
    std::wstring Tip() const;

    // Moves the row to its rectangle in the list; hidden rows have top −1.
    // At `rect` in a list `listHeight` high; hidden while out of its view.
    void Place(const win::RECT& rect, int listHeight);
    const win::RECT& Rect() const { return rect_; }

    // The keyboard's marks: the list has the focus (its ring runs down the
    // row's sides), and this row is the list's cursor (ringed).
    void SetMarks(bool listFocused, bool cursor);

    static void RegisterClasses();

private:
    static win::LRESULT Proc(win::HWND hwnd, win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
    static win::LRESULT TextProc(win::HWND hwnd, win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
    win::LRESULT Handle(win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
    void DrawFace(Face face);
    bool PointerInside() const;
    bool NameCut() const;
    void Paint();

    win::UINT key_;
    const SkinPiece* faces_;
    win::HFONT font_;
    win::HWND hwnd_ = nullptr;
    win::HWND name_ = nullptr;
    win::HWND info_ = nullptr;
    win::RECT rect_{0, -1, 0, -1};
    Face face_ = Normal;
    bool valid_ = false;
    bool checked_ = false;
    bool hovered_ = false;
    std::wstring reason_;
    bool listFocused_ = false;
    bool cursor_ = false;
};
