#pragma once
// Reading a results page in the classic markup: the page is cut at the start marker, and each
// result is three anchors, of which the scan reads two (the image's, class "thumb", and the
// page's, class "tit") and passes over the third. Nothing else about the page is assumed.
#include <cstddef>
#include <string>
#include <string_view>

namespace engine {

inline constexpr std::string_view kStartMarker = "b_SearchBoxAnswer";
inline constexpr std::string_view kAnchorOpening = "<a";
inline constexpr std::string_view kTagEnd = ">";
inline constexpr std::string_view kImageClass = "class=\"thumb\"";
inline constexpr std::string_view kPageClass = "class=\"tit\"";
inline constexpr std::string_view kAddressStart = "href=\"";
inline constexpr std::string_view kAddressEnd = "\" h=\"ID";
inline constexpr std::string_view kAnchorClosing = "</a>";

// The page from the first start marker on; the whole page when there is none.
std::wstring CutAtStartMarker(const std::wstring& page);

// Non-overlapping occurrences from the left, case significant; 0 when either text is empty.
size_t CountOccurrences(std::string_view text, std::string_view pattern);

// One result's two addresses as they stand in the page (not yet decoded); empty when missing.
struct RawResult {
    std::string imageUrl;
    std::string pageUrl;
};

// Walks the rest of a page (already cut and in 8-bit text) one result at a time. The page
// text must outlive the scanner.
class PageScanner {
public:
    explicit PageScanner(std::string_view rest);

    // Anchor openings divided by 2, counted once at the start.
    size_t ResultCount() const { return count_; }

    // Reads the two anchors of the next result into `out`. The third anchor is passed over by
    // PassOver(), which the caller runs after decoding, so the order of steps stays as designed.
    void ReadAnchors(RawResult& out);
    void PassOver() { Advance(); }

private:
    // The first occurrence of a pattern at or after a position. The scan only moves forward,
    // so an answer stays good until the position passes it: a page with no closings (or no
    // tag ends) costs one search, not one per result.
    struct NextFinder {
        std::string_view pattern;
        size_t from = 0, found = 0;
        bool known = false;
        size_t Find(std::string_view page, size_t at);
    };

    void ReadAnchor(RawResult& out);
    void Advance();

    std::string_view page_;
    size_t pos_ = 0;
    size_t count_ = 0;
    NextFinder opening_{kAnchorOpening}, tagEnd_{kTagEnd}, closing_{kAnchorClosing};
};

// The address inside an anchor tag: after the first address start (or from the tag's sixth
// character when there is none) up to the first address end; empty without an address end.
std::string AddressInTag(std::string_view tag);

}  // namespace engine
