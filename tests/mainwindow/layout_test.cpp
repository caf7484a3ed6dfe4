// The main window as designed: its controls, their places, texts, hints, menus and tab order,
// the layout on resize and the minimum size.
#include "harness.h"
#include "forms/dpi.h"

using namespace mainwindow;

namespace {

struct LayoutTest : windowtest::MainWindowTest {
    void SetUp() override {
        MainWindowTest::SetUp();
        Open();
    }
    // A control's place in its parent's client area, as the window system has it.
    static RECT Place(const forms::Control& c) {
        RECT r;
        GetWindowRect(c.Handle(), &r);
        MapWindowPoints(nullptr, GetParent(c.Handle()), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    static RECT Outer(const forms::Form& f) {
        RECT r;
        GetWindowRect(f.Handle(), &r);
        return r;
    }
    // The window goes to a monitor of another DPI: the message the system sends then, with the
    // rectangle it suggests (the size scaled by the change).
    static void MoveToDpi(forms::Form& f, int dpi) {
        RECT r = Outer(f);
        int from = f.Dpi();
        RECT to{r.left, r.top, r.left + MulDiv(r.right - r.left, dpi, from),
                r.top + MulDiv(r.bottom - r.top, dpi, from)};
        SendMessageA(f.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&to));
        forms::ProcessMessages();
    }
};

TEST_F(LayoutTest, DesignedControlsAtTheirPlacesWithTheirTexts) {
    TForm1& f = *form;
    EXPECT_EQ(f.Caption(), "Image search and download ...");
    LONG style = GetWindowLongA(f.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_EQ(GetMenu(f.Handle()), f.MainMenu1.Handle());
    // The strip is shown right of the 356-pixel main panel.
    EXPECT_EQ(f.ClientHeight(), 366);
    // (With Wine's thinner frame the 532-pixel minimum widens the client from 520 to 524.)
    EXPECT_GE(f.ClientWidth(), 356 + 164);
    EXPECT_EQ(f.Panel_Main.Width(), f.ClientWidth() - 164);
    EXPECT_EQ(f.ScrollBox1.Left(), f.Panel_Main.Width());
    EXPECT_EQ(f.ScrollBox1.Width(), 165);
    EXPECT_EQ(f.ScrollBox1.Height(), 366);

    struct Row {
        forms::Control* c;
        int left, top, width, height;
        const char* text;
        const char* hint;
    } rows[] = {
        {&f.ComboBox_search, 108, 8, 150, 21, "Quenby", ""},
        {&f.Button_search, 264, 8, 81, 20, "Search", " go search ... "},
        {&f.Button_savepath, 322, 32, 23, 21, "...", " select folder for image saving "},
        {&f.Edit_savepath, 97, 32, 224, 20, nullptr, ""},
        {&f.Button_menu, 168, 71, 25, 20, "", " show menu ... "},
        {&f.Button_stopsearch, 197, 71, 83, 20, "Stop search", " stops search  [esc] "},
        {&f.Button_exit, 284, 71, 61, 20, "Exit  !", " close program "},
    };
    for (auto& r : rows) {
        SCOPED_TRACE(r.c->Name);
        RECT p = Place(*r.c);
        EXPECT_EQ(p.left, r.left);
        EXPECT_EQ(p.top, r.top);
        EXPECT_EQ(p.right - p.left, r.width);
        if (r.c != &f.ComboBox_search) {
            EXPECT_EQ(p.bottom - p.top, r.height);
        }
        if (r.text) {
            EXPECT_EQ(r.c->Text(), r.text);
        }
        EXPECT_EQ(r.c->Hint(), r.hint);
    }
    EXPECT_EQ(f.Label3.Text(), "Image keywords:");
    EXPECT_EQ(f.Label4.Text(), "Save to folder:");
    EXPECT_EQ(f.Label1.Text(), "Downed: 0 images   ");
    EXPECT_EQ(f.Label2.Text(), "Trying: 0 of ...");
    EXPECT_TRUE(f.Label1.Bold() && f.Label2.Bold() && f.Label3.Bold() && f.Label4.Bold());
    EXPECT_EQ(f.Label3.Left(), 8);
    EXPECT_EQ(f.Label2.Top(), 82);
    // Bands: 59 and 41 at the top, 21 at the bottom under the address field, the list between.
    EXPECT_EQ(f.Bevel1.Height(), 59);
    EXPECT_EQ(f.Bevel2.Top(), 59);
    EXPECT_EQ(f.ListBox1.Top(), 100);
    EXPECT_EQ(f.ListBox1.Height(), 366 - 100 - 21);
    EXPECT_EQ(f.Edit1.Top(), 345);
    EXPECT_EQ(f.Edit1.Width(), f.Panel_Main.Width() - 1);
    // Idle: Search bold, Stop plain and disabled, frame hidden, the fetched list out of sight.
    EXPECT_TRUE(f.Button_search.Bold());
    EXPECT_FALSE(f.Button_stopsearch.Bold());
    EXPECT_FALSE(IsWindowEnabled(f.Button_stopsearch.Handle()));
    EXPECT_EQ(f.Bevel_f.Top(), -300);
    EXPECT_GT(f.ListBox_Bak.Left(), GetSystemMetrics(SM_CXSCREEN));
    // Context menus.
    EXPECT_EQ(f.ComboBox_search.Popup, &f.PopupMenu3);
    EXPECT_EQ(f.Edit_savepath.Popup, &f.PopupMenu3);
    EXPECT_EQ(f.Edit1.Popup, &f.PopupMenu3);
    EXPECT_EQ(f.ListBox1.Popup, &f.PopupMenu1);
    EXPECT_EQ(f.ScrollBox1.Popup, &f.PopupMenu1);
    EXPECT_TRUE(f.Edit_savepath.ReadOnly());
}

TEST_F(LayoutTest, TabGoesThroughTheDesignedOrder) {
    TForm1& f = *form;
    forms::Control* order[] = {&f.ComboBox_search, &f.Edit_savepath, &f.Button_search, &f.Button_savepath,
                               &f.Button_exit,     &f.ListBox1,      &f.Edit1};  // Stop search is disabled
    // The next tab stop as Tab finds it (asked of the window system, so no focus is needed:
    // other test programs may hold it).
    for (size_t i = 1; i < std::size(order); i++) {
        HWND next = GetNextDlgTabItem(f.Handle(), order[i - 1]->Handle(), FALSE);
        EXPECT_EQ(forms::Control::ControlAt(next), order[i]) << "after " << order[i - 1]->Name;
    }
}

TEST_F(LayoutTest, MenusHaveTheirItemsAndHandlers) {
    TForm1& f = *form;
    EXPECT_EQ(f.PopupMenu1.Items.size(), 18u);
    EXPECT_EQ(f.PopupMenu3.Items.size(), 6u);
    EXPECT_EQ(f.PopSizeToDownload1->Caption, "Set limits && options for downloads ...");
    EXPECT_EQ(f.MainMenu1.Find("MainMenu_Exit")->Caption, "Exit");
    EXPECT_EQ(GetMenuItemCount(f.MainMenu1.Handle()), 4);
    for (auto* item : {f.PopBrowser1, f.PopSave1, f.PopAbout1, f.MainMenu_Exit, f.MainMenu_ClearAllPast, f.PopCut3,
                       f.PopFilters1, f.MainMenu_Filters})
        EXPECT_TRUE(item->OnClick) << item->Name;
}

TEST_F(LayoutTest, ResizeLaysOutPanelStripAndAddressField) {
    TForm1& f = *form;
    f.SetBounds(f.Left(), f.Top(), 700, 500);
    forms::ProcessMessages();
    EXPECT_EQ(f.Panel_Main.Width(), f.ClientWidth() - 164);
    EXPECT_EQ(f.Panel_Main.Height(), f.ClientHeight());
    EXPECT_EQ(f.ScrollBox1.Left(), f.Panel_Main.Width());
    EXPECT_EQ(f.ScrollBox1.Height(), f.ClientHeight());
    EXPECT_EQ(f.ScrollBox1.Width(), 165);
    EXPECT_EQ(f.Edit1.Top(), f.Bevel3.Top());
    EXPECT_EQ(f.Edit1.Width(), f.Bevel3.Width() - 1);
    EXPECT_EQ(f.Bevel3.Top(), f.ClientHeight() - 21);
}

TEST_F(LayoutTest, MinimumSizeFollowsTheStrip) {
    TForm1& f = *form;
    f.SetBounds(f.Left(), f.Top(), 100, 100);
    forms::ProcessMessages();
    RECT r;
    GetWindowRect(f.Handle(), &r);
    EXPECT_EQ(r.right - r.left, 532);
    EXPECT_EQ(r.bottom - r.top, 320);
    f.ToggleThumbStrip();  // hidden
    f.SetBounds(f.Left(), f.Top(), 100, 100);
    GetWindowRect(f.Handle(), &r);
    EXPECT_EQ(r.right - r.left, 368);
    EXPECT_EQ(f.Panel_Main.Width(), f.ClientWidth());
}

// At 144 and 192 DPI every control lies at its designed place scaled edge by edge, with the
// design font scaled; the layout in designed units is the design's; nothing reaches past the
// client area; the minimum size and the thumbnails scale. Back at 96 all is as designed.
TEST_F(LayoutTest, AnotherDpiScalesTheDesignAndBackAgainRestoresIt) {
    TForm1& f = *form;
    ASSERT_EQ(f.Dpi(), 96);  // the test prefix's screen
    f.AddResultEntry("http://p/0", "http://i/0.jpg", "f0.jpg", [] {
        auto p = std::make_unique<imaging::Picture>();
        p->SetPixels(std::vector<uint8_t>(138 * 103 * 4, 0x80), 138, 103);
        return p;
    }());
    f.ListBox1.SetItemIndex(0);
    f.ListBox1Click(&f.ListBox1);
    struct Row {
        forms::Control* c;
        int left, top, width, height;  // height -1: the control's own (a combo box's, from its font)
    } rows[] = {
        {&f.ComboBox_search, 108, 8, 150, -1}, {&f.Button_search, 264, 8, 81, 20},
        {&f.Edit_savepath, 97, 32, 224, 20},   {&f.Button_savepath, 322, 32, 23, 21},
        {&f.Button_menu, 168, 71, 25, 20},     {&f.Button_stopsearch, 197, 71, 83, 20},
        {&f.Button_exit, 284, 71, 61, 20},
    };
    std::vector<RECT> designed;
    for (auto& r : rows) designed.push_back(Place(*r.c));
    const RECT thumb96 = Place(*f.Thumbnail(0)), frame96 = Place(f.Bevel_f);
    const int combo96 = designed[0].bottom - designed[0].top;
    const RECT outer96 = Outer(f);

    for (int dpi : {144, 192}) {
        SCOPED_TRACE(dpi);
        MoveToDpi(f, dpi);
        ASSERT_EQ(f.Dpi(), dpi);
        auto S = [dpi](int v) { return forms::Scale(v, dpi); };
        for (auto& r : rows) {
            SCOPED_TRACE(r.c->Name);
            RECT p = Place(*r.c);
            EXPECT_EQ(p.left, S(r.left));
            EXPECT_EQ(p.top, S(r.top));
            EXPECT_EQ(p.right, S(r.left + r.width));
            if (r.height > 0) {
                EXPECT_EQ(p.bottom, S(r.top + r.height));
            }
        }
        RECT combo = Place(f.ComboBox_search);
        // The box takes its height from its font (the system's frame around it does not scale).
        EXPECT_GT(combo.bottom - combo.top, combo96);
        EXPECT_GE(combo.bottom - combo.top, S(11) + 4);
        LOGFONTA lf{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(f.Button_search.Handle(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
        EXPECT_EQ(lf.lfHeight, -S(11));
        EXPECT_EQ(lf.lfWeight, FW_BOLD);
        // The window grew with the DPI; the layout in designed units is the design's.
        RECT outer = Outer(f);
        EXPECT_NEAR(outer.right - outer.left, MulDiv(outer96.right - outer96.left, dpi, 96), 1);
        EXPECT_EQ(f.Panel_Main.Width(), f.ClientWidth() - 164);
        EXPECT_EQ(f.Panel_Main.Height(), f.ClientHeight());
        EXPECT_EQ(f.ScrollBox1.Left(), f.Panel_Main.Width());
        EXPECT_EQ(f.Edit1.Top(), f.ClientHeight() - 21);
        // Nothing past the client area's edge (the strip is designed one pixel wider than it
        // shows); the texts end before the boxes right of them.
        RECT client;
        GetClientRect(f.Handle(), &client);
        for (forms::Control* c : {static_cast<forms::Control*>(&f.ListBox1), static_cast<forms::Control*>(&f.Edit1)}) {
            RECT p = Place(*c);
            EXPECT_LE(p.right, client.right) << c->Name;
            EXPECT_LE(p.bottom, client.bottom) << c->Name;
        }
        RECT strip = Place(f.ScrollBox1);
        EXPECT_LE(strip.right, client.right + S(1));
        EXPECT_EQ(strip.bottom, S(f.ClientHeight()));
        EXPECT_LT(f.Label3.Left() + f.Label3.Width(), f.ComboBox_search.Left());
        EXPECT_LT(f.Label4.Left() + f.Label4.Width(), f.Edit_savepath.Left());
        EXPECT_LE(f.Label1.Left() + f.Label1.Width(), f.Button_menu.Left());
        // The thumbnail and its frame: the designed geometry at the DPI.
        RECT t = Place(*f.Thumbnail(0)), fr = Place(f.Bevel_f);
        EXPECT_EQ(t.left, S(thumb96.left));
        EXPECT_EQ(t.right - t.left, S(138));
        EXPECT_EQ(t.bottom - t.top, S(108));
        EXPECT_EQ(fr.left, S(frame96.left));
        EXPECT_EQ(fr.top, S(frame96.top));
        EXPECT_EQ(fr.right - fr.left, S(144));
        EXPECT_EQ(fr.bottom - fr.top, S(109));
        // The smallest window the user can make.
        f.SetBounds(f.Left(), f.Top(), 10, 10);
        forms::ProcessMessages();
        RECT small = Outer(f);
        EXPECT_EQ(small.right - small.left, S(532));
        EXPECT_EQ(small.bottom - small.top, S(320));
        MoveWindow(f.Handle(), outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top, TRUE);
        forms::ProcessMessages();
    }

    MoveToDpi(f, 96);
    for (size_t i = 0; i < std::size(rows); ++i) {
        RECT p = Place(*rows[i].c);
        EXPECT_TRUE(EqualRect(&p, &designed[i])) << rows[i].c->Name;
    }
    RECT t = Place(*f.Thumbnail(0)), fr = Place(f.Bevel_f);
    EXPECT_TRUE(EqualRect(&t, &thumb96));
    EXPECT_TRUE(EqualRect(&fr, &frame96));
    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(f.Button_search.Handle(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_EQ(lf.lfHeight, -11);
}

}  // namespace
