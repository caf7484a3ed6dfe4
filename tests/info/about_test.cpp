// The About box of this executable, which runs as "Quenby.exe" with the program's version
// resource and icon. Clicks are real mouse messages at the controls' places, handled by the
// box's real modal loop.
#include "info/about.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "forms/msgbox.h"
#include "forms/shell.h"
#include "support/environment.h"

using namespace info;

namespace {

const char* kComments =
    "Search and download images easily from the net, save links and images to hard disk, record searches for "
    "latter offline browsing.";

struct AboutTest : ::testing::Test {
    std::vector<forms::BoxCall> boxes;
    std::vector<forms::ShellCall> shells;
    testsupport::EnvironmentScope env;

    void SetUp() override {
        env.forms.box = [this](const forms::BoxCall& c) {
            boxes.push_back(c);
            return IDOK;
        };
        env.forms.shell = [this](const forms::ShellCall& c) -> intptr_t {
            shells.push_back(c);
            return 33;
        };
        env.Install();
    }
};

// Posts a left click at a point of the box's client area to the window that is there.
void PostClick(forms::Form& form, POINT pt) {
    HWND target = ChildWindowFromPointEx(form.Handle(), pt, CWP_SKIPINVISIBLE);
    ASSERT_NE(target, nullptr);
    MapWindowPoints(form.Handle(), target, &pt, 1);
    PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    PostMessageA(target, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
}

POINT Centre(const forms::Control& c) { return {c.Left() + c.Width() / 2, c.Top() + c.Height() / 2}; }

// A guard: a box that a click failed to close is closed after a while, and says so.
TFormAbout* g_open = nullptr;
bool g_timedOut = false;
void CALLBACK CloseLate(HWND, UINT, UINT_PTR, DWORD) {
    g_timedOut = true;
    if (g_open) g_open->Close();
}

// Shows the box modally with the click posted; true when the click closed it. The guard's wait
// only bounds a failure, except after a link, where it is the wait for nothing to happen.
bool ClickCloses(TFormAbout& about, POINT pt, UINT waitMs = 5000) {
    g_open = &about;
    g_timedOut = false;
    UINT_PTR timer = SetTimer(nullptr, 0, waitMs, CloseLate);
    PostClick(about, pt);
    about.ShowModal();
    KillTimer(nullptr, timer);
    g_open = nullptr;
    return !g_timedOut;
}

TEST_F(AboutTest, TitleDescriptionIconAndSize) {
    TFormAbout about;
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(about.Caption(), "Quenby   (v1.0.7.2)");
    char title[100] = {};
    GetWindowTextA(about.Handle(), title, sizeof title);
    EXPECT_STREQ(title, "Quenby   (v1.0.7.2)");
    EXPECT_EQ(about.Label6.Text(), kComments);
    wchar_t copyright[8] = {};  // the character itself, whatever the code page
    GetWindowTextW(about.Label1.Handle(), copyright, 8);
    EXPECT_STREQ(copyright, L"\u00A9");
    RECT client;
    GetClientRect(about.Handle(), &client);
    EXPECT_EQ(client.right, 272);
    EXPECT_EQ(client.bottom, 167);
    EXPECT_EQ(about.ClientWidth(), 272);
    EXPECT_EQ(about.ClientHeight(), 167);
    EXPECT_EQ(about.Image2.Icon(), LoadIconA(GetModuleHandleA(nullptr), "MAINICON"));
    EXPECT_NE(about.Image2.Icon(), nullptr);
    // The donation link covers the blank of its sentence.
    EXPECT_GT(about.Label8.Left(), about.Label5.Left() + 100);
    EXPECT_LT(about.Label8.Left() + about.Label8.Width(), about.Label5.Left() + about.Label5.Width());
}

TEST_F(AboutTest, DescriptionIsWrappedWithinItsWidth) {
    TFormAbout about;
    // Paint the box's texts and pictures into a bitmap and look at Label6's lines.
    const int w = 280, h = 180;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT all{0, 0, w, h};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    about.PaintGraphicChildren(dc);
    GdiFlush();
    auto* px = static_cast<const uint32_t*>(bits);
    auto inked = [&](int top, int bottom, int left, int right) {
        for (int y = top; y < bottom; y++)
            for (int x = left; x < right; x++)
                if ((px[y * w + x] & 0xffffff) != 0xffffff) return true;
        return false;
    };
    const auto& l6 = about.Label6;
    EXPECT_TRUE(inked(l6.Top(), l6.Top() + 13, l6.Left(), l6.Left() + l6.Width()));       // first line
    EXPECT_TRUE(inked(l6.Top() + 13, l6.Top() + 26, l6.Left(), l6.Left() + l6.Width()));  // wrapped
    EXPECT_FALSE(inked(l6.Top(), l6.Top() + l6.Height(), l6.Left() + l6.Width(), about.Image2.Left()));
    EXPECT_TRUE(inked(about.Image1.Top(), about.Image1.Top() + 40, about.Image1.Left(), about.Image1.Left() + 40));
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}

TEST_F(AboutTest, EveryTextPictureAndTheBackgroundCloseTheBox) {
    TFormAbout about;
    const forms::Control* closers[] = {&about.Image1, &about.Label2, &about.Label1, &about.Label3,
                                       &about.Label6, &about.Image2, &about.Label4};
    for (const forms::Control* c : closers) EXPECT_TRUE(ClickCloses(about, Centre(*c))) << c->Name;
    // Label5's text left of the donation link, and a bare spot of the background.
    EXPECT_TRUE(ClickCloses(about, {about.Label5.Left() + 10, about.Label5.Top() + 6})) << "Label5";
    EXPECT_TRUE(ClickCloses(about, {about.ClientWidth() - 3, about.ClientHeight() - 3})) << "background";
    EXPECT_TRUE(shells.empty());
}

TEST_F(AboutTest, LinksOpenTheirTargetsAndLeaveTheBoxOpen) {
    TFormAbout about;
    const forms::Control* links[] = {&about.Label7, &about.Label8, &about.Label10};
    for (const forms::Control* link : links) EXPECT_FALSE(ClickCloses(about, Centre(*link), 400)) << link->Name;
    ASSERT_EQ(shells.size(), 3u);
    EXPECT_EQ(shells[0].file, "mailto:quenby@quenby-freeware.example?subject=from 'Quenby' freeware...");
    EXPECT_EQ(shells[1].file, kDonationPage);
    EXPECT_EQ(shells[2].file, kFreewarePage);
    for (const auto& s : shells) {
        EXPECT_EQ(s.owner, about.Handle());
        EXPECT_EQ(s.verb, "open");
        EXPECT_EQ(s.params, "");
        EXPECT_EQ(s.show, SW_SHOWNORMAL);
    }
}

}  // namespace
