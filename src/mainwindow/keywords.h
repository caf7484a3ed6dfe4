#pragma once
// Keyword rules of the search command, free of any window: the history's order and the
// query text.
#include <string>
#include <vector>

namespace mainwindow {

// The history after a search for `text`: an entry equal to it without regard to case moves,
// as stored, to the first place; otherwise `text` is inserted there. Returns the index the
// entry came from, or -1 when it was inserted.
int PutOnTop(std::vector<std::string>& history, const std::string& text);

// Every space replaced by "+"; nothing else changed, trimmed or encoded.
std::string QueryFromKeywords(const std::string& text);

}  // namespace mainwindow
