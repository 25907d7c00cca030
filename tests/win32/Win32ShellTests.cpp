// The shell's "open" without opening anything: the entry point is either
// missing, or a stand-in exported by this test program that records what it
// was handed, or the real one pointed at a file that does not exist.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/Win32Shell.h"

namespace {

struct ShellCall {
    HWND owner = nullptr;
    bool anyNull = false;
    std::string operation, file, parameters, directory;
    INT show = 0;
};
std::vector<ShellCall> g_calls;
INT_PTR g_result = 42;

}  // namespace

// Found by name through GetProcAddress on this program, as ShellExecuteA is
// on shell32.dll.
extern "C" __declspec(dllexport) HINSTANCE WINAPI
    KestrovaTestShellExecute(HWND owner, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                             LPCSTR directory, INT show) {
    ShellCall call;
    call.owner = owner;
    call.anyNull = !operation || !file || !parameters || !directory;
    if (!call.anyNull) {
        call.operation = operation;
        call.file = file;
        call.parameters = parameters;
        call.directory = directory;
    }
    call.show = show;
    g_calls.push_back(call);
    return reinterpret_cast<HINSTANCE>(g_result);
}

namespace kestrova::win32 {
namespace {

std::wstring ThisProgram() {
    std::wstring path(MAX_PATH * 4, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

Win32Shell StandInShell() {
    return Win32Shell(ThisProgram(), "KestrovaTestShellExecute");
}

class Win32ShellTestsStandIn : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls.clear();
        g_result = 42;
    }
};

TEST(Win32ShellTests, MissingLibraryOrEntryPointRefusesTheCall) {
    // A library that exists only beside the program (this program under a
    // DLL's name, with the stand-in's export) is as missing as no library:
    // the shell is taken from the system folder alone.
    const std::wstring program = ThisProgram();
    const std::wstring beside = program.substr(0, program.find_last_of(L'\\') + 1) +
                                L"kestrova-beside-the-program.dll";
    ASSERT_TRUE(CopyFileW(program.c_str(), beside.c_str(), FALSE));
    struct Case {
        const char* what;
        std::wstring library;
        std::string entry;
    };
    const std::vector<Case> cases{
        {"missing library", L"kestrova-no-such-library.dll", "ShellExecuteA"},
        {"missing entry point", L"shell32.dll", "KestrovaNoSuchEntryPoint"},
        {"library beside the program", L"kestrova-beside-the-program.dll",
         "KestrovaTestShellExecute"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Win32Shell shell(c.library, c.entry);
        EXPECT_EQ(shell.LookupCount(), 0);  // nothing is looked up before the first call
        EXPECT_EQ(shell.ShellExecuteA(0, u"open", u"x", u"", u"", 1), std::nullopt);
        EXPECT_EQ(shell.ShellExecuteA(0, u"open", u"x", u"", u"", 1), std::nullopt);
        EXPECT_EQ(shell.LookupCount(), 2);  // and a failed lookup is tried again
        EXPECT_FALSE(shell.IsResolved());
    }
    // The usual search finds the copy, so the refusal above was the rule's.
    const HMODULE found = LoadLibraryW(L"kestrova-beside-the-program.dll");
    EXPECT_NE(found, nullptr);
    if (found) FreeLibrary(found);
    DeleteFileW(beside.c_str());
}

TEST(Win32ShellTests, FindsTheRealEntryPointInShell32) {
    Win32Shell shell;
    // A file that does not exist: the shell can only say so.
    const std::optional<std::intptr_t> result = shell.ShellExecuteA(
        0, u"open", u"C:\\kestrova-test-missing\\no-such-file.kvx", u"", u"", SW_HIDE);
    EXPECT_TRUE(shell.IsResolved());
    EXPECT_EQ(shell.LookupCount(), 1);
    ASSERT_TRUE(result.has_value());
    EXPECT_LE(*result, 32);  // an error, never something opened
}

TEST_F(Win32ShellTestsStandIn, PassesEachTextAndTheResultThrough) {
    Win32Shell shell = StandInShell();
    HWND owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    EXPECT_EQ(shell.ShellExecuteA(reinterpret_cast<WindowHandle>(owner), u"open",
                                  u"http://kestrova.example/", u"-x y", u"C:\\work", 5),
              std::optional<std::intptr_t>(42));
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].owner, owner);
    EXPECT_FALSE(g_calls[0].anyNull);
    EXPECT_EQ(g_calls[0].operation, "open");
    EXPECT_EQ(g_calls[0].file, "http://kestrova.example/");
    EXPECT_EQ(g_calls[0].parameters, "-x y");
    EXPECT_EQ(g_calls[0].directory, "C:\\work");
    EXPECT_EQ(g_calls[0].show, 5);

    // Whatever the entry returns comes back, success or not.
    for (INT_PTR value : {INT_PTR{2}, INT_PTR{33}, INT_PTR{0}}) {
        g_result = value;
        EXPECT_EQ(shell.ShellExecuteA(0, u"open", u"f", u"", u"", 1),
                  std::optional<std::intptr_t>(value));
    }
    EXPECT_EQ(shell.LookupCount(), 1);  // one lookup for all the calls
    EXPECT_TRUE(shell.IsResolved());
}

TEST_F(Win32ShellTestsStandIn, EmptyTextsGoAsEmptyStringsNotNull) {
    Win32Shell shell = StandInShell();
    ASSERT_TRUE(shell.ShellExecuteA(0, u"", u"", u"", u"", 0).has_value());
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_FALSE(g_calls[0].anyNull);
    EXPECT_EQ(g_calls[0].operation, "");
    EXPECT_EQ(g_calls[0].file, "");
    EXPECT_EQ(g_calls[0].parameters, "");
    EXPECT_EQ(g_calls[0].directory, "");
}

// Exact conversion only: no best fit, no default character. Which
// characters exist depends on the system's code page.
TEST_F(Win32ShellTestsStandIn, ConvertsToTheAnsiCodePageExactlyOrNotAtAll) {
    struct Case {
        const char* what;
        Text text;
        std::optional<std::string> ansi;
    };
    std::vector<Case> cases;
    switch (GetACP()) {
        case 1252:
            cases = {
                {"e acute", u"caf\u00e9", std::string("caf\xe9")},
                {"euro sign", u"\u20ac5", std::string(1, '\x80') + "5"},
                {"A macron, best fit would give A", u"\u0100", std::nullopt},
                {"CJK", u"\u4e2d", std::nullopt},
                {"outside the BMP", u"\U0001F600", std::nullopt},
                {"lone surrogate", Text(1, char16_t{0xD800}), std::nullopt},
                {"embedded zero", Text(u"a\0b", 3), std::nullopt},
            };
            break;
        case CP_UTF8:
            cases = {
                {"e acute", u"caf\u00e9", std::string("caf\xc3\xa9")},
                {"CJK", u"\u4e2d", std::string("\xe4\xb8\xad")},
                {"lone surrogate", Text(1, char16_t{0xD800}), std::nullopt},
                {"embedded zero", Text(u"a\0b", 3), std::nullopt},
            };
            break;
        default:
            GTEST_SKIP() << "no table for ANSI code page " << GetACP();
    }

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ToAnsiExactly(c.text), c.ansi);
        // The text in each position refuses (or passes) the whole call.
        for (int position = 0; position < 4; ++position) {
            SCOPED_TRACE(position);
            g_calls.clear();
            Win32Shell shell = StandInShell();
            Text texts[4] = {u"open", u"f", u"", u""};
            texts[position] = c.text;
            const std::optional<std::intptr_t> result =
                shell.ShellExecuteA(0, texts[0], texts[1], texts[2], texts[3], 1);
            if (!c.ansi) {
                EXPECT_EQ(result, std::nullopt);
                EXPECT_TRUE(g_calls.empty());
                continue;
            }
            ASSERT_EQ(result, std::optional<std::intptr_t>(42));
            ASSERT_EQ(g_calls.size(), 1u);
            const std::string received[4] = {g_calls[0].operation, g_calls[0].file,
                                             g_calls[0].parameters, g_calls[0].directory};
            EXPECT_EQ(received[position], *c.ansi);
        }
    }
}

}  // namespace
}  // namespace kestrova::win32
