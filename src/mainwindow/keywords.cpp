#include "mainwindow/keywords.h"

#include <algorithm>

#include "platform/text.h"

namespace mainwindow {

int PutOnTop(std::vector<std::string>& history, const std::string& text) {
    auto it = std::find_if(history.begin(), history.end(),
                           [&](const std::string& e) { return platform::SameTextIgnoringCase(e, text); });
    if (it == history.end()) {
        history.insert(history.begin(), text);
        return -1;
    }
    int from = static_cast<int>(it - history.begin());
    std::rotate(history.begin(), it, it + 1);
    return from;
}

std::string QueryFromKeywords(const std::string& text) {
    std::string q = text;
    std::replace(q.begin(), q.end(), ' ', '+');
    return q;
}

}  // namespace mainwindow
