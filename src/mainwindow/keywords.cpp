#include "mainwindow/keywords.h"

#include <algorithm>

namespace mainwindow {

namespace {
unsigned char Fold(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);  // À..Þ
    if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 16);  // Š Œ Ž
    if (c == 0x9F) return 0xFF;                                                          // Ÿ
    return c;
}
}  // namespace

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return Fold(static_cast<unsigned char>(x)) == Fold(static_cast<unsigned char>(y));
           });
}

int PutOnTop(std::vector<std::string>& history, const std::string& text) {
    auto it = std::find_if(history.begin(), history.end(),
                           [&](const std::string& e) { return SameTextIgnoringCase(e, text); });
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
