// A skin loaded ahead on another thread: the manager takes it only for the
// file and folder it was started for, and what it takes is what reading the
// file then would have given.
#include "SkinTesting.h"

#include "skin/SkinElement.h"
#include "skin/SkinManager.h"
#include "skin/SkinPreload.h"

#include <gtest/gtest.h>

using namespace skintest;

namespace {

std::vector<std::wstring> Names(const SkinManager& manager)
{
    std::vector<std::wstring> found;
    for (const wchar_t* name : {L"main", L"Go", L"Stop", L"Other", L"mmlist"})
        if (manager.Find(name))
            found.push_back(name);
    return found;
}

}  // namespace

TEST(SkinPreloadTest, TakenForItsFileGivesWhatReadingItGives)
{
    std::wstring ini = WriteTestSkin();
    SkinManager direct;
    direct.SetSkinDirectory(Wide(Folder()));
    ASSERT_EQ(direct.LoadSkin(ini), 1);

    SkinManager ahead;
    ahead.AdoptPreload(std::make_unique<SkinPreload>(Wide(Folder()), ini));
    ahead.SetSkinDirectory(Wide(Folder()));
    ASSERT_EQ(ahead.LoadSkin(ini), 1);
    EXPECT_EQ(Names(ahead), Names(direct));
    ASSERT_EQ(Names(ahead).size(), 5u);
    for (const wchar_t* name : {L"main", L"Go"}) {
        const SkinImage& a = ahead.Find(name)->CurrentImage();
        const SkinImage& b = direct.Find(name)->CurrentImage();
        ASSERT_EQ(a.Width(), b.Width());
        ASSERT_EQ(a.Height(), b.Height());
        for (int y = 0; y < a.Height(); y += 7)
            for (int x = 0; x < a.Width(); x += 5)
                ASSERT_EQ(PixelOf(a.Bitmap(), x, y), PixelOf(b.Bitmap(), x, y)) << x << "," << y;
    }
}

TEST(SkinPreloadTest, OtherFileOrFolderIsReadAfresh)
{
    std::wstring ini = WriteTestSkin();
    WriteText(Folder() + "other.ini", "[solo]\ntype=Button\nname=Solo\nimage=skin.png\nnormal=0,100,40,20\n");
    SkinManager manager;
    manager.AdoptPreload(std::make_unique<SkinPreload>(Wide(Folder()), ini));
    manager.SetSkinDirectory(Wide(Folder()));
    ASSERT_EQ(manager.LoadSkin(Wide(Folder() + "other.ini")), 1);
    EXPECT_NE(manager.Find(L"Solo"), nullptr);
    EXPECT_EQ(manager.Find(L"main"), nullptr);

    // Started for another image folder: its pieces would be the wrong ones.
    SkinManager moved;
    moved.AdoptPreload(std::make_unique<SkinPreload>(Wide(Folder() + "elsewhere/"), ini));
    moved.SetSkinDirectory(Wide(Folder()));
    ASSERT_EQ(moved.LoadSkin(ini), 1);
    EXPECT_FALSE(moved.Find(L"main")->CurrentImage().Empty());
}

TEST(SkinPreloadTest, MissingFileFailsAsReadingItFails)
{
    std::wstring missing = Wide(Folder() + "absent.ini");
    SkinManager manager;
    manager.AdoptPreload(std::make_unique<SkinPreload>(Wide(Folder()), missing));
    manager.SetSkinDirectory(Wide(Folder()));
    EXPECT_EQ(manager.LoadSkin(missing), 0);
    // The preload is used up: a second try reads the file (still missing).
    EXPECT_EQ(manager.LoadSkin(missing), 0);

    // Never taken: dropping the manager waits for it.
    SkinManager unused;
    unused.AdoptPreload(std::make_unique<SkinPreload>(Wide(Folder()), WriteTestSkin()));
}
