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
    EXPECT_FALSE(o.folder || o.maxFiles || o.minSize || o.maxSize || o.safeSearch || o.service || o.parallel);
    EXPECT_EQ(o.emptyPages, 3);
    EXPECT_FALSE(o.quiet);
}

TEST(CliOptions, EveryOptionInBothForms) {
    auto r = ParseCommandLine({"--folder", "C:\\img", "--max=50", "--min-size", "0", "--max-size=4096000",
                               "--safe-search", "off", "--service=http://127.0.0.1:8080", "--empty-pages", "1",
                               "--parallel", "8", "--quiet", "cats"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(*r.options.folder, "C:\\img");
    EXPECT_EQ(*r.options.maxFiles, 50);
    EXPECT_EQ(*r.options.minSize, 0);
    EXPECT_EQ(*r.options.maxSize, 4096000);
    EXPECT_EQ(*r.options.safeSearch, "Off");
    EXPECT_EQ(*r.options.service, "http://127.0.0.1:8080");
    EXPECT_EQ(r.options.emptyPages, 1);
    EXPECT_EQ(*r.options.parallel, 8);
    EXPECT_TRUE(r.options.quiet);
    EXPECT_EQ(*ParseCommandLine({"--parallel=1", "a"}).options.parallel, 1);
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
                                                           {"--parallel", "0", "a"},
                                                           {"--parallel", "9", "a"},
                                                           {"--parallel=-1", "a"},
                                                           {"--parallel", "four", "a"},
                                                           {"--parallel", "2x", "a"},
                                                           {"--parallel=", "a"},
                                                           {"a", "--parallel"},
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

TEST(CliOptions, FilterFlagsAndTheMarket) {
    auto none = ParseCommandLine({"a"}).options.filters;
    EXPECT_TRUE(none.Plain());
    auto r = ParseCommandLine({"--license", "share-commercially", "--size=large", "--type", "line", "--color", "Teal",
                               "--layout", "tall", "--people", "portraits", "--date=week", "--market", "en-US", "a"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(settings::FilterQuery(r.options.filters),
              "+filterui:imagesize-large+filterui:color2-FGcls_TEAL+filterui:photo-linedrawing+filterui:aspect-tall"
              "+filterui:face-portrait+filterui:age-lt10080+filterui:license-L2_L3_L4");
    EXPECT_EQ(r.options.filters.market, "en-US");
    // The last of a repeated flag counts, as for every option.
    EXPECT_EQ(settings::FilterQuery(ParseCommandLine({"--size", "small", "--size", "wallpaper", "a"}).options.filters),
              "+filterui:imagesize-wallpaper");
}

TEST(CliOptions, AnUnknownFilterValueNamesTheAcceptedOnes) {
    EXPECT_EQ(ParseCommandLine({"--size", "huge", "a"}).error,
              "--size takes small, medium, large or wallpaper, not \"huge\"");
    EXPECT_EQ(ParseCommandLine({"--license=free", "a"}).error,
              "--license takes cc, public-domain, share, share-commercially, modify-share or "
              "modify-share-commercially, not \"free\"");
    EXPECT_EQ(ParseCommandLine({"--people", "", "a"}).error, "--people takes faces or portraits, not \"\"");
    EXPECT_EQ(ParseCommandLine({"--market", "en-US&adlt=Off", "a"}).error,
              "--market takes a language-region tag such as en-US, not \"en-US&adlt=Off\"");
    EXPECT_EQ(ParseCommandLine({"a", "--date"}).error, "--date needs a value");
    for (auto args : std::vector<std::vector<std::string>>{{"--color", "grey", "a"},
                                                           {"--type", "photograph", "a"},
                                                           {"--layout", "imagesize-large", "a"},
                                                           {"--market", "en US", "a"},
                                                           {"--market=", "a"}})
        EXPECT_NE(ParseCommandLine(args).error, "") << ::testing::PrintToString(args);
}

TEST(CliOptions, ParallelIsOneToEightAndTheHelpShowsIt) {
    EXPECT_EQ(ParseCommandLine({"--parallel", "9", "a"}).error,
              "--parallel takes a whole number from 1 to 8, not \"9\"");
    EXPECT_NE(std::string(cli::UsageText()).find("[--parallel N]"), std::string::npos);
}

TEST(CliOptions, WhatACollectionKeepsAndAFileOfKeywords) {
    auto r = ParseCommandLine({"--skip-identical", "--min-width", "0", "--min-height=100000", "--only-pictures",
                               "--sources", "C:\\out\\Sources.JSONL", "--keywords-file", "list.txt"});
    ASSERT_EQ(r.error, "");
    const engine::CollectionOptions& c = r.options.collection;
    EXPECT_TRUE(c.skipIdentical && c.onlyPictures);
    EXPECT_EQ(c.minWidth, 0);
    EXPECT_EQ(c.minHeight, 100000);
    EXPECT_EQ(c.sourcesPath, "C:\\out\\Sources.JSONL");
    EXPECT_EQ(*r.options.keywordsFile, "list.txt");
    EXPECT_FALSE(ParseCommandLine({"cats"}).options.collection.Hashes());
    EXPECT_EQ(ParseCommandLine({"--min-width", "-1", "cats"}).error,
              "--min-width takes a whole number of pixels from 0 to 100000, not \"-1\"");
    EXPECT_NE(ParseCommandLine({"--min-height=100001", "cats"}).error, "");
    EXPECT_EQ(ParseCommandLine({"--sources", "out.txt", "cats"}).error,
              "--sources takes a file ending in .csv, .jsonl or .ndjson, not \"out.txt\"");
    EXPECT_NE(ParseCommandLine({"--sources", ".csv", "cats"}).error, "");
    EXPECT_EQ(ParseCommandLine({"--keywords-file", "k.txt", "cats"}).error,
              "give either KEYWORDS or --keywords-file, not both");
}
