#pragma once
// Geometry of the thumbnail strip: where thumbnail i sits and the frame around a picture.
namespace mainwindow {

struct Box {
    int left, top, width, height;
};

inline constexpr int kThumbLeft = 5, kThumbWidth = 138, kThumbHeight = 108, kThumbStep = 111;

// Thumbnail i's top in the strip's content (scroll position 0).
constexpr int ThumbContentTop(int i) { return 4 + kThumbStep * i; }

// The selection frame around a picture of picW x picH shown centred in `thumb`: 6 pixels
// larger than the picture, centred on the control (quotients truncated toward zero).
constexpr Box FrameAround(const Box& thumb, int picW, int picH) {
    int w = picW + 6, h = picH + 6;
    return {thumb.left + (thumb.width - w) / 2, thumb.top + (thumb.height - h) / 2, w, h};
}

}  // namespace mainwindow
