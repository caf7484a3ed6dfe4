// The code pages the program lives with under its manifest: UTF-8 in the process, the legacy
// one (1252 for an English or C locale under Wine) for files written before.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/codepage.h"
#include "platform/text.h"

using namespace platform;

TEST(CodePage, TheManifestGivesUtf8AndTheLegacyOneIsStillKnown) {
    EXPECT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
    EXPECT_TRUE(TextsAreUtf8());
    EXPECT_EQ(LegacyCodePage(), 1252u);
}

TEST(CodePage, StoredTextTakesUtf8AndDecodesLegacyBytes) {
    EXPECT_EQ(StoredText("caf\xC3\xA9 \xE7\x8C\xAB"), "caf\xC3\xA9 \xE7\x8C\xAB");
    EXPECT_EQ(StoredText("caf\xE9 M\xFCller \x80"), "caf\xC3\xA9 M\xC3\xBCller \xE2\x82\xAC");
    EXPECT_EQ(Widen("\xE7\x8C\xAB"), L"\x732B");
    EXPECT_EQ(Narrow(L"\x043A\xD83D\xDE00"), "\xD0\xBA\xF0\x9F\x98\x80");
    EXPECT_EQ(ToUtf8("\xD0\xBA"), "\xD0\xBA");
    EXPECT_EQ(Recode("caf\xE9", 1252, CP_UTF8), "caf\xC3\xA9");
}
