// Text in the process code page: UTF-8 kept whole, legacy files decoded, case folded.
#include <gtest/gtest.h>

#include "platform/text.h"

using namespace platform;

namespace {

// Runs the body with the process's texts taken as legacy 8-bit, then restores them.
struct LegacyTexts {
    bool was = TextsAreUtf8();
    LegacyTexts() { SetTextsAreUtf8(false); }
    ~LegacyTexts() { SetTextsAreUtf8(was); }
};

const std::string kCat = "\xE7\x8C\xAB";                                 // 猫
const std::string kKoshka = "\xD0\xBA\xD0\xBE\xD1\x88\xD0\xBA\xD0\xB0";  // кошка
const std::string kCafe = "caf\xC3\xA9";                                 // café

}  // namespace

TEST(Utf8, WellFormedCharactersOnly) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8(kCat + kKoshka + kCafe + "\xF0\x9F\x98\x80"));  // an emoji too
    for (std::string bad : {"\xE9", "\xC3", "\xE7\x8C", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                            "\xF8\x88\x80\x80\x80", "\x80", "\xFF"})
        EXPECT_FALSE(IsValidUtf8("a" + bad + "b")) << bad.size();
    EXPECT_EQ(Utf8CharLength(kCat), 3u);
    EXPECT_EQ(Utf8CharLength("\xF0\x9F\x98\x80"), 4u);
    EXPECT_EQ(Utf8CharLength("\xC0\xAF"), 0u);  // an overlong "/" is no character
}

TEST(Utf8, CountsAndCutsByCharacter) {
    EXPECT_EQ(CharacterCount(kCat + kKoshka), 6u);
    EXPECT_EQ(CharacterCount("a\xFF"
                             "b"),
              3u);  // a stray byte counts as one
    EXPECT_EQ(FirstCharacters(kCat + kCat + kCat, 2), kCat + kCat);
    EXPECT_EQ(FirstCharacters(kKoshka, 10), kKoshka);
    // "e" and a combining acute stay together: the cut goes before the letter.
    EXPECT_EQ(FirstCharacters("abe\xCC\x81", 3), "ab");
    EXPECT_EQ(FirstCharacters("abe\xCC\x81", 4), "abe\xCC\x81");
    {
        LegacyTexts legacy;
        EXPECT_EQ(CharacterCount(kCat), 3u);
        EXPECT_EQ(FirstCharacters(kCat, 2), "\xE7\x8C");
    }
    EXPECT_EQ(WithoutCutCharacter("ab" + kCat.substr(0, 2)), "ab");
    EXPECT_EQ(WithoutCutCharacter("ab" + kCat.substr(0, 1)), "ab");
    EXPECT_EQ(WithoutCutCharacter("ab" + kCat), "ab" + kCat);
    EXPECT_EQ(WithoutCutCharacter("\xF0\x9F\x98"), "");
    EXPECT_EQ(WithoutCutCharacter("x\x80"), "x\x80");  // not a cut character: left to the reader
}

TEST(Utf8, StrayBytesAreShownAsEscapes) {
    EXPECT_EQ(ShowableText(kCafe), kCafe);
    EXPECT_EQ(ShowableText("caf\xE9 " + kCat + "\xE7\x8C"), "caf%E9 " + kCat + "%E7%8C");
    EXPECT_TRUE(IsValidUtf8(ShowableText("\xFF\xFE\xC0\xAF")));
    LegacyTexts legacy;
    EXPECT_EQ(ShowableText("caf\xE9"), "caf\xE9");
}

TEST(Utf8, CaseIgnoredInEveryScriptTheRulesKnow) {
    EXPECT_TRUE(SameTextIgnoringCase("Red Car", "red CAR"));
    EXPECT_TRUE(SameTextIgnoringCase("CAF\xC3\x89", kCafe));                                    // CAFÉ
    EXPECT_TRUE(SameTextIgnoringCase("\xD0\x9A\xD0\x9E\xD0\xA8\xD0\x9A\xD0\x90", kKoshka));     // КОШКА
    EXPECT_TRUE(SameTextIgnoringCase("M\xC3\x9CLLER", "m\xC3\xBCller"));                        // MÜLLER
    EXPECT_TRUE(SameTextIgnoringCase("\xC5\x81\xC3\x93\xC5\xB9", "\xC5\x82\xC3\xB3\xC5\xBA"));  // ŁÓŹ
    EXPECT_TRUE(SameTextIgnoringCase("\xCE\xA3\xCE\x9F\xCE\xA6", "\xCF\x83\xCE\xBF\xCF\x86"));  // ΣΟΦ
    EXPECT_TRUE(SameTextIgnoringCase("\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89"));                // Été, éTÉ
    EXPECT_TRUE(SameTextIgnoringCase(kCat, kCat));
    EXPECT_FALSE(SameTextIgnoringCase(kCafe, "cafe"));
    EXPECT_FALSE(SameTextIgnoringCase("\xC3\x97", "\xC3\xB7"));  // × is no letter
    EXPECT_FALSE(SameTextIgnoringCase("a\xE9", "a\xC9"));        // stray bytes only match themselves
    EXPECT_FALSE(SameTextIgnoringCase("ab", "abc"));
    LegacyTexts legacy;
    EXPECT_TRUE(SameTextIgnoringCase("\xC9t\xE9", "\xE9T\xC9"));  // the accented letters of code page 1252
}

// Addresses and fixed words: only A to Z fold, whatever the code page.
TEST(Bytes, AsciiCaseAndBlanks) {
    EXPECT_TRUE(SameAsciiIgnoringCase("HTTP://X/A.JPG", "http://x/a.jpg"));
    EXPECT_FALSE(SameAsciiIgnoringCase("a", "ab"));
    EXPECT_FALSE(SameAsciiIgnoringCase("CAF\xC3\x89", kCafe));  // É is not ASCII
    EXPECT_TRUE(IsBlank(""));
    EXPECT_TRUE(IsBlank(std::string(" \t\r\n\x01\0 ", 7)));
    EXPECT_TRUE(IsBlank(" \t\x01 "));
    EXPECT_FALSE(IsBlank(" a "));
    EXPECT_FALSE(IsBlank("\x80"));
    EXPECT_FALSE(IsBlank("\xE9"));  // an accented letter is text
}

TEST(LegacyOrUtf8, Utf8IsTakenAsItIsAnythingElseIsDecoded) {
    EXPECT_EQ(Utf8OrLegacy(kCafe + kCat, Cp1252ToUtf8), kCafe + kCat);
    EXPECT_EQ(Utf8OrLegacy("\xEF\xBB\xBF" + kCafe, Cp1252ToUtf8), kCafe);  // the byte order mark goes
    EXPECT_EQ(Utf8OrLegacy("caf\xE9 M\xFCller", Cp1252ToUtf8), kCafe + " M\xC3\xBCller");
    // One stray byte makes the whole file legacy: "Ã©" then is two letters of 1252.
    EXPECT_EQ(Utf8OrLegacy("\xC3\xA9 \xE9", Cp1252ToUtf8), "\xC3\x83\xC2\xA9 \xC3\xA9");
    EXPECT_EQ(Cp1252ToUtf8("\x80\x84\x85\x9F\x81"), "\xE2\x82\xAC\xE2\x80\x9E\xE2\x80\xA6\xC5\xB8\xC2\x81");
    EXPECT_EQ(Utf8OrLegacy("", Cp1252ToUtf8), "");
}
