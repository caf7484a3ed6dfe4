#include "info/versionscan.h"

namespace info {

void VersionScan::Put(char c) {
    if (done_) return;
    if (found_) {
        taken_ += c;
        if (taken_.size() == kTaken) done_ = true;
        return;
    }
    recent_ += c;
    if (recent_.size() > kTag.size()) recent_.erase(0, recent_.size() - kTag.size());
    if (recent_ == kTag) found_ = true;
}

void VersionScan::Feed(std::string_view block) {
    for (char c : block) {
        if (done_) return;
        if (c == '\n' && afterCr_) {  // the LF of a CR LF: that line end is counted already
            afterCr_ = false;
            continue;
        }
        afterCr_ = c == '\r';
        if (c == '\r' || c == '\n') {
            breaks_++;
            continue;
        }
        for (; breaks_ > 0; breaks_--) {
            Put('\r');
            Put('\n');
        }
        Put(c);
    }
}

void VersionScan::Finish() {
    // The file's last line end separates nothing; any before it end empty lines.
    for (; breaks_ > 1; breaks_--) {
        Put('\r');
        Put('\n');
    }
    breaks_ = 0;
    done_ = true;
}

std::string VersionScan::Text() const {
    if (!found_) return {};
    return taken_.substr(0, taken_.find("</"));
}

std::string PublishedVersionText(std::string_view fileText) {
    VersionScan scan;
    scan.Feed(fileText);
    scan.Finish();
    return scan.Text();
}

std::string RemoveDots(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != '.') out += c;
    return out;
}

std::string UrlFileName(std::string_view url) {
    size_t slash = url.rfind('/');
    return std::string(slash == std::string_view::npos ? url : url.substr(slash + 1));
}

}  // namespace info
