// Selecting results from the list and from the strip, the frame, opening a page, the wheel.
#include "harness.h"

using namespace windowtest;
using mainwindow::SelectedImageName;

namespace {

struct ResultListTest : WindowTest {
    // Twelve results; result 2's picture is 138 x 103, result 3's 138 x 115, the others 138 x 108.
    void Fill() {
        perPage = 12;
        mainwindow::MaxFileCount = 12;
        sizeOf = [](int i) { return std::pair<int, int>{138, i == 2 ? 103 : i == 3 ? 115 : 108}; };
        SearchToEnd("cars");
        ASSERT_EQ(form->ListBox1.Count(), 12);
        boxes.clear();
    }
    RECT Frame() const { return form->Bevel_f.BoundsRect(); }
    // Puts the mouse cursor on a point of a control's client area.
    static void CursorTo(const forms::Control& c, int x, int y) {
        POINT p{x, y};
        ClientToScreen(c.Handle(), &p);
        SetCursorPos(p.x, p.y);
    }
};

TEST_F(ResultListTest, ArrowKeysSelectFrameAndScrollTheStrip) {
    Fill();
    form->ListBox1.SetFocus();
    form->ListBox1.SetItemIndex(4);
    PressKey(form->ListBox1.Handle(), VK_DOWN);  // line 5
    ASSERT_EQ(form->ListBox1.ItemIndex(), 5);
    // Thumbnail 5 comes to the top of the strip's view, with the frame that reaches 3 pixels
    // above it.
    EXPECT_EQ(form->ScrollBox1.VertPosition(), 4 + 111 * 5 - 3);
    forms::Image* t5 = form->Thumbnail(5);
    EXPECT_EQ(t5->Top(), 3);
    RECT f = Frame();
    EXPECT_EQ(f.left, 2);
    EXPECT_EQ(f.top, 0);
    EXPECT_EQ(f.right - f.left, 144);
    EXPECT_EQ(f.bottom - f.top, 114);
    EXPECT_EQ(form->Edit1.Text(), "http://site.example/cars/6");
    EXPECT_EQ(SelectedImageName, "cars_6.jpg");
    // Near the end the strip scrolls only as far as its range allows.
    form->ListBox1.SetItemIndex(10);
    PressKey(form->ListBox1.Handle(), VK_DOWN);
    EXPECT_EQ(form->ScrollBox1.VertPosition(), form->ScrollBox1.VertMax());
    EXPECT_LT(form->ScrollBox1.VertPosition(), 4 + 111 * 11);
    EXPECT_EQ(form->Bevel_f.Top(), form->Thumbnail(11)->Top() + (108 - 114) / 2);
}

TEST_F(ResultListTest, FrameFollowsThePictureSize) {
    Fill();
    form->ListBox1.SetItemIndex(2);
    form->ListBox1Click(&form->ListBox1);
    forms::Image* t = form->Thumbnail(2);
    RECT f = Frame();
    EXPECT_EQ(f.right - f.left, 144);
    EXPECT_EQ(f.bottom - f.top, 109);
    EXPECT_EQ(f.left, t->Left() - 3);
    EXPECT_EQ(f.top, t->Top());  // (108 - 109) / 2 is 0
    form->ListBox1.SetItemIndex(3);
    form->ListBox1Click(&form->ListBox1);
    t = form->Thumbnail(3);
    f = Frame();
    EXPECT_EQ(f.bottom - f.top, 121);
    EXPECT_EQ(f.top, t->Top() - 6);
}

TEST_F(ResultListTest, TheFrameShowsWhollyOverLandscapePortraitAndSmallPictures) {
    perPage = 3;
    mainwindow::MaxFileCount = 3;
    sizeOf = [](int i) {
        return i == 0   ? std::pair<int, int>{138, 103}
               : i == 1 ? std::pair<int, int>{81, 108}
                        : std::pair<int, int>{32, 32};
    };
    SearchToEnd("shapes");
    ASSERT_EQ(form->ListBox1.Count(), 3);
    HWND frame = form->Bevel_f.Handle();
    ASSERT_NE(frame, nullptr);
    for (int i = 0; i < 3; i++) {
        SCOPED_TRACE(i);
        form->ListBox1.SetItemIndex(i);
        form->ListBox1Click(&form->ListBox1);
        forms::Image* t = form->Thumbnail(i);
        ASSERT_NE(t->Handle(), nullptr);
        // The frame's window is where the frame is, shown, and above the picture it frames
        // (and every other thumbnail), so none of its four sides is hidden.
        RECT r;
        GetWindowRect(frame, &r);
        MapWindowPoints(nullptr, form->ScrollBox1.Handle(), reinterpret_cast<POINT*>(&r), 2);
        RECT f = Frame();
        EXPECT_TRUE(EqualRect(&r, &f));
        EXPECT_TRUE(IsWindowVisible(frame));
        EXPECT_GE(f.top, 0);  // within the strip's view
        EXPECT_LE(f.bottom, form->ScrollBox1.ClientHeight());
        bool above = false;
        for (HWND h = GetWindow(t->Handle(), GW_HWNDPREV); h; h = GetWindow(h, GW_HWNDPREV)) above |= h == frame;
        EXPECT_TRUE(above);
        // Only its edge belongs to it: the picture inside shows through, clicks pass to it.
        HRGN rgn = CreateRectRgn(0, 0, 0, 0);
        ASSERT_EQ(GetWindowRgn(frame, rgn), COMPLEXREGION);
        int w = f.right - f.left, h = f.bottom - f.top;
        EXPECT_TRUE(PtInRegion(rgn, 0, 0));
        EXPECT_TRUE(PtInRegion(rgn, w - 1, h - 1));
        EXPECT_TRUE(PtInRegion(rgn, w / 2, 0));
        EXPECT_TRUE(PtInRegion(rgn, 0, h / 2));
        EXPECT_FALSE(PtInRegion(rgn, w / 2, h / 2));
        DeleteObject(rgn);
        EXPECT_EQ(SendMessageA(frame, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
    }
}

TEST_F(ResultListTest, PressOnAThumbnailSelectsWithoutScrolling) {
    Fill();
    form->ScrollBox1.SetVertPosition(100);
    forms::Image* t = form->Thumbnail(3);
    EXPECT_EQ(t->Top(), 4 + 333 - 100);
    SendMessageA(t->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(form->ListBox1.ItemIndex(), 3);
    EXPECT_EQ(form->Edit1.Text(), "http://site.example/cars/4");
    EXPECT_EQ(form->ScrollBox1.VertPosition(), 100);
    EXPECT_EQ(Frame().top, t->Top() - 6);
    EXPECT_EQ(SelectedImageName, "cars_4.jpg");
    // A thumbnail without a file name selects "none".
    form->ScrollBox1.SetVertPosition(0);
    form->AddResultEntry("http://site.example/blank", "http://img.example/blank.jpg", " \t", PictureOf(60, 60));
    forms::Image* blank = form->Thumbnail(12);
    ASSERT_NE(blank, nullptr);
    form->ScrollBox1.SetVertPosition(form->ScrollBox1.VertMax());  // in view, to be pressed on
    SendMessageA(blank->Handle(), WM_MBUTTONDOWN, MK_MBUTTON, 0);
    EXPECT_EQ(SelectedImageName, "none");
    EXPECT_EQ(form->ListBox1.ItemIndex(), 12);
    // From the list the hint is taken unchanged.
    form->ListBox1Click(&form->ListBox1);
    EXPECT_EQ(SelectedImageName, " \t");
}

TEST_F(ResultListTest, ThumbnailsAddedToAScrolledStripLandAtTheirContentPlace) {
    Fill();
    form->ScrollBox1.SetVertPosition(200);
    form->AddResultEntry("http://p/12", "http://i/12.jpg", "f12.jpg", PictureOf(138, 80));
    forms::Image* t = form->Thumbnail(12);
    EXPECT_EQ(t->Top(), 4 + 111 * 12 - 200);
    EXPECT_EQ(t->Tag, 12);
    EXPECT_EQ(form->ListBox_Bak.Item(12), "http://i/12.jpg");
    EXPECT_TRUE(form->IsFetched("HTTP://I/12.JPG"));  // case ignored
    EXPECT_FALSE(form->IsFetched("http://i/13.jpg"));
    form->ScrollBox1.SetVertPosition(0);
    EXPECT_EQ(t->Top(), 4 + 111 * 12);
}

TEST_F(ResultListTest, ALineWithoutItsThumbnailLeavesTheWindowUsable) {
    Fill();
    form->DestroyThumbnail(4);
    form->ListBox1.SetItemIndex(4);
    form->ListBox1Click(&form->ListBox1);
    EXPECT_EQ(form->Edit1.Text(), "http://site.example/cars/5");
    EXPECT_EQ(SelectedImageName, "");
    EXPECT_LT(form->Bevel_f.Top(), 0);
    // The next search clears the rest all the same.
    perPage = 5;
    mainwindow::MaxFileCount = 5;
    SearchToEnd("boats");
    EXPECT_EQ(form->ListBox1.Count(), 5);
    EXPECT_EQ(form->Thumbnail(5), nullptr);
    EXPECT_EQ(form->Edit1.Text(), "");
    EXPECT_EQ(form->Bevel_f.Top(), -300);
}

TEST_F(ResultListTest, OpeningAPageGoesThroughTheShell) {
    Fill();
    form->ListBox1DblClick(form->PopBrowser1);  // nothing selected
    EXPECT_TRUE(shells.empty());
    form->ListBox1.SetItemIndex(1);
    form->ListBox1Click(&form->ListBox1);
    form->ListBox1DblClick(form->PopBrowser1);
    ASSERT_EQ(shells.size(), 1u);
    EXPECT_EQ(shells[0].owner, form->Handle());
    EXPECT_EQ(shells[0].verb, "open");
    EXPECT_EQ(shells[0].file, "http://site.example/cars/2");
    EXPECT_EQ(shells[0].show, SW_SHOWNORMAL);
    // The address field's text is what opens.
    form->Edit1.SetText("http://edited.example/");
    form->ListBox1DblClick(form->MainMenu_Browser);
    EXPECT_EQ(shells.back().file, "http://edited.example/");
    // A double click on the empty part below the last line opens nothing; on a line it opens.
    form->SetBounds(form->Left(), form->Top(), 600, 600);
    form->ScrollBox1.SetVertPosition(0);
    form->ListBox1.SetItemIndex(0);
    size_t before = shells.size();
    CursorTo(form->ListBox1, 20, form->ListBox1.Height() - 10);
    form->ListBox1DblClick(&form->ListBox1);
    EXPECT_EQ(shells.size(), before);
    form->ListBox1DblClick(form->PopBrowser1);  // a menu opens wherever it lay
    EXPECT_EQ(shells.size(), before + 1);
    CursorTo(form->ListBox1, 20, 5);
    form->ListBox1DblClick(&form->ListBox1);
    EXPECT_EQ(shells.size(), before + 2);
}

TEST_F(ResultListTest, WheelScrollsTheStripOnlyUnderTheCursor) {
    Fill();
    UINT lines = 0;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    // Other test programs share the desktop: be the window under the cursor.
    form->SetTopMost(true);
    form->SetBounds(640, 260, form->Width(), form->Height());
    CursorTo(form->ScrollBox1, 150, 200);  // right of the thumbnails, on the strip itself
    POINT at;
    GetCursorPos(&at);
    PostMessageA(form->ListBox1.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                 MAKELPARAM(at.x, at.y));
    forms::ProcessMessages();
    EXPECT_EQ(form->ScrollBox1.VertPosition(), static_cast<int>(lines) * 8);
    PostMessageA(form->ListBox1.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA * 3), MAKELPARAM(at.x, at.y));
    forms::ProcessMessages();
    EXPECT_EQ(form->ScrollBox1.VertPosition(), 0);  // one event gives its lines, whatever the delta
    // Anywhere else the strip stays.
    CursorTo(form->ListBox1, 20, 20);
    PostMessageA(form->ListBox1.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    forms::ProcessMessages();
    EXPECT_EQ(form->ScrollBox1.VertPosition(), 0);
}

TEST_F(ResultListTest, HourglassOnTheListWhileAnImageDownloads) {
    std::vector<forms::Cursor> seen;
    form->ListBox1.SetCursor(forms::Cursor::Default);
    LongSearches(200);
    Search("slow");
    ASSERT_TRUE(Pump([&] { return form->ListBox1.GetCursor() == forms::Cursor::HourGlass; }, 5000));
    ASSERT_TRUE(Pump([&] { return form->ListBox1.Count() >= 1; }));
    form->Button_stopsearch.Click();
    WaitIdle();
    EXPECT_EQ(form->ListBox1.GetCursor(), forms::Cursor::Default);
}

TEST_F(ResultListTest, RedrawButtonsOnlyForTabOrAltOnNewerSystems) {
    using mainwindow::RedrawButtonsOnKeyUp;
    EXPECT_EQ(RedrawButtonsOnKeyUp(form.get(), VK_TAB), 4);  // Search, "...", Stop search, Exit
    EXPECT_EQ(RedrawButtonsOnKeyUp(form.get(), VK_MENU), 4);
    EXPECT_EQ(RedrawButtonsOnKeyUp(form.get(), 'A'), 0);
    EXPECT_EQ(RedrawButtonsOnKeyUp(nullptr, VK_TAB), 0);
    env.forms.osVersion = [] { return mainwindow::OsVersion{true, 5}; };
    env.Install();
    EXPECT_EQ(RedrawButtonsOnKeyUp(form.get(), VK_TAB), 0);
    env.forms.osVersion = [] { return mainwindow::OsVersion{false, 6}; };
    env.Install();
    EXPECT_EQ(RedrawButtonsOnKeyUp(form.get(), VK_TAB), 0);
}

}  // namespace
