// The message box as a call: owner, prompt, caption and style as MessageBoxW
// would receive them, observed through a stand-in so no modal box appears.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/Win32MessageBox.h"

namespace kestrova::win32 {
namespace {

struct BoxCall {
    HWND owner;
    std::wstring prompt;
    std::wstring caption;
    UINT style;
};

TEST(Win32MessageBoxTests, ShowsThePromptUnderTheCaptionWithTheStyle) {
    std::vector<BoxCall> calls;
    HWND owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x5678));
    Win32MessageBox box(owner, u"Kestrova",
                        [&](HWND h, const wchar_t* prompt, const wchar_t* caption, UINT style) {
                            calls.push_back({h, prompt, caption, style});
                            return IDOK;
                        });
    struct Case {
        Text prompt;
        std::uint32_t style;
        std::wstring widePrompt;
    };
    const std::vector<Case> cases{
        {u"Please enter a number of seconds.", kStyleWarning, L"Please enter a number of seconds."},
        {u"", MB_OK, L""},
        {u"line 1\r\nline 2 \u00fc\U0001F600", MB_ICONERROR | MB_OKCANCEL,
         L"line 1\r\nline 2 \u00fc\U0001F600"},
    };
    for (const Case& c : cases) box.Show(c.prompt, c.style);
    ASSERT_EQ(calls.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(calls[i].owner, owner);
        EXPECT_EQ(calls[i].prompt, cases[i].widePrompt);
        EXPECT_EQ(calls[i].caption, L"Kestrova");
        EXPECT_EQ(calls[i].style, static_cast<UINT>(cases[i].style));
    }
    EXPECT_EQ(static_cast<UINT>(kStyleWarning), static_cast<UINT>(MB_OK | MB_ICONWARNING));
}

}  // namespace
}  // namespace kestrova::win32
