#include "imaging/picture.h"

#include <cstring>

#include "imaging/jpegcodec.h"
#include "imaging/thumbgeom.h"

namespace imaging {

namespace {

// A stored thumbnail is small; anything this large is kept but not decoded for drawing.
constexpr uint64_t kMaxDrawnJpegPixels = 16u << 20;

// OLE pictures measure themselves in 0.01 mm; bitmaps are asked for their pixels instead.
void OleSize(IPicture* p, int& width, int& height) {
    short type = PICTYPE_UNINITIALIZED;
    p->get_Type(&type);
    OLE_HANDLE handle = 0;
    if (type == PICTYPE_BITMAP && SUCCEEDED(p->get_Handle(&handle))) {
        BITMAP bm{};
        if (GetObjectA(reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(handle)), sizeof bm, &bm)) {
            width = bm.bmWidth;
            height = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
            return;
        }
    }
    OLE_XSIZE_HIMETRIC hw = 0;
    OLE_YSIZE_HIMETRIC hh = 0;
    p->get_Width(&hw);
    p->get_Height(&hh);
    HDC screen = GetDC(nullptr);
    width = MulDiv(hw, GetDeviceCaps(screen, LOGPIXELSX), 2540);
    height = MulDiv(hh, GetDeviceCaps(screen, LOGPIXELSY), 2540);
    ReleaseDC(nullptr, screen);
}

void IconSize(HICON icon, int& width, int& height) {
    ICONINFO info{};
    width = height = 0;
    if (!GetIconInfo(icon, &info)) return;
    platform::Gdi<HBITMAP> color(info.hbmColor), mask(info.hbmMask);  // the caller's copies
    BITMAP bm{};
    if (color && GetObjectA(color.get(), sizeof bm, &bm)) {
        width = bm.bmWidth;
        height = bm.bmHeight;
    } else if (mask && GetObjectA(mask.get(), sizeof bm, &bm)) {
        width = bm.bmWidth;
        height = bm.bmHeight / 2;  // a monochrome icon stacks its two masks
    }
}

void DrawPixels(HDC dc, const RECT& r, const uint8_t* pixels, int width, int height) {
    BITMAPINFO bi = TopDownDib(width, height);
    // At its own size a picture is copied pixel for pixel; enlarged for a screen of more DPI it
    // is smoothed (halftone) rather than shown in blocks.
    const bool ownSize = r.right - r.left == width && r.bottom - r.top == height;
    POINT org{};
    int old = SetStretchBltMode(dc, ownSize ? COLORONCOLOR : HALFTONE);
    if (!ownSize) SetBrushOrgEx(dc, 0, 0, &org);
    StretchDIBits(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, 0, 0, width, height, pixels, &bi,
                  DIB_RGB_COLORS, SRCCOPY);
    if (!ownSize) SetBrushOrgEx(dc, org.x, org.y, nullptr);
    SetStretchBltMode(dc, old);
}

}  // namespace

void Picture::Clear() {
    ole_.Reset();
    icon_.Reset();
    jpeg_.clear();
    jpeg_.shrink_to_fit();
    pixels_.clear();
    pixels_.shrink_to_fit();
    kind_ = Kind::Empty;
    width_ = height_ = pixelWidth_ = pixelHeight_ = 0;
}

void Picture::SetOle(IPicture* picture) {
    platform::Com<IPicture> shared = platform::AddRefed(picture);  // before Clear: it may be our own
    Clear();
    if (!shared) return;
    ole_ = std::move(shared);
    kind_ = Kind::Ole;
    OleSize(ole_.get(), width_, height_);
}

void Picture::SetIcon(HICON icon) {
    platform::Icon copy(icon ? CopyIcon(icon) : nullptr);
    Clear();
    if (!copy) return;
    icon_ = std::move(copy);
    kind_ = Kind::Icon;
    IconSize(icon_.get(), width_, height_);
}

bool Picture::SetJpegBytes(std::vector<uint8_t> bytes) {
    std::vector<uint8_t> pixels;
    int w = 0, h = 0;
    bool ok = DecodeJpeg(bytes.data(), bytes.size(), kMaxDrawnJpegPixels, pixels, w, h);
    Clear();
    kind_ = Kind::Jpeg;
    jpeg_ = std::move(bytes);
    if (ok) {
        pixels_ = std::move(pixels);
        width_ = pixelWidth_ = w;
        height_ = pixelHeight_ = h;
    }
    return ok;
}

void Picture::SetPixels(std::vector<uint8_t> pixels, int width, int height) {
    SetScaledPixels(std::move(pixels), width, height, width, height);
}

void Picture::SetScaledPixels(std::vector<uint8_t> pixels, int pixelWidth, int pixelHeight, int width, int height) {
    Clear();
    kind_ = Kind::Bitmap;
    pixels_ = std::move(pixels);
    pixelWidth_ = pixelWidth;
    pixelHeight_ = pixelHeight;
    width_ = width;
    height_ = height;
}

void Picture::SetLargeJpeg(std::vector<uint8_t> bytes, int width, int height) {
    Clear();
    kind_ = Kind::Jpeg;
    jpeg_ = std::move(bytes);
    width_ = width;
    height_ = height;
}

void Picture::SetEmptyJpeg() {
    Clear();
    kind_ = Kind::Jpeg;
}

void Picture::Assign(const Picture& other) {
    if (&other == this) return;
    switch (other.kind_) {
    case Kind::Empty: Clear(); break;
    case Kind::Ole: SetOle(other.ole_.get()); break;
    case Kind::Icon: SetIcon(other.icon_.get()); break;
    case Kind::Bitmap:
    case Kind::Jpeg:
        Clear();
        kind_ = other.kind_;
        jpeg_ = other.jpeg_;
        pixels_ = other.pixels_;
        width_ = other.width_;
        height_ = other.height_;
        pixelWidth_ = other.pixelWidth_;
        pixelHeight_ = other.pixelHeight_;
        break;
    }
}

void Picture::Draw(HDC dc, const RECT& r) const {
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0 || width_ <= 0 || height_ <= 0) return;
    switch (kind_) {
    case Kind::Empty: break;
    case Kind::Ole: {
        OLE_XSIZE_HIMETRIC hw = 0;
        OLE_YSIZE_HIMETRIC hh = 0;
        ole_->get_Width(&hw);
        ole_->get_Height(&hh);
        int old = SetStretchBltMode(dc, COLORONCOLOR);
        // The source is given bottom-up in 0.01 mm: start at the height and go back up.
        ole_->Render(dc, r.left, r.top, w, h, 0, hh, hw, -hh, nullptr);
        SetStretchBltMode(dc, old);
        break;
    }
    case Kind::Icon: {
        int old = SetStretchBltMode(dc, COLORONCOLOR);
        DrawIconEx(dc, r.left, r.top, icon_.get(), w, h, 0, nullptr, DI_NORMAL);
        SetStretchBltMode(dc, old);
        break;
    }
    case Kind::Bitmap:
    case Kind::Jpeg:
        if (!pixels_.empty()) {
            DrawPixels(dc, r, pixels_.data(), pixelWidth_, pixelHeight_);
        } else {
            std::vector<uint8_t> scaled;
            if (DecodeJpegNearest(jpeg_.data(), jpeg_.size(), w, h, scaled)) DrawPixels(dc, r, scaled.data(), w, h);
        }
        break;
    }
}

bool Picture::RenderScaled(HDC dc, uint8_t* bits, int width, int height) const {
    if (kind_ != Kind::Jpeg && kind_ != Kind::Bitmap) {
        Draw(dc, RECT{0, 0, width, height});
        GdiFlush();
        return true;
    }
    size_t stride = 4 * static_cast<size_t>(width);
    if (!pixels_.empty()) {
        ScaleNearest(pixels_.data(), pixelWidth_, pixelHeight_, 4 * static_cast<size_t>(pixelWidth_), bits, width,
                     height, stride);
        return true;
    }
    std::vector<uint8_t> scaled;
    if (!DecodeJpegNearest(jpeg_.data(), jpeg_.size(), width, height, scaled)) return false;
    std::memcpy(bits, scaled.data(), scaled.size());
    return true;
}

}  // namespace imaging
