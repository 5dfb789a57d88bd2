#include "platform/backend/HeadlessBackend.h"
#include "platform/core/MessageBox.h"
#include "platform/core/Module.h"

#include <gtest/gtest.h>

using namespace win;

TEST(Module, LoadsByNameWithoutSuffixAndFindsExports)
{
    // The module sits beside this test program, where the loader looks
    // first.
    for (const wchar_t* name : {L"test_module", L"test_module.dll", L"test_module.so"}) {
        HMODULE module = LoadLibrary(name);
        ASSERT_NE(module, nullptr) << "name form not found";
        auto answer = reinterpret_cast<int (*)()>(GetProcAddress(module, "TestModuleAnswer"));
        ASSERT_NE(answer, nullptr);
        EXPECT_EQ(answer(), 42);
        EXPECT_EQ(GetProcAddress(module, "NoSuchExport"), nullptr);
        EXPECT_TRUE(FreeLibrary(module));
    }
    EXPECT_EQ(LoadLibrary(L"no_such_module"), nullptr);
    EXPECT_EQ(LoadLibrary(L""), nullptr);
}

TEST(MessageBoxHeadless, AnswersFromScriptThenByBoxType)
{
    Headless().Reset();
    Headless().PushAnswer(IDYES);
    EXPECT_EQ(MessageBox(nullptr, L"first?", L"Q", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBox(nullptr, L"second?", L"Q", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBox(nullptr, L"third", L"Q", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBox(nullptr, L"fourth", L"Q", MB_OK), IDOK);
    auto asked = Headless().Questions();
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[0].text, L"first?");
    EXPECT_EQ(asked[2].type, MB_OKCANCEL);
    Headless().Reset();
}
