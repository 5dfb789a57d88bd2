// The skinned scroll bar on its own: thumb length, travel and positions.
#include "SkinTesting.h"
#include "WindowTesting.h"

#include "skin/SkinImage.h"
#include "skin/SkinScrollBar.h"

#include <gtest/gtest.h>

using namespace win;
using namespace testing_windows;
using namespace skintest;

namespace {

class SkinScrollBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WritePng(Folder() + "bar.png", 40, 20, Coordinates);
        SkinImage image = LoadImageFile(Wide(Folder() + "bar.png"));
        SkinRect rects[6] = {{0, 0, 10, 3}, {0, 3, 10, 2}, {0, 5, 10, 4}, {10, 0, 10, 5}, {10, 5, 10, 1}, {10, 6, 10, 6}};
        for (int i = 0; i < 6; ++i) {
            pieces[i].source = rects[i];
            CutPiece(image, pieces[i]);
        }
        top = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {300, 300, 400, 500});
        ASSERT_TRUE(bar.SetPieces(&pieces[0], &pieces[1], &pieces[2], &pieces[3], &pieces[4], &pieces[5]));
        ASSERT_TRUE(bar.Create({0, 0, 10, 100}, SkinScrollBar::kVertical | SkinScrollBar::kRedraw, top));
    }
    void TearDown() override { DestroyWindow(top); }
    void Set(int max, int page, int pos)
    {
        SCROLLINFO info;
        info.fMask = 23;
        info.nMin = 0;
        info.nMax = max;
        info.nPage = static_cast<UINT>(page);
        info.nPos = pos;
        bar.SetScrollInfo(info, true);
    }
    std::vector<int> Reports()
    {
        std::vector<int> out;
        for (const auto& h : Recorder::Instance().All())
            if (h.hwnd == top && h.message == WM_VSCROLL && LOWORD(h.wParam) == 5)
                out.push_back(HIWORD(h.wParam));
        return out;
    }
    SkinPiece pieces[6];
    HWND top = nullptr;
    SkinScrollBar bar;
};

}  // namespace

TEST_F(SkinScrollBarTest, ThumbLengthFollowsThePageWithAMinimum)
{
    Set(400, 100, 0);
    EXPECT_EQ(bar.ThumbLength(), 25);
    Set(0, 100, 0);  // no range: the three pieces' heights
    EXPECT_EQ(bar.ThumbLength(), 5 + 1 + 6);
    Set(10000, 100, 0);
    EXPECT_EQ(bar.ThumbLength(), 12);
    Set(100, 300, 0);  // a page larger than the range: the whole track
    EXPECT_EQ(bar.ThumbLength(), 100);
    SkinScrollBar unpieced;
    SkinPiece empty;
    EXPECT_FALSE(unpieced.SetPieces(&pieces[0], &empty, &pieces[2], &pieces[3], &pieces[4], &pieces[5]));
}

TEST_F(SkinScrollBarTest, DraggingReportsPositionsOverTheWholeTravel)
{
    Set(400, 100, 0);
    auto& rec = Recorder::Instance();
    rec.Clear();
    Press(bar.Window(), 5, 10);
    MoveTo(bar.Window(), 5, 10 + 15);
    Release(bar.Window(), 5, 10 + 15);
    // 15 of 75 pixels of travel over 300 positions.
    ASSERT_FALSE(Reports().empty());
    EXPECT_EQ(Reports().back(), 60);
    EXPECT_EQ(bar.ThumbOffset(), 15);

    rec.Clear();
    Press(bar.Window(), 5, 20);
    MoveTo(bar.Window(), 5, 400);  // the thumb follows beyond the bar
    Release(bar.Window(), 5, 400);
    EXPECT_EQ(Reports().back(), 300);
    EXPECT_EQ(bar.ThumbOffset(), 75);

    // A press off the thumb does nothing.
    rec.Clear();
    Press(bar.Window(), 5, 5);
    MoveTo(bar.Window(), 5, 50);
    Release(bar.Window(), 5, 50);
    EXPECT_TRUE(Reports().empty());

    // A position set by the owner moves the thumb to match.
    Set(400, 100, 150);
    EXPECT_EQ(bar.ThumbOffset(), 38);  // 150 × 75 / 300, rounded
}

TEST_F(SkinScrollBarTest, AThumbAsLongAsTheTrackCannotMove)
{
    Set(100, 100, 0);
    auto& rec = Recorder::Instance();
    rec.Clear();
    Press(bar.Window(), 5, 50);
    MoveTo(bar.Window(), 5, 90);
    Release(bar.Window(), 5, 90);
    ASSERT_FALSE(Reports().empty());
    for (int p : Reports())
        EXPECT_EQ(p, 0);
    EXPECT_EQ(bar.ThumbOffset(), 0);
}
