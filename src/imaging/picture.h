#pragma once
// The picture a thumbnail control shows. It holds one graphic: a decoded OLE picture (a
// bitmap, metafile or icon from the picture loader), an icon, a bitmap of decoded pixels, or a
// JPEG image kept as its encoded bytes (with the pixels they decode to, for drawing). Once it
// holds JPEG data it owns no COM object or GDI handle, so the worker may hand it to the UI
// thread.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <vector>

#include "platform/owned.h"

namespace imaging {

// The header of a 32-bit top-down DIB of that size: 4 bytes a pixel (blue, green, red,
// unused), the layout of a picture's pixels and of the thumbnail maker's working bitmap.
inline BITMAPINFO TopDownDib(int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

class Picture {
public:
    enum class Kind { Empty, Ole, Icon, Bitmap, Jpeg };

    Picture() = default;
    ~Picture() { Clear(); }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    Kind GetKind() const { return kind_; }
    bool Empty() const { return kind_ == Kind::Empty; }
    bool IsJpeg() const { return kind_ == Kind::Jpeg; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Stretches the whole graphic into the rectangle: decoded pixels at their own size one for
    // one, enlarged smoothed; other graphics taking the nearest pixels.
    void Draw(HDC dc, const RECT& r) const;
    // Takes a copy of the other graphic, replacing what this one held.
    void Assign(const Picture& other);
    void Clear();

    // A decoded picture, shared (the picture keeps a reference).
    void SetOle(IPicture* picture);
    // A copy of the icon; the caller keeps its own.
    void SetIcon(HICON icon);

    // Decoded pixels, 4 bytes each (blue, green, red, unused), rows top-down.
    void SetPixels(std::vector<uint8_t> pixels, int width, int height);
    // A width x height picture decoded at a reduced scale into pixelWidth x pixelHeight pixels:
    // it reports its own size and is scaled from the pixels it has.
    void SetScaledPixels(std::vector<uint8_t> pixels, int pixelWidth, int pixelHeight, int width, int height);

    // The encoded bytes exactly as stored.
    const std::vector<uint8_t>& JpegBytes() const { return jpeg_; }
    // Takes JPEG bytes (a stored thumbnail) and decodes them for drawing; the bytes are kept
    // unchanged either way. False when the decoder rejects them; the picture then holds the
    // bytes but has no size and draws nothing.
    bool SetJpegBytes(std::vector<uint8_t> bytes);
    // A JPEG too large to decode whole: kept encoded, decoded row by row when scaled.
    void SetLargeJpeg(std::vector<uint8_t> bytes, int width, int height);
    // A JPEG image with no data (a thumbnail with a side of 0 pixels).
    void SetEmptyJpeg();

    // Draws the whole graphic scaled to width x height into a 32-bit top-down DIB's pixels (a
    // memory DC with that DIB selected). The DIB was filled white; transparent parts stay so.
    // False when JPEG data kept encoded turns out not to decode.
    bool RenderScaled(HDC dc, uint8_t* bits, int width, int height) const;

private:
    Kind kind_ = Kind::Empty;
    int width_ = 0, height_ = 0;
    int pixelWidth_ = 0, pixelHeight_ = 0;  // of pixels_
    platform::Com<IPicture> ole_;
    platform::Icon icon_;
    std::vector<uint8_t> jpeg_;
    std::vector<uint8_t> pixels_;  // a bitmap's pixels or the decoded JPEG; empty for a JPEG too large
};

}  // namespace imaging
