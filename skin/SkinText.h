// A static text label inside a skinned window: drawn in black straight onto
// the window's backdrop (no background of its own), in the frame's font. A
// new text set through WM_SETTEXT is kept by the label and painted; the
// control's own window text stays as it was.
#pragma once

#include "skin/SkinElement.h"

class SkinText : public SkinElement {
public:
    // `font` belongs to the frame element.
    SkinText(std::wstring name, std::wstring ownerName, win::HFONT font, win::HWND window);

    win::LRESULT WindowProc(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) override;
    // What the label paints.
    std::wstring Text() const;

private:
    void Paint();

    win::HFONT frameFont_ = nullptr;
    std::wstring text_;
    bool hasText_ = false;
};
