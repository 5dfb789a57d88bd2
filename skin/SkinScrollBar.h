// The multimedia list's vertical scroll bar: a track and a thumb drawn from
// six skin pieces, no arrows. While the thumb is dragged the bar reports the
// position to its parent as WM_VSCROLL/SB_THUMBTRACK every 10 ms. The
// thumb's travel maps onto 0 … maximum − page, so the bottom of the travel
// shows the last page, and setting a position moves the thumb to match.
#pragma once

#include "skin/SkinImage.h"

#include "platform/controls/ScrollInfo.h"

class SkinScrollBar {
public:
    static constexpr win::DWORD kVertical = 1;
    static constexpr win::DWORD kRedraw = 8;
    static constexpr int kControlId = 100;
    static constexpr win::UINT_PTR kTimerId = 100;

    SkinScrollBar() = default;
    ~SkinScrollBar();
    SkinScrollBar(const SkinScrollBar&) = delete;
    SkinScrollBar& operator=(const SkinScrollBar&) = delete;

    // All six must be built, else the bar keeps no pieces and draws nothing.
    bool SetPieces(const SkinPiece* trackTop, const SkinPiece* trackBottom, const SkinPiece* trackMiddle,
                   const SkinPiece* thumbTop, const SkinPiece* thumbBottom, const SkinPiece* thumbMiddle);
    bool Create(const win::RECT& rect, win::DWORD flags, win::HWND parent);
    win::HWND Window() const { return hwnd_; }

    void SetScrollInfo(const win::SCROLLINFO& info, bool redraw);
    void GetScrollInfo(win::SCROLLINFO* info) const;

    int ThumbLength() const;
    int ThumbOffset() const { return offset_; }
    // The dragged position in full (the message's high word holds 16 bits).
    int TrackPosition() const { return info_.nTrackPos; }

private:
    static win::LRESULT Proc(win::HWND hwnd, win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
    win::LRESULT Handle(win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
    int TrackLength() const;
    int FreeTravel() const;
    int Span() const;  // the positions the travel covers: maximum − minimum − page
    void Rebuild();
    void DrawThumb();
    void Report();

    win::HWND hwnd_ = nullptr;
    win::DWORD flags_ = 0;
    const SkinPiece* trackTop_ = nullptr;
    const SkinPiece* trackBottom_ = nullptr;
    const SkinPiece* trackMiddle_ = nullptr;
    const SkinPiece* thumbTop_ = nullptr;
    const SkinPiece* thumbBottom_ = nullptr;
    const SkinPiece* thumbMiddle_ = nullptr;
    win::SCROLLINFO info_;
    SkinPiece track_;
    SkinImage image_;
    int offset_ = 0;
    int offsetAtPress_ = 0;
    int pressY_ = 0;
    bool dragging_ = false;
    bool tracking_ = false;
};
