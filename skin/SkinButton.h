// A push button drawn only from its face bitmap: normal, hover, down and
// disabled faces, its window clipped to the face's shape, and clicks
// reported to the parent as WM_COMMAND/BN_CLICKED like any push button.
#pragma once

#include "skin/SkinElement.h"

class SkinButton : public SkinElement {
public:
    SkinButton(const SkinFile& file, std::wstring section, std::wstring skinDirectory);

    bool Load() override;
    win::LRESULT WindowProc(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) override;
    // Hooks the control and shapes its window from the face.
    bool TakeOver(win::HWND control);

    const SkinRect& Anchor() const { return anchor_; }
    const SkinPiece& NormalPiece() const { return normal_; }

private:
    // Draws `piece` over the face (blended, the face is not cleared).
    void DrawFace(const SkinPiece& piece);
    void Place();
    bool Enabled() const;
    void Paint();

    SkinPiece normal_, hover_, down_, disable_;
    SkinRect anchor_;
    bool tracking_ = false;
    bool hovering_ = false;
    bool pressed_ = false;
    bool armed_ = false;
    bool placed_ = false;
    bool focused_ = false;
    win::COLORREF ringColour_ = 0;
};
