#pragma once
// The sources file read back as a spreadsheet (RFC 4180) and a JSON reader would read it: small
// readers of their own, so the tests need no interpreter under Wine.
#include <map>
#include <string>
#include <vector>

namespace sourcerows {

// The records of CSV text, each a list of fields; a line break inside quotes stays in its field.
inline std::vector<std::vector<std::string>> CsvRecords(const std::string& text) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < text.size(); i++) {
        const char c = text[i];
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
            fields.back() += '"';
            i++;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else if (!quoted && (c == '\r' || c == '\n')) {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') i++;
            records.push_back(std::move(fields));
            fields.assign(1, "");
        } else {
            fields.back() += c;
        }
    }
    if (fields.size() > 1 || !fields[0].empty()) records.push_back(std::move(fields));
    return records;
}

inline std::vector<std::string> CsvFields(const std::string& line) {
    auto records = CsvRecords(line);
    return records.empty() ? std::vector<std::string>(1) : records[0];
}

// One JSON object of strings and numbers, as name to text (a number as written); empty when the
// line is not such an object.
inline std::map<std::string, std::string> JsonFields(const std::string& line) {
    std::map<std::string, std::string> out;
    size_t i = 0;
    auto string = [&](std::string& s) {
        if (i >= line.size() || line[i++] != '"') return false;
        while (i < line.size() && line[i] != '"') {
            char c = line[i++];
            if (c != '\\') {
                s += c;
                continue;
            }
            if (i >= line.size()) return false;
            c = line[i++];
            if (c != 'u') {
                const std::string from = "\"\\/bfnrt", to = "\"\\/\b\f\n\r\t";
                if (from.find(c) == std::string::npos) return false;
                s += to[from.find(c)];
                continue;
            }
            if (i + 4 > line.size()) return false;
            const unsigned u = std::stoul(line.substr(i, 4), nullptr, 16);  // the writer escapes controls only
            i += 4;
            s += static_cast<char>(u);
        }
        return i++ < line.size();
    };
    if (line.empty() || line[i++] != '{') return {};
    for (;;) {
        std::string name, value;
        if (!string(name) || i >= line.size() || line[i++] != ':') return {};
        if (i < line.size() && line[i] == '"') {
            if (!string(value)) return {};
        } else {
            while (i < line.size() && line[i] != ',' && line[i] != '}') value += line[i++];
        }
        out[name] = value;
        if (i >= line.size()) return {};
        if (line[i++] == '}') return i == line.size() || line.substr(i) == "\n" ? out : decltype(out){};
    }
}

}  // namespace sourcerows
