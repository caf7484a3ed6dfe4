// Result lines and names from a results page or a saved search made by someone else.
#include <gtest/gtest.h>

#include "engine/untrusted.h"

using engine::IsPlainFileName;
using engine::IsWebAddress;

TEST(Untrusted, OnlyWebAddressesGoToTheShell) {
    for (const char* ok : {"http://site.example/", "HTTPS://site.example/a b?q=1#x", "http://h", "https://[::1]:8080/",
                           "http://site.example/caf\xC3\xA9"})
        EXPECT_TRUE(IsWebAddress(ok)) << ok;
    for (const char* bad :
         {"Z:\\tmp\\marker.exe", "\\\\server\\share\\run.exe", "file:///C:/x.exe", "C:marker.exe", "http:/x", "http://",
          "http:///etc", "http://\\\\server\\x", "mailto:a@b", "javascript:alert(1)", " http://x/",
          "http://x/\" --flag \"", "http://x/\x01", "ms-settings:privacy", "", "https://x\r\nZ:\\run.exe"})
        EXPECT_FALSE(IsWebAddress(bad)) << bad;
}

TEST(Untrusted, OnlyPlainNamesOfTheTargetFolder) {
    for (const char* ok : {"cat.jpg", "caf\xC3\xA9 (2).jpeg", "a..b.gif", "setup.exe.jpg", ".hidden.jpg", "x"})
        EXPECT_TRUE(IsPlainFileName(ok)) << ok;
    for (const char* bad :
         {"..\\marker2.exe",  "../x.jpg",   "..",     ".",        "",         "   ",  "C:x.jpg",   "x.jpg:evil.exe",
          "\\\\?\\C:\\x.jpg", "sub\\x.jpg", "con",    "NUL.jpg",  "com1.txt", "lpt9", "CONIN$",    "a.jpg.",
          "a.jpg ",           "x*.jpg",     "x?.jpg", "a<b>.jpg", "a|b",      "a\"b", "tab\t.jpg", "run.exe",
          "run.LNK",          "x.bat",      "x.url",  "x.ps1"})
        EXPECT_FALSE(IsPlainFileName(bad)) << bad;
}
