#pragma once
// Finds the published version in a version-description (PAD) file without parsing it as XML.
//
// The file is read as text lines joined by CR LF (a line ends at CR LF, LF or a lone CR), and
// the version text is the 20 characters after the first "<Program_Version>", cut before
// their first "</". The scan is fed the file block by block and stops wanting input once the
// text is known, so a huge file is never held in memory.
#include <string>
#include <string_view>

namespace info {

class VersionScan {
public:
    static constexpr std::string_view kTag = "<Program_Version>";
    static constexpr size_t kTaken = 20;

    void Feed(std::string_view block);
    void Finish();                       // the end of the file
    bool Done() const { return done_; }  // the version text is complete
    std::string Text() const;            // "" when the tag never came

private:
    void Put(char c);  // one character of the joined text

    std::string recent_;  // the last characters before the tag was found
    std::string taken_;   // characters after the tag
    bool found_ = false;
    bool done_ = false;
    bool afterCr_ = false;  // the previous input character was a CR
    size_t breaks_ = 0;     // line ends not yet written: only a following line writes them
};

// The version text of a whole file held in memory (for tests and small texts).
std::string PublishedVersionText(std::string_view fileText);

// "1.0.7.2" -> "1072"
std::string RemoveDots(std::string_view text);

// The part of an address after its last "/".
std::string UrlFileName(std::string_view url);

}  // namespace info
