// The program folder without its decoder module (this test runs where the
// module cannot be found): "add" still makes the rows but says why they
// cannot be read, and converting one fails with that reason.
#include "tests/app/MainWindowFixture.h"

#include "app/MainWindowTemplate.h"
#include "modules/apesdk/ApeDecompress.h"

#include "platform/backend/HeadlessBackend.h"

#include <fstream>

using namespace win;
using namespace testing_app;
using namespace testing_support;
using namespace main_window;
namespace fs = std::filesystem;

TEST_F(MainWindowTest, AddWithoutTheDecoderModuleSaysWhyAndConvertingFailsWithTheReason)
{
    std::wstring why;
    ASSERT_FALSE(LoadApeDecoder(&why)) << "the decoder module was found; this test needs it out of reach";
    EXPECT_NE(why.find(L"ape_ffmpeg.so"), std::wstring::npos) << why;

    fs::path text = dir / "notes.txt";
    std::ofstream(text) << "not audio";
    Add({text});
    EXPECT_TRUE(Asked().empty()) << "a file that needs no decoder asks nothing";

    Add({FixturePath("mono8_8k.ape"), Album()});
    ASSERT_EQ(list.Rows().size(), 3u);  // the sheet's tracks need its image read: one row
    EXPECT_EQ(list.Rows().at(1).info, L"00:00:00");
    auto asked = Asked();
    ASSERT_EQ(asked.size(), 1u) << "one message per add, not per file";
    EXPECT_EQ(asked[0].rfind(L"Decoder Missing: Monkey's Audio files cannot be read: ", 0), 0u) << asked[0];
    EXPECT_NE(asked[0].find(why), std::wstring::npos) << asked[0];

    list.ListSetItemState(kItemToggleCheck, 0);  // leave the text file out
    SetOutputFolder(dir / "out");
    RunBatch(kWave);
    EXPECT_EQ(list.Rows().at(1).info, L"Converter Failed");
    asked = Asked();
    ASSERT_GE(asked.size(), 2u);
    EXPECT_NE(asked[1].find(L"mono8_8k.wav: cannot read the source: " + why), std::wstring::npos) << asked[1];
}
