#include "cli/options.h"

#include <charconv>

#include "engine/naming.h"
#include "platform/text.h"

namespace cli {

namespace {

// The filter group whose flag this is, or -1.
int FilterGroupOf(const std::string& flag) {
    for (int g = 0; g < settings::kFilterGroupCount; ++g)
        if (flag == settings::FilterGroups()[static_cast<size_t>(g)].flag) return g;
    return -1;
}

std::optional<int32_t> Number(const std::string& text, int32_t least, int32_t most = INT32_MAX) {
    int32_t v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() || v < least || v > most)
        return std::nullopt;
    return v;
}

// The largest smallest size: no picture is wider or taller than this.
constexpr int32_t kMostPixels = 100000;

bool KnownSourcesName(const std::string& name) {
    std::string lower = name;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    for (const std::string end : {".csv", ".jsonl", ".ndjson"})
        if (lower.size() > end.size() && lower.compare(lower.size() - end.size(), end.size(), end) == 0) return true;
    return false;
}

}  // namespace

const char* UsageText() {
    return "usage: quenby-cli [--folder DIR] [--max N] [--min-size BYTES] [--max-size BYTES]\n"
           "                  [--safe-search Strict|Moderate|Off] [--service URL] [--empty-pages N]\n"
           "                  [--parallel N]\n"
           "                  [--size small|medium|large|wallpaper]\n"
           "                  [--color color|bw|red|orange|yellow|green|teal|blue|purple|pink|brown|black|gray|white]\n"
           "                  [--type photo|clipart|line|animated|transparent] [--layout square|wide|tall]\n"
           "                  [--people faces|portraits] [--date day|week|month|year]\n"
           "                  [--license cc|public-domain|share|share-commercially|modify-share|\n"
           "                             modify-share-commercially] [--market TAG]\n"
           "                  [--skip-identical] [--min-width N] [--min-height N] [--only-pictures]\n"
           "                  [--sources FILE.csv|FILE.jsonl] [--quiet] [--timings]\n"
           "                  KEYWORDS... | --keywords-file FILE\n"
           "Searches images for the keywords and downloads them into the folder. Defaults come from\n"
           "Quenby.ini beside the program (the filters and market only from the command line). Prints\n"
           "one line per image: file name, page, image address. --parallel: how many images of a page\n"
           "are downloaded at once, 1 to 8 (1, the first-run default: one after another).\n"
           "--timings: at the end, where the time went (milliseconds per image, on stderr).\n"
           "A downloaded file is deleted and not listed with --skip-identical when its bytes equal a\n"
           "file in the folder (or one downloaded before), with --min-width/--min-height (pixels, 0 to\n"
           "100000; 0 is no limit) when the picture is smaller, with --only-pictures when it is no\n"
           "picture. --sources appends a row per downloaded file: CSV, or JSON Lines for .jsonl/.ndjson.\n"
           "--keywords-file: one search per line (UTF-8), one after another, a summary line for each.\n"
           "Exit status: 0 images downloaded (by every search), 1 none (by one of them), 2 usage error,\n"
           "3 a search ended by an error.\n";
}

ParseResult ParseCommandLine(const std::vector<std::string>& args) {
    ParseResult r;
    Options& o = r.options;
    std::vector<std::string> keywords;
    bool optionsEnd = false;
    for (size_t i = 0; i < args.size() && r.error.empty(); i++) {
        std::string arg = args[i];
        if (optionsEnd || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            keywords.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnd = true;
            continue;
        }
        if (arg == "--quiet") {
            o.quiet = true;
            continue;
        }
        if (arg == "--timings") {
            o.timings = true;
            continue;
        }
        if (arg == "--help") {
            o.help = true;
            continue;
        }
        if (arg == "--skip-identical" || arg == "--only-pictures") {
            (arg == "--skip-identical" ? o.collection.skipIdentical : o.collection.onlyPictures) = true;
            continue;
        }
        // "--name value" or "--name=value".
        std::string value;
        size_t eq = arg.find('=');
        if (eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
        } else if (arg == "--folder" || arg == "--max" || arg == "--min-size" || arg == "--max-size" ||
                   arg == "--safe-search" || arg == "--service" || arg == "--empty-pages" || arg == "--market" ||
                   arg == "--parallel" || arg == "--min-width" || arg == "--min-height" || arg == "--sources" ||
                   arg == "--keywords-file" || FilterGroupOf(arg) >= 0) {
            if (i + 1 >= args.size()) {
                r.error = arg + " needs a value";
                break;
            }
            value = args[++i];
        }
        auto number = [&](std::optional<int32_t>& into, int32_t least) {
            into = Number(value, least);
            if (!into)
                r.error = arg + " takes a whole number" + (least > 0 ? " of at least 1" : " of 0 or more") +
                          ", not \"" + value + "\"";
        };
        if (arg == "--folder") {
            if (value.empty()) r.error = "--folder needs a folder";
            o.folder = value;
        } else if (arg == "--max") {
            number(o.maxFiles, 0);
        } else if (arg == "--min-size") {
            number(o.minSize, 0);
        } else if (arg == "--max-size") {
            number(o.maxSize, 0);
        } else if (arg == "--empty-pages") {
            std::optional<int32_t> n;
            number(n, 1);
            if (n) o.emptyPages = *n;
        } else if (arg == "--parallel") {
            o.parallel = Number(value, 1, 8);
            if (!o.parallel) r.error = "--parallel takes a whole number from 1 to 8, not \"" + value + "\"";
        } else if (arg == "--min-width" || arg == "--min-height") {
            const std::optional<int32_t> n = Number(value, 0, kMostPixels);
            if (!n)
                r.error = arg + " takes a whole number of pixels from 0 to " + std::to_string(kMostPixels) +
                          ", not \"" + value + "\"";
            (arg == "--min-width" ? o.collection.minWidth : o.collection.minHeight) = n.value_or(0);
        } else if (arg == "--sources") {
            if (!KnownSourcesName(value))
                r.error = "--sources takes a file ending in .csv, .jsonl or .ndjson, not \"" + value + "\"";
            o.collection.sourcesPath = value;
        } else if (arg == "--keywords-file") {
            if (value.empty()) r.error = "--keywords-file needs a file";
            o.keywordsFile = value;
        } else if (arg == "--safe-search") {
            for (const char* level : {"Strict", "Moderate", "Off"})
                if (platform::SameAsciiIgnoringCase(value, level)) o.safeSearch = level;
            if (!o.safeSearch) r.error = "--safe-search takes Strict, Moderate or Off, not \"" + value + "\"";
        } else if (arg == "--service") {
            if (value.empty()) r.error = "--service needs an address";
            o.service = value;
        } else if (int g = FilterGroupOf(arg); g >= 0) {
            int v = settings::ValueForWord(g, value);
            if (v < 0) r.error = arg + " takes " + settings::WordList(g) + ", not \"" + value + "\"";
            o.filters.value[static_cast<size_t>(g)] = v;
        } else if (arg == "--market") {
            if (!settings::IsMarketTag(value))
                r.error = "--market takes a language-region tag such as en-US, not \"" + value + "\"";
            o.filters.market = value;
        } else {
            r.error = "unknown option " + arg;
        }
    }
    if (r.error.empty() && !o.help && keywords.empty() && !o.keywordsFile) r.error = "no keywords given";
    if (r.error.empty() && !keywords.empty() && o.keywordsFile)
        r.error = "give either KEYWORDS or --keywords-file, not both";
    std::string joined;
    for (auto& k : keywords) joined += (joined.empty() ? "" : " ") + k;
    for (char& c : joined)
        if (c == ' ') c = '+';
    o.query = joined;
    return r;
}

std::string OneLine(const std::string& text) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (c < 32)
            out += {'%', hex[c >> 4], hex[c & 15]};
        else
            out += static_cast<char>(c);
    }
    return out;
}

}  // namespace cli
