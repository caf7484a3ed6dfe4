// The console front end's command line.
#include "cli/options.h"

#include <gtest/gtest.h>

using cli::ParseCommandLine;

TEST(CliOptions, KeywordsBecomeTheQuery) {
    auto r = ParseCommandLine({"red", "car"});
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.options.query, "red+car");
    EXPECT_EQ(ParseCommandLine({"red car", " x"}).options.query, "red+car++x");  // spaces kept, each a "+"
    EXPECT_EQ(ParseCommandLine({"--", "--max", "-x"}).options.query, "--max+-x");
    auto o = ParseCommandLine({"a"}).options;
    EXPECT_FALSE(o.folder || o.maxFiles || o.minSize || o.maxSize || o.safeSearch || o.service);
    EXPECT_EQ(o.emptyPages, 3);
    EXPECT_FALSE(o.quiet);
}

TEST(CliOptions, EveryOptionInBothForms) {
    auto r =
        ParseCommandLine({"--folder", "C:\\img", "--max=50", "--min-size", "0", "--max-size=4096000", "--safe-search",
                          "off", "--service=http://127.0.0.1:8080", "--empty-pages", "1", "--quiet", "cats"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(*r.options.folder, "C:\\img");
    EXPECT_EQ(*r.options.maxFiles, 50);
    EXPECT_EQ(*r.options.minSize, 0);
    EXPECT_EQ(*r.options.maxSize, 4096000);
    EXPECT_EQ(*r.options.safeSearch, "Off");
    EXPECT_EQ(*r.options.service, "http://127.0.0.1:8080");
    EXPECT_EQ(r.options.emptyPages, 1);
    EXPECT_TRUE(r.options.quiet);
    EXPECT_TRUE(ParseCommandLine({"--help"}).options.help);
}

TEST(CliOptions, UsageErrors) {
    for (auto args : std::vector<std::vector<std::string>>{{},
                                                           {"--quiet"},
                                                           {"--max", "x", "a"},
                                                           {"--max", "-1", "a"},
                                                           {"--max", "99999999999", "a"},
                                                           {"--max=", "a"},
                                                           {"--min-size", "1k", "a"},
                                                           {"--empty-pages", "0", "a"},
                                                           {"--safe-search", "Medium", "a"},
                                                           {"--folder", "", "a"},
                                                           {"--service=", "a"},
                                                           {"--colour", "a"},
                                                           {"a", "--max"}}) {
        EXPECT_NE(ParseCommandLine(args).error, "") << ::testing::PrintToString(args);
    }
}

TEST(CliOptions, OneLineEscapesControlCharacters) {
    EXPECT_EQ(cli::OneLine("a\tb\r\nc\x01\xe9"), "a%09b%0D%0Ac%01\xe9");
}
