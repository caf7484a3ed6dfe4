#pragma once
// The record of where each downloaded picture came from: one row per file, as CSV (RFC 4180,
// as spreadsheets read it) or as JSON Lines.
#include <cstdint>
#include <string>
#include <string_view>

namespace engine {

struct SourceRecord {
    std::string file;      // the name in the target folder
    std::string imageUrl;  // as requested
    std::string pageUrl;   // as the result list shows it
    std::string keywords;  // UTF-8, as typed
    std::string filters;   // the service's filter text in force, empty for none
    std::string market;
    int64_t time = 0;  // when the entry was made, seconds since 1970 (UTC)
    uint64_t bytes = 0;
    int width = 0, height = 0;  // 0 when unknown
    std::string sha256;         // lower-case hex
};

enum class SourceFormat { Csv, JsonLines };

// JSON Lines for a name ending in ".jsonl" or ".ndjson" (case ignored), CSV otherwise.
SourceFormat SourceFormatFor(std::string_view fileName);

// What a new file starts with: for CSV the byte-order mark, so that spreadsheets read UTF-8,
// and the header line; nothing for JSON Lines.
std::string SourceFileStart(SourceFormat format);

// One whole line, ending in CRLF for CSV (as RFC 4180 has it) and LF for JSON Lines.
std::string SourceLine(const SourceRecord& record, SourceFormat format);

// "2026-12-10T05:07:02Z".
std::string IsoUtc(int64_t seconds);

}  // namespace engine
