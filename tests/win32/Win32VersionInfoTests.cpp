// This test program links the product's resource script, so its own file
// carries the product's version resource.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/Win32VersionInfo.h"

namespace kestrova::win32 {
namespace {

TEST(Win32VersionInfoTests, ReadsTheStringsOfTheProgramsOwnResource) {
    const Win32VersionInfo info;
    EXPECT_EQ(info.ProductName(), Text(u"Kestrova"));
    EXPECT_EQ(info.StringValue(L"ProductName"), Text(u"Kestrova"));
    EXPECT_EQ(info.StringValue(L"FileVersion"), Text(u"1.00.0003"));
}

TEST(Win32VersionInfoTests, MissingStringOrResourceGivesEmptyText) {
    const Win32VersionInfo own;
    EXPECT_EQ(own.StringValue(L"KestrovaNoSuchString"), Text());

    // A handle that is no module has no file to read.
    const Win32VersionInfo bogus(reinterpret_cast<HMODULE>(static_cast<INT_PTR>(0x10)));
    EXPECT_EQ(bogus.ProductName(), Text());
}

TEST(Win32VersionInfoTests, ReadsTheFileOfTheModuleItIsGiven) {
    // kernel32's resource is not ours: whatever it says, it is not Kestrova.
    const Win32VersionInfo other(GetModuleHandleW(L"kernel32.dll"));
    EXPECT_NE(other.ProductName(), Text(u"Kestrova"));
}

}  // namespace
}  // namespace kestrova::win32
