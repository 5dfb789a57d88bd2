// Skinned push buttons: faces, placement, the click rule and blending.
#include "SkinTesting.h"
#include "WindowTesting.h"

#include "skin/SkinButton.h"
#include "skin/SkinManager.h"

#include "platform/dialogs/Dialog.h"

#include <gtest/gtest.h>

using namespace win;
using namespace testing_windows;
using namespace skintest;

namespace {

class SkinButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        manager.SetSkinDirectory(Wide(Folder()));
        ASSERT_EQ(manager.LoadSkin(WriteTestSkin()), 1);
        top = MakeTop(L"Recorder", WS_POPUP | WS_CAPTION | WS_VISIBLE, {100, 100, 500, 400});
        go = Make(L"Go", 1, 150);
        stop = Make(L"Stop", 2, 250);
        ASSERT_EQ(manager.ApplySkin(top, L"main"), 1);
        goSkin = dynamic_cast<SkinButton*>(manager.Find(L"Go"));
        stopSkin = dynamic_cast<SkinButton*>(manager.Find(L"Stop"));
        ASSERT_TRUE(goSkin && stopSkin);
        // As the dialog manager does: the buttons place themselves then.
        SendMessage(go, WM_GETDLGCODE, 0, 0);
        SendMessage(stop, WM_GETDLGCODE, 0, 0);
        Pump();
    }
    void TearDown() override { DestroyWindow(top); }
    HWND Make(LPCWSTR text, int id, int x)
    {
        return CreateWindowEx(0, L"Button", text, 0x50010000, x, 100, 60, 30, top,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    static std::uint32_t Face(SkinButton* b) { return PixelOf(b->CurrentImage().Bitmap(), 10, 5) & 0xFFFFFF; }
    std::vector<WPARAM> Clicks()
    {
        std::vector<WPARAM> out;
        for (const auto& h : Recorder::Instance().All())
            if (h.hwnd == top && h.message == WM_COMMAND)
                out.push_back(h.wParam);
        return out;
    }
    SkinManager manager;
    HWND top = nullptr, go = nullptr, stop = nullptr;
    SkinButton* goSkin = nullptr;
    SkinButton* stopSkin = nullptr;
};

constexpr std::uint32_t kNormal = (10u << 16) | (105u << 8) | 0x80;
constexpr std::uint32_t kHover = (50u << 16) | (105u << 8) | 0x80;
constexpr std::uint32_t kDown = (90u << 16) | (105u << 8) | 0x80;
constexpr std::uint32_t kDisabled = (130u << 16) | (105u << 8) | 0x80;

}  // namespace

TEST_F(SkinButtonTest, AnchoredButtonsMoveAndTakeTheirFacesSize)
{
    RECT r;
    GetWindowRect(go, &r);
    POINT at{r.left, r.top};
    ScreenToClient(top, &at);
    EXPECT_EQ(at.x, 7);
    EXPECT_EQ(at.y, 9);
    EXPECT_EQ(r.right - r.left, 40);
    EXPECT_EQ(r.bottom - r.top, 20);
    // Without an anchor the template's place and size stay.
    GetWindowRect(stop, &r);
    EXPECT_EQ(r.right - r.left, 60);
}

TEST_F(SkinButtonTest, FacesFollowThePointerAndClicksAreReportedOnRelease)
{
    auto& rec = Recorder::Instance();
    EXPECT_EQ(Face(goSkin), kNormal);
    MoveTo(go, 10, 5);
    EXPECT_EQ(Face(goSkin), kHover);
    rec.Clear();
    Press(go, 10, 5);
    EXPECT_EQ(Face(goSkin), kDown);
    EXPECT_TRUE(Clicks().empty());
    Release(go, 10, 5);
    EXPECT_EQ(Face(goSkin), kHover);
    ASSERT_EQ(Clicks().size(), 1u);
    EXPECT_EQ(Clicks()[0], MAKEWPARAM(1, 0));
    EXPECT_EQ(PixelAt(top, 7 + 10, kCaption + 9 + 5), kHover);

    // Pressed on one button, released on the other: the other clicks.
    rec.Clear();
    Press(go, 10, 5);
    MoveTo(stop, 10, 5);
    Release(stop, 10, 5);
    ASSERT_EQ(Clicks().size(), 1u);
    EXPECT_EQ(Clicks()[0], MAKEWPARAM(2, 0));
    // Go stays down until the pointer's leaving is reported.
    EXPECT_EQ(Face(goSkin), kNormal);
}

TEST_F(SkinButtonTest, PressingAndLeavingSendsNoClick)
{
    auto& rec = Recorder::Instance();
    MoveTo(go, 10, 5);
    rec.Clear();
    Press(go, 10, 5);
    MoveTo(top, 300, 250);
    EXPECT_EQ(Face(goSkin), kNormal);
    EXPECT_TRUE(Clicks().empty());
}

TEST_F(SkinButtonTest, DisabledFaceAndBackToNormal)
{
    MoveTo(go, 10, 5);
    EnableWindow(go, 0);
    EXPECT_EQ(Face(goSkin), kDisabled);
    EnableWindow(go, 1);
    EXPECT_EQ(Face(goSkin), kNormal);
}

TEST_F(SkinButtonTest, TranslucentFacesBlendOverWhatWasDrawn)
{
    // Stop's hover face is half-transparent white over the normal face.
    MoveTo(stop, 10, 5);
    std::uint32_t p = Face(stopSkin);
    EXPECT_NEAR(static_cast<int>((p >> 16) & 0xFF), (10 + 255) / 2, 2);
    EXPECT_NEAR(static_cast<int>((p >> 8) & 0xFF), (105 + 255) / 2, 2);
    // Again over that blend: lighter still.
    MoveTo(top, 300, 250);  // normal face drawn over it
    MoveTo(stop, 10, 5);
    EXPECT_NEAR(static_cast<int>((Face(stopSkin) >> 16) & 0xFF), (10 + 255) / 2, 2);
}

TEST_F(SkinButtonTest, ADisabledButtonKeepsItsDisabledFaceWhateverThePointerDoes)
{
    auto& rec = Recorder::Instance();
    // Disabled under the pointer (as a click that starts work does), then
    // left, come back to, pressed and released.
    MoveTo(go, 10, 5);
    EnableWindow(go, 0);
    MoveTo(top, 300, 250);
    EXPECT_EQ(Face(goSkin), kDisabled);
    MoveTo(go, 10, 5);
    EXPECT_EQ(Face(goSkin), kDisabled);
    rec.Clear();
    Press(go, 10, 5);
    EXPECT_EQ(Face(goSkin), kDisabled);
    Release(go, 10, 5);
    EXPECT_EQ(Face(goSkin), kDisabled);
    EXPECT_TRUE(Clicks().empty());
    MoveTo(top, 300, 250);
    EXPECT_EQ(Face(goSkin), kDisabled);
    EXPECT_EQ(PixelAt(top, 7 + 10, kCaption + 9 + 5), kDisabled);

    // Enabled again: normal, and it lights up with the pointer once more.
    EnableWindow(go, 1);
    EXPECT_EQ(Face(goSkin), kNormal);
    MoveTo(go, 10, 5);
    EXPECT_EQ(Face(goSkin), kHover);
    MoveTo(top, 300, 250);
    EXPECT_EQ(Face(goSkin), kNormal);
}
