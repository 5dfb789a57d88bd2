// The program's filter string for the file-open dialog, as the back-ends
// show it. (The dialogs, message boxes, menus and the shell are answered by
// the headless back-end's script in the program's own tests: adding files,
// Browse in the setup dialog, the questions of a batch, the system menu.)
#include "platform/dialogs/CommonDialogs.h"

#include <gtest/gtest.h>

using namespace win;

TEST(CommonDialogs, TheProgramsFilterStringBecomesNamedPatterns)
{
    auto filters = ParseFileFilter(L"Monkey's Audio File(*.APE)|*.ape; *.cue;|All Files (*.*)|*.*||");
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].name, L"Monkey's Audio File(*.APE)");
    EXPECT_EQ(filters[0].patterns, (std::vector<std::wstring>{L"*.ape", L"*.cue"}));
    EXPECT_EQ(filters[1].patterns, (std::vector<std::wstring>{L"*.*"}));
    EXPECT_TRUE(ParseFileFilter(L"").empty());
}
