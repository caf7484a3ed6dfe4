// The main window as designed: its controls, their places, texts, hints, menus and tab order,
// the layout on resize and the minimum size.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "forms/messageloop.h"
#include "forms/msgbox.h"
#include "mainwindow/mainform.h"
#include "mainwindow/state.h"

using namespace mainwindow;

namespace {

struct LayoutTest : ::testing::Test {
    std::unique_ptr<TForm1> form;
    void SetUp() override {
        forms::SetBoxScript([](const forms::BoxCall&) { return IDOK; });
        forms::ResetTerminated();
        form = std::make_unique<TForm1>();
        form->Show();
        forms::ProcessMessages();
    }
    void TearDown() override {
        form.reset();
        forms::SetBoxScript(nullptr);
    }
    // A control's place in its parent's client area, as the window system has it.
    static RECT Place(const forms::Control& c) {
        RECT r;
        GetWindowRect(c.Handle(), &r);
        MapWindowPoints(nullptr, GetParent(c.Handle()), reinterpret_cast<POINT*>(&r), 2);
        return r;
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

}  // namespace
