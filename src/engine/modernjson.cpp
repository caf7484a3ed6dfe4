#include "engine/modernjson.h"

#include "platform/hexdigit.h"

namespace engine::modern {
namespace {

class Cursor {
public:
    explicit Cursor(std::u32string_view t) : t_(t) {}

    bool AtEnd() const { return p_ >= t_.size(); }
    char32_t Peek() const { return AtEnd() ? 0 : t_[p_]; }
    bool Eat(char32_t c) {
        if (AtEnd() || t_[p_] != c) return false;
        ++p_;
        return true;
    }
    void SkipSpace() {
        while (!AtEnd() && (t_[p_] == ' ' || t_[p_] == '\t' || t_[p_] == '\n' || t_[p_] == '\r')) ++p_;
    }

    // A string at the cursor; its characters go to `out` when given.
    bool String(std::u32string* out) {
        if (!Eat('"')) return false;
        while (!AtEnd()) {
            char32_t c = t_[p_++];
            if (c == '"') return true;
            if (c < 0x20) return false;
            if (c == '\\') {
                if (AtEnd()) return false;
                c = Escape(t_[p_++]);
                if (c == kBad) return false;
                if (c == 'u') {
                    int unit = Hex4();
                    if (unit < 0) return false;
                    c = Unit(char32_t(unit));
                }
            }
            if (out) out->push_back(c);
        }
        return false;
    }

    // A number, true, false or null at the cursor.
    bool Scalar() {
        for (std::u32string_view word : {U"true", U"false", U"null"}) {
            if (t_.substr(p_, word.size()) == word) {
                p_ += word.size();
                return true;
            }
        }
        Eat('-');
        if (!Eat('0') && !Digits()) return false;
        if (Eat('.') && !Digits()) return false;
        if (Eat('e') || Eat('E')) {
            if (!Eat('+')) Eat('-');
            if (!Digits()) return false;
        }
        return true;
    }

private:
    static constexpr char32_t kBad = 0xFFFFFFFF;

    static char32_t Escape(char32_t e) {
        switch (e) {
        case '"':
        case '\\':
        case '/':
        case 'u': return e;
        case 'b': return '\b';
        case 'f': return '\f';
        case 'n': return '\n';
        case 'r': return '\r';
        case 't': return '\t';
        default: return kBad;
        }
    }

    int Hex4() {
        if (t_.size() - p_ < 4) return -1;
        int v = 0;
        for (int i = 0; i < 4; ++i) {
            char32_t c = t_[p_ + i];
            int d = c < 0x80 ? platform::HexDigitValue(static_cast<char>(c)) : -1;
            if (d < 0) return -1;
            v = v * 16 + d;
        }
        p_ += 4;
        return v;
    }

    // One UTF-16 unit from \u; a high surrogate takes its low partner when one follows.
    char32_t Unit(char32_t u) {
        if (u >= 0xDC00 && u <= 0xDFFF) return 0xFFFD;
        if (u < 0xD800 || u > 0xDBFF) return u;
        if (t_.substr(p_, 2) == U"\\u") {
            size_t save = p_;
            p_ += 2;
            int low = Hex4();
            if (low >= 0xDC00 && low <= 0xDFFF) return 0x10000 + ((u - 0xD800) << 10) + char32_t(low - 0xDC00);
            p_ = save;  // not a partner: read again as its own escape
        }
        return 0xFFFD;
    }

    bool Digits() {
        size_t start = p_;
        while (!AtEnd() && t_[p_] >= '0' && t_[p_] <= '9') ++p_;
        return p_ > start;
    }

    std::u32string_view t_;
    size_t p_ = 0;
};

JsonField* FindField(std::vector<JsonField>& fields, std::u32string_view key) {
    for (JsonField& f : fields)
        if (f.key == key) return &f;
    return nullptr;
}

}  // namespace

bool ReadJsonObject(std::u32string_view text, std::vector<JsonField>& fields) {
    for (JsonField& f : fields) f.value.reset();
    Cursor c(text);
    c.SkipSpace();
    if (!c.Eat('{')) return false;
    std::vector<char> open{'{'};  // the containers entered and not yet closed
    bool justOpened = true;
    while (!open.empty()) {
        c.SkipSpace();
        char32_t close = open.back() == '{' ? '}' : ']';
        if (justOpened && c.Eat(close)) {
            open.pop_back();
        } else {
            JsonField* target = nullptr;
            if (open.back() == '{') {
                std::u32string key;
                if (!c.String(open.size() == 1 ? &key : nullptr)) return false;
                if (open.size() == 1) target = FindField(fields, key);
                c.SkipSpace();
                if (!c.Eat(':')) return false;
                c.SkipSpace();
            }
            if (target) target->value.reset();
            if (c.Peek() == '{' || c.Peek() == '[') {
                open.push_back(c.Peek() == '{' ? '{' : '[');
                c.Eat(c.Peek());
                justOpened = true;
                continue;
            }
            if (c.Peek() == '"') {
                std::u32string v;
                if (!c.String(target ? &v : nullptr)) return false;
                if (target) target->value = std::move(v);
            } else if (!c.Scalar()) {
                return false;
            }
        }
        // After a value: a comma goes on to the next one, a closing bracket ends a container.
        while (!open.empty()) {
            c.SkipSpace();
            if (c.Eat(',')) break;
            if (!c.Eat(open.back() == '{' ? '}' : ']')) return false;
            open.pop_back();
        }
        justOpened = false;
    }
    c.SkipSpace();
    return c.AtEnd();
}

}  // namespace engine::modern
