#include "engine/pagescan.h"

#include <algorithm>

namespace engine {

std::wstring CutAtStartMarker(const std::wstring& page) {
    const std::wstring marker(kStartMarker.begin(), kStartMarker.end());
    size_t at = page.find(marker);
    return at == std::wstring::npos ? page : page.substr(at);
}

size_t CountOccurrences(std::string_view text, std::string_view pattern) {
    if (text.empty() || pattern.empty()) return 0;
    size_t n = 0;
    for (size_t at = text.find(pattern); at != std::string_view::npos; at = text.find(pattern, at + pattern.size()))
        n++;
    return n;
}

PageScanner::PageScanner(std::string_view rest) : page_(rest), count_(CountOccurrences(rest, kAnchorOpening) / 2) {}

void PageScanner::ReadAnchors(RawResult& out) {
    out = RawResult{};
    ReadAnchor(out);
    ReadAnchor(out);
}

void PageScanner::ReadAnchor(RawResult& out) {
    // The tag runs from the first anchor opening (or the start of the rest, when there is
    // none) to the first tag end after it, inclusive; no tag end means an empty tag.
    size_t from = opening_.Find(page_, pos_);
    if (from == std::string_view::npos) from = pos_;
    size_t end = tagEnd_.Find(page_, from);
    std::string_view tag = end == std::string_view::npos ? std::string_view{} : page_.substr(from, end - from + 1);
    if (tag.find(kImageClass) != std::string_view::npos) out.imageUrl = AddressInTag(tag);
    if (tag.find(kPageClass) != std::string_view::npos) out.pageUrl = AddressInTag(tag);
    Advance();
}

void PageScanner::Advance() {
    // The rest then begins with the ">" of the first anchor closing; without one, two
    // characters go.
    size_t closing = closing_.Find(page_, pos_);
    if (closing == std::string_view::npos)
        pos_ = std::min(pos_ + 2, page_.size());
    else
        pos_ = closing + kAnchorClosing.size() - 1;
}

size_t PageScanner::NextFinder::Find(std::string_view page, size_t at) {
    if (!known || at < from || (found != std::string_view::npos && found < at)) {
        found = page.find(pattern, at);
        from = at;
        known = true;
    }
    return found;
}

std::string AddressInTag(std::string_view tag) {
    size_t start = tag.find(kAddressStart);
    start = start == std::string_view::npos ? 5 : start + kAddressStart.size();
    if (start >= tag.size()) return {};
    std::string_view from = tag.substr(start);
    size_t end = from.find(kAddressEnd);
    return end == std::string_view::npos ? std::string{} : std::string(from.substr(0, end));
}

}  // namespace engine
