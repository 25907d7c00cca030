// Copying while another program holds the clipboard open for a moment. The
// holder lets go at a chosen try, through the pause between tries, so no
// test depends on how long anything takes.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/win32/Clipboard.h"
#include "win32/ClipboardHolder.h"
#include "win32/ClipboardText.h"
#include "win32/TestWindow.h"

namespace kestrova::win32 {
namespace {

TEST(ClipboardTests, ACopyWaitsBrieflyForAnotherProgramToLetGo) {
    struct Case {
        const char* name;
        int letGoAfterPause;  // 0: not while the copy tries
        bool copied;
        int pauses;
    };
    const Case cases[] = {
        {"let go during the third pause", 3, true, 3},
        {"let go during the last pause", kClipboardOpenTries - 1, true, kClipboardOpenTries - 1},
        {"held all along", 0, false, kClipboardOpenTries - 1},
    };
    TestWindow owner(L"KestrovaClipboardTestOwner", &DefWindowProcW, WS_POPUP, 10, 10);
    ASSERT_NE(owner.hwnd(), nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(PutOnClipboard(owner.hwnd(), u"before"));
        ClipboardHolder other;
        ASSERT_TRUE(other.Holding());
        int pauses = 0;
        const bool copied = PutOnClipboard(owner.hwnd(), u"rows", [&] {
            if (++pauses == c.letGoAfterPause) other.LetGo();
        });
        other.LetGo();
        EXPECT_EQ(copied, c.copied);
        EXPECT_EQ(pauses, c.pauses);
        EXPECT_EQ(ClipboardText(), std::optional<std::wstring>(c.copied ? L"rows" : L"before"));
    }
}

}  // namespace
}  // namespace kestrova::win32
