#include "forms/fonts.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "platform/codepage.h"

namespace forms {

namespace {

// The screen's device context with a font selected, for as long as it lives.
class ScreenWithFont {
public:
    explicit ScreenWithFont(HFONT font) : dc_(GetDC(nullptr)), old_(SelectObject(dc_, font)) {}
    ~ScreenWithFont() {
        SelectObject(dc_, old_);
        ReleaseDC(nullptr, dc_);
    }
    ScreenWithFont(const ScreenWithFont&) = delete;
    ScreenWithFont& operator=(const ScreenWithFont&) = delete;
    HDC Dc() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// One font for each face, weight and DPI asked for: a handful at most.
HFONT FaceFont(const char* face, bool bold, int dpi) {
    static std::map<std::pair<std::string, int>, HFONT> fonts;
    HFONT& f = fonts[{face, bold ? -dpi : dpi}];
    if (!f)
        f = CreateFontA(-Scale(11, dpi), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face);
    return f;
}

// Whether the font's own glyphs show every character of the text (false when it cannot tell).
bool FontShows(HFONT font, const std::wstring& wide) {
    std::vector<WORD> glyphs(wide.size());
    ScreenWithFont screen(font);
    DWORD n = GetGlyphIndicesW(screen.Dc(), wide.c_str(), static_cast<int>(wide.size()), glyphs.data(),
                               GGI_MARK_NONEXISTING_GLYPHS);
    return n != GDI_ERROR && std::none_of(glyphs.begin(), glyphs.end(), [](WORD g) { return g == 0xFFFF; });
}

}  // namespace

HFONT DesignFont(bool bold, int dpi) { return FaceFont("MS Sans Serif", bold, dpi); }

HFONT FallbackFont(bool bold, const std::string& text, int dpi) {
    // Faces that hold a whole script themselves come first (Windows' own, then the Noto fonts a
    // Linux system gives Wine); "Microsoft Sans Serif" is the last word, which Windows links to
    // the fonts of every other script.
    static const char* const kFaces[] = {"Microsoft Sans Serif", "Segoe UI",         "Microsoft YaHei",
                                         "Malgun Gothic",        "Yu Gothic UI",     "Noto Sans",
                                         "Noto Sans CJK JP",     "Noto Sans Arabic", "Noto Sans Hebrew",
                                         "Noto Sans Devanagari"};
    std::wstring wide = platform::Widen(text);
    for (const char* face : kFaces) {
        HFONT f = FaceFont(face, bold, dpi);
        char got[LF_FACESIZE] = {};
        GetTextFaceA(ScreenWithFont(f).Dc(), sizeof got, got);
        // A face the system substitutes by another is not the one asked for.
        if (lstrcmpiA(got, face) == 0 && FontShows(f, wide)) return f;
    }
    return FaceFont(kFaces[0], bold, dpi);
}

bool DesignFontShows(const std::string& text) {
    bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) return true;
    std::wstring wide = platform::Widen(text);
    if (FontShows(DesignFont(false), wide)) return true;
    // A font that cannot tell (a raster font) is trusted with Latin-1 only.
    return std::all_of(wide.begin(), wide.end(), [](wchar_t c) { return c < 0x100; });
}

SIZE MeasureText(HFONT font, const std::string& text, int wrapWidth) {
    ScreenWithFont screen(font);
    // Through UTF-16, as the texts are drawn: the text is the process code page's, whatever the system's.
    std::wstring wide = platform::Widen(text);
    if (wrapWidth > 0) {
        RECT r{0, 0, wrapWidth, 0};
        DrawTextW(screen.Dc(), wide.c_str(), static_cast<int>(wide.size()), &r,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        return {r.right, r.bottom};
    }
    SIZE size{0, 0};
    GetTextExtentPoint32W(screen.Dc(), wide.c_str(), static_cast<int>(wide.size()), &size);
    return size;
}

}  // namespace forms
