#include "settings/filters.h"

#include "platform/text.h"

namespace settings {

namespace {

bool Letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool Digit(char c) { return c >= '0' && c <= '9'; }

bool Valid(int group, int value) {
    return group >= 0 && group < kFilterGroupCount && value >= 0 &&
           value < static_cast<int>(FilterGroups()[static_cast<size_t>(group)].values.size());
}

const FilterValue& ValueOf(int group, int value) {
    return FilterGroups()[static_cast<size_t>(group)].values[static_cast<size_t>(value)];
}

}  // namespace

const std::array<FilterGroup, kFilterGroupCount>& FilterGroups() {
    static const std::array<FilterGroup, kFilterGroupCount> groups{{
        {"--size",
         "Size:",
         {{"imagesize-small", "Small", "small", "small"},
          {"imagesize-medium", "Medium", "medium", "medium"},
          {"imagesize-large", "Large", "large", "large"},
          {"imagesize-wallpaper", "Extra large", "wallpaper", "extra large"}}},
        {"--color",
         "Colour:",
         {{"color2-color", "Colour only", "color", "colour only"},
          {"color2-bw", "Black and white", "bw", "black and white"},
          {"color2-FGcls_RED", "Red", "red", "red"},
          {"color2-FGcls_ORANGE", "Orange", "orange", "orange"},
          {"color2-FGcls_YELLOW", "Yellow", "yellow", "yellow"},
          {"color2-FGcls_GREEN", "Green", "green", "green"},
          {"color2-FGcls_TEAL", "Teal", "teal", "teal"},
          {"color2-FGcls_BLUE", "Blue", "blue", "blue"},
          {"color2-FGcls_PURPLE", "Purple", "purple", "purple"},
          {"color2-FGcls_PINK", "Pink", "pink", "pink"},
          {"color2-FGcls_BROWN", "Brown", "brown", "brown"},
          {"color2-FGcls_BLACK", "Black", "black", "black"},
          {"color2-FGcls_GRAY", "Gray", "gray", "gray"},
          {"color2-FGcls_WHITE", "White", "white", "white"}}},
        {"--type",
         "Type:",
         {{"photo-photo", "Photograph", "photo", "photo"},
          {"photo-clipart", "Clip art", "clipart", "clip art"},
          {"photo-linedrawing", "Line drawing", "line", "line drawing"},
          {"photo-animatedgif", "Animated GIF", "animated", "animated GIF"},
          {"photo-transparent", "Transparent", "transparent", "transparent"}}},
        {"--layout",
         "Layout:",
         {{"aspect-square", "Square", "square", "square"},
          {"aspect-wide", "Wide", "wide", "wide"},
          {"aspect-tall", "Tall", "tall", "tall"}}},
        {"--people",
         "People:",
         {{"face-face", "Just faces", "faces", "faces"},
          {"face-portrait", "Head and shoulders", "portraits", "head and shoulders"}}},
        {"--date",
         "Date:",
         {{"age-lt1440", "Past 24 hours", "day", "past 24 hours"},
          {"age-lt10080", "Past week", "week", "past week"},
          {"age-lt43200", "Past month", "month", "past month"},
          {"age-lt525600", "Past year", "year", "past year"}}},
        {"--license",
         "Licence:",
         {{"licenseType-Any", "All Creative Commons", "cc", "Creative Commons"},
          {"license-L1", "Public domain", "public-domain", "public domain"},
          {"license-L2_L3_L4_L5_L6_L7", "Free to share and use", "share", "free to share and use"},
          {"license-L2_L3_L4", "Free to share and use commercially", "share-commercially",
           "free to share and use commercially"},
          {"license-L2_L3_L5_L6", "Free to modify, share and use", "modify-share", "free to modify, share and use"},
          {"license-L2_L3", "Free to modify, share and use commercially", "modify-share-commercially",
           "free to modify, share and use commercially"}}},
    }};
    return groups;
}

const std::vector<std::string>& CommonMarkets() {
    static const std::vector<std::string> markets{
        kDefaultMarket, "da-DK", "de-AT", "de-CH", "de-DE", "en-AU", "en-CA", "en-GB", "en-IE", "en-IN", "en-NZ",
        "en-US",        "es-AR", "es-ES", "es-MX", "fi-FI", "fr-BE", "fr-CA", "fr-CH", "fr-FR", "it-IT", "ja-JP",
        "ko-KR",        "nb-NO", "nl-BE", "pl-PL", "pt-BR", "pt-PT", "ru-RU", "sv-SE", "tr-TR", "zh-CN", "zh-TW"};
    return markets;
}

bool FilterChoice::Plain() const { return FilterQuery(*this).empty() && market == kDefaultMarket; }

int ValueForCode(int group, const std::string& code) {
    if (group < 0 || group >= kFilterGroupCount) return -1;
    const auto& values = FilterGroups()[static_cast<size_t>(group)].values;
    for (size_t i = 0; i < values.size(); ++i)
        if (code == values[i].code) return static_cast<int>(i);
    return -1;
}

int ValueForWord(int group, const std::string& word) {
    if (group < 0 || group >= kFilterGroupCount) return -1;
    const auto& values = FilterGroups()[static_cast<size_t>(group)].values;
    for (size_t i = 0; i < values.size(); ++i)
        if (platform::SameAsciiIgnoringCase(word, values[i].word)) return static_cast<int>(i);
    return -1;
}

std::string WordList(int group) {
    if (group < 0 || group >= kFilterGroupCount) return {};
    const auto& values = FilterGroups()[static_cast<size_t>(group)].values;
    std::string list;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0) list += i + 1 == values.size() ? " or " : ", ";
        list += values[i].word;
    }
    return list;
}

bool IsMarketTag(const std::string& tag) {
    if (tag.size() > 35) return false;
    size_t i = 0;
    while (i < tag.size() && Letter(tag[i])) ++i;
    if (i < 2 || i > 3) return false;
    while (i < tag.size()) {
        if (tag[i++] != '-') return false;
        size_t start = i;
        while (i < tag.size() && (Letter(tag[i]) || Digit(tag[i]))) ++i;
        if (i == start || i - start > 8) return false;
    }
    return true;
}

std::string MarketFromStored(const std::string& stored) { return IsMarketTag(stored) ? stored : kDefaultMarket; }

std::string StoredCode(int group, int value) { return Valid(group, value) ? ValueOf(group, value).code : ""; }

std::string FilterQuery(const FilterChoice& c) {
    std::string q;
    for (int g = 0; g < kFilterGroupCount; ++g)
        if (Valid(g, c.value[static_cast<size_t>(g)]))
            q += std::string("+filterui:") + ValueOf(g, c.value[static_cast<size_t>(g)]).code;
    return q;
}

std::string FilterLine(const FilterChoice& c) {
    std::string briefs;
    for (int g = 0; g < kFilterGroupCount; ++g)
        if (Valid(g, c.value[static_cast<size_t>(g)]))
            briefs += (briefs.empty() ? "" : ", ") + std::string(ValueOf(g, c.value[static_cast<size_t>(g)]).brief);
    bool otherMarket = c.market != kDefaultMarket;
    if (briefs.empty()) return otherMarket ? "Market: " + c.market : "";
    return "Filters: " + briefs + (otherMarket ? "; market " + c.market : "");
}

}  // namespace settings
