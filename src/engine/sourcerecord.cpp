#include "engine/sourcerecord.h"

#include <cstdio>

#include "platform/text.h"

namespace engine {

namespace {

bool EndsWithIgnoringCase(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && platform::SameAsciiIgnoringCase(text.substr(text.size() - end.size()), end);
}

// A field quoted when it holds a comma, a quote or a line break, its quotes doubled. A field
// that a spreadsheet would take for a formula gets a leading apostrophe: an address from the
// network must not run as one.
std::string CsvField(std::string_view text) {
    std::string field(text);
    if (!field.empty() && (field[0] == '=' || field[0] == '+' || field[0] == '-' || field[0] == '@'))
        field.insert(0, 1, '\'');
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string quoted = "\"";
    for (char c : field) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// A JSON string. Bytes that are not UTF-8 become U+FFFD, so that every line stays valid JSON.
std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += {'\\', static_cast<char>(c)};
        } else if (c < 0x20 || c == 0x7F) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", c);
            out += code;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            const size_t n = platform::Utf8CharLength(text.substr(i));
            if (n == 0) {
                out += "\xEF\xBF\xBD";
                i++;
            } else {
                out.append(text.substr(i, n));
                i += n;
            }
            continue;
        }
        i++;
    }
    return out + "\"";
}

}  // namespace

SourceFormat SourceFormatFor(std::string_view fileName) {
    return EndsWithIgnoringCase(fileName, ".jsonl") || EndsWithIgnoringCase(fileName, ".ndjson")
               ? SourceFormat::JsonLines
               : SourceFormat::Csv;
}

std::string SourceFileStart(SourceFormat format) {
    if (format == SourceFormat::JsonLines) return {};
    return "\xEF\xBB\xBF"
           "file,image_url,page_url,keywords,filters,market,time_utc,bytes,width,height,sha256\r\n";
}

std::string IsoUtc(int64_t seconds) {
    // Days to a civil date (proleptic Gregorian), as in Howard Hinnant's algorithm.
    int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
    const int64_t rest = seconds - days * 86400;
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t doe = days - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t day = doy - (153 * mp + 2) / 5 + 1;
    const int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const int64_t year = yoe + era * 400 + (month <= 2);
    char text[40];
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lldT%02lld:%02lld:%02lldZ", static_cast<long long>(year),
                  static_cast<long long>(month), static_cast<long long>(day), static_cast<long long>(rest / 3600),
                  static_cast<long long>(rest / 60 % 60), static_cast<long long>(rest % 60));
    return text;
}

std::string SourceLine(const SourceRecord& r, SourceFormat format) {
    const std::string when = IsoUtc(r.time);
    if (format == SourceFormat::Csv) {
        std::string line;
        for (const std::string* text : {&r.file, &r.imageUrl, &r.pageUrl, &r.keywords, &r.filters, &r.market, &when})
            line += CsvField(*text) + ",";
        return line + std::to_string(r.bytes) + "," + std::to_string(r.width) + "," + std::to_string(r.height) + "," +
               r.sha256 + "\r\n";
    }
    return "{\"file\":" + JsonString(r.file) + ",\"image_url\":" + JsonString(r.imageUrl) +
           ",\"page_url\":" + JsonString(r.pageUrl) + ",\"keywords\":" + JsonString(r.keywords) +
           ",\"filters\":" + JsonString(r.filters) + ",\"market\":" + JsonString(r.market) +
           ",\"time_utc\":" + JsonString(when) + ",\"bytes\":" + std::to_string(r.bytes) +
           ",\"width\":" + std::to_string(r.width) + ",\"height\":" + std::to_string(r.height) +
           ",\"sha256\":" + JsonString(r.sha256) + "}\n";
}

}  // namespace engine
