#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Environment.h"

namespace kestrova::win32 {
namespace {

class Win32EnvironmentTests : public ::testing::Test {
protected:
    static constexpr const wchar_t* kName = L"KESTROVA_TEST_VARIABLE";
    void TearDown() override { SetEnvironmentVariableW(kName, nullptr); }
};

TEST_F(Win32EnvironmentTests, ReadsBackWhatWasSet) {
    const std::vector<std::wstring> values{
        L"PC-0815",
        L"x",
        L"with spaces and = signs",
        L"\u00fcnicode \u4e2d \U0001F600",
        std::wstring(255, L'a'),  // one short of the first buffer
        std::wstring(256, L'b'),  // exactly the first buffer
        std::wstring(257, L'c'),
        std::wstring(32000, L'd'),  // near the limit of a variable
    };
    const Win32Environment environment;
    for (const std::wstring& value : values) {
        SCOPED_TRACE(value.size());
        ASSERT_TRUE(SetEnvironmentVariableW(kName, value.c_str()));
        EXPECT_EQ(environment.GetVariable(FromWide(kName)), FromWide(value));
    }
}

TEST_F(Win32EnvironmentTests, UnsetIsEmpty) {
    const Win32Environment environment;
    ASSERT_TRUE(SetEnvironmentVariableW(kName, L"set"));
    ASSERT_EQ(environment.GetVariable(FromWide(kName)), Text(u"set"));
    ASSERT_TRUE(SetEnvironmentVariableW(kName, nullptr));
    EXPECT_EQ(environment.GetVariable(FromWide(kName)), Text());
    EXPECT_EQ(environment.GetVariable(u"KESTROVA_NEVER_SET_ANYWHERE"), Text());
    EXPECT_EQ(environment.GetVariable(u""), Text());
}

TEST_F(Win32EnvironmentTests, NamesAreWholeAndCaseInsensitive) {
    const Win32Environment environment;
    ASSERT_TRUE(SetEnvironmentVariableW(kName, L"value"));
    EXPECT_EQ(environment.GetVariable(u"kestrova_test_variable"), Text(u"value"));
    // A zero inside the name must not read the variable named by its start.
    EXPECT_EQ(environment.GetVariable(Text(u"KESTROVA_TEST_VARIABLE\0X", 24)), Text());
    EXPECT_EQ(environment.GetVariable(u"KESTROVA_TEST_VARIABL"), Text());
}

TEST_F(Win32EnvironmentTests, ReadsComputerNameAsTheProgramWill) {
    std::wstring expected(MAX_COMPUTERNAME_LENGTH + 1, L'\0');
    DWORD size = static_cast<DWORD>(expected.size());
    ASSERT_TRUE(GetComputerNameW(expected.data(), &size));
    expected.resize(size);
    const Win32Environment environment;
    EXPECT_EQ(environment.GetVariable(u"COMPUTERNAME"), FromWide(expected));
}

}  // namespace
}  // namespace kestrova::win32
