// Designed units and device pixels: the scale a window applies at its DPI.
#include "forms/dpiscale.h"

#include <gtest/gtest.h>

using namespace forms;

namespace {

TEST(DpiScale, DesignedUnitsAreDevicePixelsAt96AndScaleToTheNearest) {
    for (int v : {-300, -1, 0, 1, 59, 138, 4096}) {
        EXPECT_EQ(Scale(v, 96), v);
        EXPECT_EQ(Unscale(v, 96), v);
    }
    EXPECT_EQ(FitIn(520, 96), 520);
    EXPECT_EQ(Cover(75, 96), 75);
    EXPECT_EQ(Scale(138, 144), 207);
    EXPECT_EQ(Scale(108, 192), 216);
    EXPECT_EQ(Scale(59, 144), 89);  // 88.5: halves away from zero, as MulDiv
    EXPECT_EQ(Scale(-59, 144), -89);
    EXPECT_EQ(Scale(11, 120), 14);  // 13.75
    EXPECT_EQ(Unscale(89, 144), 59);
    EXPECT_EQ(Unscale(-89, 144), -59);
}

// What is laid out in a client area never reaches past its edge, however the user sized it,
// and a designed length shown and read back is the same length.
TEST(DpiScale, LayoutFitsTheClientAndRoundTrips) {
    for (int dpi : {72, 96, 120, 144, 168, 192, 240, 288}) {
        for (int device = 0; device < 2000; ++device) {
            int fit = FitIn(device, dpi);
            EXPECT_LE(Scale(fit, dpi), device) << dpi << " " << device;
            EXPECT_GT(Scale(fit + 1, dpi), device) << dpi << " " << device;
            int cover = Cover(device, dpi);
            EXPECT_GE(Scale(cover, dpi), device) << dpi << " " << device;
            if (cover > 0) {
                EXPECT_LT(Scale(cover - 1, dpi), device) << dpi << " " << device;
            }
        }
        if (dpi >= 96)
            for (int v = -500; v < 1500; ++v) {
                EXPECT_EQ(Unscale(Scale(v, dpi), dpi), v) << dpi << " " << v;
                if (v >= 0) {
                    EXPECT_EQ(FitIn(Scale(v, dpi), dpi), v) << dpi << " " << v;
                }
            }
    }
}

}  // namespace
