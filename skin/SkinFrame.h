// The frame of a skinned top-level window: caption band with its three
// caption buttons, edges and a backdrop behind the client area, all drawn
// from skin pieces; the window's shape follows the skin's blue holes. The
// frame does the caption's work itself: hit-testing, the caption buttons,
// maximise, minimise and restore, the system menu and dragging.
#pragma once

#include "skin/SkinElement.h"

#include <vector>

class SkinFrame : public SkinElement {
public:
    enum Kind { MinimiseButton = 0, MaximiseButton = 1, CloseButton = 2 };
    enum State { Normal = 0, Maximised = 1, Minimised = 2 };

    SkinFrame(const SkinFile& file, std::wstring section, std::wstring skinDirectory);
    ~SkinFrame() override;

    bool Load() override;
    win::LRESULT WindowProc(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) override;
    // Hooks the window and takes the platform's caption buttons away.
    bool TakeOver(win::HWND window);

    int CaptionHeight() const { return captionHeight_; }
    const SkinRect& FrameSize() const { return frameSize_; }
    int WindowState() const { return state_; }
    // In window coordinates; empty when the skin has no such button.
    win::RECT CaptionButtonRect(Kind kind) const;
    // The hit code of a point in screen coordinates.
    win::LRESULT HitTest(win::POINT screen) const;

private:
    void Compose();
    // The platform recomputes the frame; the window takes the skin's size.
    void FitWindow();
    void EraseBackground(win::HDC dc);
    void PaintNonClient();
    void UpdateRegion();
    void CaptionMouse(win::UINT message, win::LRESULT code, win::LPARAM lParam);
    bool SystemMenuCommand(win::WPARAM wParam, win::LPARAM lParam);
    win::LRESULT SystemCommand(win::WPARAM command);
    void ShowSystemMenu(win::LPARAM screen);
    void Maximise();
    void Restore();
    void Minimise();
    void Unminimise();

    SkinRect frameSize_;
    SkinPiece topLeft_, top_, topRight_, left_, right_, bottomLeft_, bottom_, bottomRight_;
    SkinPiece backdrop_;
    SkinPiece captionBand_, leftBand_, rightBand_, bottomBand_, centre_;
    SkinPiece buttons_[3][3];  // kind × (normal, hover, down)
    SkinRect anchors_[3];
    std::vector<SkinPiece> extras_;
    int captionHeight_ = 0;

    int state_ = Normal;
    int stateBeforeMinimise_ = Normal;
    win::RECT savedRect_{};
    win::LRESULT hover_ = 0;
    win::LRESULT pressed_ = 0;
    win::LRESULT lastHoverPainted_ = 0;
    bool resizable_ = false;
    bool hasMinimiseBox_ = false;
    bool hasMaximiseBox_ = false;
    bool active_ = false;
    // The caption button states drawn into the composed image, and the
    // shape last made from it: it is made again only when the image changed.
    int drawnState_[3] = {-1, -1, -1};
    int drawnLeft_[3] = {0, 0, 0};
    int imageGeneration_ = 0;
    int regionGeneration_ = -1;
    win::HRGN region_ = nullptr;
};
