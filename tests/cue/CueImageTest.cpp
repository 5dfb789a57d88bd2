#include "cue/CueImage.h"
#include "CueTestFiles.h"

using CueImage = CueFolder;

TEST_F(CueImage, CompanionSheetIsFoundIgnoringCase)
{
    Write("Album.ape", "x");
    EXPECT_EQ(CompanionSheetPath(Path("Album.ape")), Path("Album.cue"));  // missing: named as is
    Write("Album.CUE", "x");
    EXPECT_EQ(CompanionSheetPath(Path("Album.ape")), Path("Album.CUE"));
    Write("Album.cue", "x");
    EXPECT_EQ(CompanionSheetPath(Path("Album.ape")), Path("Album.cue"));  // exact name first
}

TEST_F(CueImage, ImageIsTheFileEntryInTheSheetsFolder)
{
    Write("disc image.ape", "x");
    EXPECT_EQ(ImagePath(Path("a.cue"), L"disc image.ape"), Path("disc image.ape"));
    EXPECT_EQ(ImagePath(Path("a.cue"), L"DISC IMAGE.APE"), Path("disc image.ape"));
    EXPECT_EQ(ImagePath(Path("a.cue"), L"sub/disc image.ape"), Path("sub/disc image.ape"));
    EXPECT_EQ(ImagePath(Path("a.cue"), L""), L"");
    EXPECT_EQ(ImagePath(L"a.cue", L"b.ape"), L"b.ape");
}
