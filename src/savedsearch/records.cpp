#include "savedsearch/records.h"

namespace savedsearch {

namespace {

void AppendLength(Bytes& out, int32_t n) {
    uint32_t u = static_cast<uint32_t>(n);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(u >> (8 * i)));
}

void AppendRecord(Bytes& out, ByteView payload, const char* what) {
    if (payload.size() > static_cast<size_t>(kMaxRecordLength))
        throw std::invalid_argument(std::string(what) + " too large to save");
    AppendLength(out, static_cast<int32_t>(payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
}

}  // namespace

RecordStatus RecordReader::Next(ByteView& payload) {
    payload = {};
    if (stopped_) return last_;
    size_t left = data_.size() - pos_;
    if (left == 0) {
        stopped_ = true;
        return last_ = RecordStatus::End;
    }
    if (left < 4) {
        stopped_ = true;
        return last_ = RecordStatus::Broken;
    }
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(data_[pos_ + i]) << (8 * i);
    int32_t len = static_cast<int32_t>(u);
    if (len < 0 || len > kMaxRecordLength || static_cast<size_t>(len) > left - 4) {
        stopped_ = true;
        return last_ = RecordStatus::Broken;
    }
    payload = data_.subspan(pos_ + 4, static_cast<size_t>(len));
    pos_ += 4 + static_cast<size_t>(len);
    return RecordStatus::Ok;
}

std::vector<std::optional<Bytes>> ReadThumbnailRecords(ByteView data, size_t count) {
    std::vector<std::optional<Bytes>> out(count);
    RecordReader reader(data);
    for (size_t i = 0; i < count; ++i) {
        ByteView payload;
        RecordStatus st = reader.Next(payload);
        if (st != RecordStatus::Ok) break;  // every later entry stays without a picture
        if (!payload.empty()) out[i] = Bytes(payload.begin(), payload.end());
    }
    return out;
}

std::vector<std::string> ReadNameRecords(ByteView data, size_t count) {
    std::vector<std::string> out(count);
    RecordReader reader(data);
    for (size_t i = 0; i < count; ++i) {
        ByteView payload;
        if (reader.Next(payload) != RecordStatus::Ok) break;
        out[i].assign(payload.begin(), payload.end());
    }
    return out;
}

std::vector<std::string> SplitLinkLines(ByteView data) {
    std::vector<std::string> lines;
    std::string cur;
    bool open = false;  // a line has begun and not yet ended
    for (size_t i = 0; i < data.size(); ++i) {
        char c = static_cast<char>(data[i]);
        if (c == '\0') break;
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(cur));
            cur.clear();
            open = false;
            if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
            continue;
        }
        cur.push_back(c);
        open = true;
    }
    if (open) lines.push_back(std::move(cur));
    return lines;
}

void AppendThumbnailRecord(Bytes& out, ByteView jpeg) { AppendRecord(out, jpeg, "thumbnail"); }

void AppendNameRecord(Bytes& out, const std::string& name) { AppendRecord(out, AsBytes(name), "file name"); }

Bytes JoinLinkLines(const std::vector<std::string>& lines) {
    Bytes out;
    for (const std::string& line : lines) {
        out.insert(out.end(), line.begin(), line.end());
        out.push_back('\r');
        out.push_back('\n');
    }
    return out;
}

ByteView AsBytes(const std::string& s) { return ByteView(reinterpret_cast<const uint8_t*>(s.data()), s.size()); }

}  // namespace savedsearch
