#pragma once
// The records of a saved search's three files, as bytes in memory. No Windows API here: the
// commands read each file whole, hand its bytes to these readers and write what the writers
// build.
//
//   thumbnail file: per entry a 4-byte little-endian signed length L, then L bytes of JPEG data
//   name file:      per entry a 4-byte little-endian signed length K, then K characters
//   link file:      per entry one line ending in CR LF
//
// Readers never trust a length field: a record is only taken when its length fits in what is
// left of the data. Once a length field is unreadable or absurd, the position of every later
// record is unknown too, so the reader stops and those entries get nothing.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace savedsearch {

using Bytes = std::vector<uint8_t>;
using ByteView = std::span<const uint8_t>;

// The largest record payload accepted on reading or writing; far beyond any real thumbnail.
inline constexpr int32_t kMaxRecordLength = 64 * 1024 * 1024;

// The largest saved search that is loaded: more entries, or more thumbnail data, than any
// search gives; beyond them the window would be busy for minutes.
inline constexpr size_t kMaxSetEntries = 100000;
inline constexpr size_t kMaxSetFileBytes = size_t{1} << 30;

// What one record read gave.
enum class RecordStatus {
    Ok,      // a record whose payload lies wholly inside the data
    End,     // no bytes left at all: the file ended where a record should start
    Broken,  // a short length field, a negative length, or one past the end or above the limit
};

// Walks a run of length-prefixed records. After End or Broken every further call answers the
// same: nothing is ever read from an earlier position or with an earlier length.
class RecordReader {
public:
    explicit RecordReader(ByteView data) : data_(data) {}
    RecordStatus Next(ByteView& payload);
    size_t Offset() const { return pos_; }

private:
    ByteView data_;
    size_t pos_ = 0;
    bool stopped_ = false;
    RecordStatus last_ = RecordStatus::Ok;
};

// Reads `count` thumbnail records. Entry i holds the JPEG bytes of record i, or nothing when
// that record is empty (length 0), broken or missing.
std::vector<std::optional<Bytes>> ReadThumbnailRecords(ByteView data, size_t count);

// Reads `count` name records; an entry whose record is broken or missing gets "".
std::vector<std::string> ReadNameRecords(ByteView data, size_t count);

// Splits the link file into lines: a line ends at CR LF, a lone CR or a lone LF; a last line
// without an ending still counts; everything from the first NUL byte on is ignored.
std::vector<std::string> SplitLinkLines(ByteView data);

// The writers. A thumbnail without JPEG data (a picture that failed to render) is an empty
// record, which the reader takes as an entry without a picture. A payload above the limit
// cannot be written: both throw std::invalid_argument.
void AppendThumbnailRecord(Bytes& out, ByteView jpeg);
void AppendNameRecord(Bytes& out, const std::string& name);
Bytes JoinLinkLines(const std::vector<std::string>& lines);

ByteView AsBytes(const std::string& s);

}  // namespace savedsearch
