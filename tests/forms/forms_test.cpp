// The forms layer: events, key preview, menus, modal showing, the error handler, the strip.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "forms/controls.h"
#include "forms/form.h"
#include "forms/menu.h"
#include "forms/messageloop.h"
#include "forms/msgbox.h"
#include "support/environment.h"

using namespace forms;

namespace {

struct FormsTest : ::testing::Test {
    std::vector<BoxCall> boxes;
    testsupport::EnvironmentScope env;
    void SetUp() override {
        env.forms.box = [this](const BoxCall& c) {
            boxes.push_back(c);
            return IDOK;
        };
        env.Install();
        ResetTerminated();
    }
    void TearDown() override { SetMessageHook(nullptr); }
};

TEST_F(FormsTest, ControlsKeepDesignedPlacesCaptionsAndHints) {
    Form f({.name = "F", .caption = "T", .clientWidth = 300, .clientHeight = 200, .maximizeBox = false});
    Panel p(&f, {.name = "P", .width = 300, .height = 200});
    Bevel top(&p, {.name = "Top", .height = 40, .align = Align::Top});
    Bevel bottom(&p, {.name = "Bottom", .height = 20, .align = Align::Bottom});
    ListBox list(&p, {.name = "L", .align = Align::Client});
    Button b(
        &p,
        {.name = "B", .left = 10, .top = 8, .width = 80, .height = 20, .caption = "Go", .hint = " go ", .bold = true});
    p.Realign();

    EXPECT_EQ(f.ClientWidth(), 300);
    EXPECT_EQ(f.ClientHeight(), 200);
    EXPECT_FALSE(GetWindowLongA(f.Handle(), GWL_STYLE) & WS_MAXIMIZEBOX);
    EXPECT_EQ(p.FindChild("B"), &b);
    RECT r;
    GetWindowRect(b.Handle(), &r);
    MapWindowPoints(nullptr, p.Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 8);
    EXPECT_EQ(r.right - r.left, 80);
    EXPECT_EQ(b.Text(), "Go");
    EXPECT_TRUE(b.Bold());
    EXPECT_EQ(b.Hint(), " go ");
    ASSERT_NE(f.TooltipHandle(), nullptr);
    EXPECT_EQ(SendMessageA(f.TooltipHandle(), TTM_GETTOOLCOUNT, 0, 0), 1);
    // Bands at the top and bottom, the list in between.
    EXPECT_EQ(list.Top(), 40);
    EXPECT_EQ(list.Height(), 140);
    EXPECT_EQ(bottom.Top(), 180);
    EXPECT_EQ(top.Width(), 300);
}

TEST_F(FormsTest, DisabledMenuItemIgnoresClicksAlsoFromCode) {
    PopupMenu menu("M");
    int clicks = 0;
    MenuItem* item = menu.Add({"Item", "&Item"});
    item->OnClick = [&](Component*) { clicks++; };
    item->Click();
    item->Enabled = false;
    item->Click();
    EXPECT_EQ(clicks, 1);
    // Chosen from an opened menu: the script picks it, the disabled state still holds.
    env.forms.popup = [&](PopupMenu& m, POINT) { return m.Find("Item"); };
    env.Install();
    menu.Popup(nullptr, 0, 0);
    EXPECT_EQ(clicks, 1);
    item->Enabled = true;
    menu.Popup(nullptr, 0, 0);
    EXPECT_EQ(clicks, 2);
}

TEST_F(FormsTest, KeyPreviewSeesKeysFirstAndMaySwallowThem) {
    Form f({.name = "F", .clientWidth = 200, .clientHeight = 100});
    Edit e(&f, {.name = "E", .left = 0, .top = 0, .width = 100, .height = 20});
    f.Show();
    std::vector<std::string> seen;
    f.KeyPreview = true;
    f.OnKeyDown = [&](Component*, WORD& k, unsigned) {
        seen.push_back("form " + std::to_string(k));
        if (k == VK_ESCAPE) k = 0;
    };
    e.OnKeyDown = [&](Component*, WORD& k, unsigned) { seen.push_back("edit " + std::to_string(k)); };
    e.OnKeyPress = [&](Component*, wchar_t& c) {
        if (c == ':') c = 0;  // refused characters never reach the edit
    };
    PostMessageA(e.Handle(), WM_KEYDOWN, 'A', 0);
    PostMessageA(e.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(e.Handle(), WM_CHAR, 'x', 0);
    PostMessageA(e.Handle(), WM_CHAR, ':', 0);
    ProcessMessages();
    EXPECT_EQ(seen, (std::vector<std::string>{"form 65", "edit 65", "form 27"}));
    EXPECT_EQ(e.Text(), "xa");  // the "A" key's character comes after the ones posted with it
}

TEST_F(FormsTest, ExceptionFromHandlerIsShownAndTheProgramGoesOn) {
    Form f({.name = "F", .clientWidth = 200, .clientHeight = 100});
    Button b(&f, {.name = "B", .width = 50, .height = 20, .caption = "B"});
    b.OnClick = [](Component*) { throw std::runtime_error("Unable to write to C:\\x\\Quenby.ini"); };
    SendMessageA(b.Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, BoxKind::Error);
    EXPECT_EQ(boxes[0].text, "Unable to write to C:\\x\\Quenby.ini");
    SendMessageA(b.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(boxes.size(), 2u);
}

TEST_F(FormsTest, ModalScriptReceivesTheFormAndGivesTheResult) {
    Form main({.name = "Main", .clientWidth = 100, .clientHeight = 100});
    Form dlg({.name = "Dlg",
              .caption = "  Limits & options to download",
              .clientWidth = 279,
              .clientHeight = 207,
              .resizable = false,
              .toolWindow = true});
    std::string seen;
    env.forms.modal = [&](Form& f) {
        seen = f.Name + (f.Modal() ? " modal" : "");
        return mrOk;
    };
    env.Install();
    EXPECT_EQ(dlg.ShowModal(), mrOk);
    EXPECT_EQ(seen, "Dlg modal");
    EXPECT_FALSE(dlg.Modal());
}

TEST_F(FormsTest, HookSeesEveryQueuedMessageAndMayHandleIt) {
    Form f({.name = "F", .clientWidth = 100, .clientHeight = 100});
    int seen = 0;
    SetMessageHook([&](MSG& m, bool& handled) {
        if (m.message == WM_SYSCOMMAND && m.wParam == 1026) {
            seen++;
            handled = true;
        }
    });
    PostMessageA(f.Handle(), WM_SYSCOMMAND, 1026, 0);
    ProcessMessages();
    EXPECT_EQ(seen, 1);
}

TEST_F(FormsTest, ScrollBoxRangeCoversChildrenAndMovesThem) {
    Form f({.name = "F", .clientWidth = 200, .clientHeight = 300});
    ScrollBox box(&f, {.name = "S", .left = 0, .top = 0, .width = 165, .height = 300});
    for (int i = 0; i < 10; i++)
        box.Adopt<Image>(Design{.name = "I", .left = 5, .top = 4 + 111 * i, .width = 138, .height = 108});
    EXPECT_EQ(box.VertRange(), 4 + 111 * 9 + 108);
    // Only the pictures in view have a window yet; the last gets one where it belongs when
    // it is scrolled into view.
    EXPECT_NE(box.Controls()[2]->Handle(), nullptr);
    EXPECT_EQ(box.Controls()[3]->Handle(), nullptr);
    box.SetVertPosition(10000);
    EXPECT_EQ(box.VertPosition(), box.VertRange() - box.ClientHeight());
    Control* last = box.Controls()[9];
    ASSERT_NE(last->Handle(), nullptr);
    RECT lr;
    GetWindowRect(last->Handle(), &lr);
    MapWindowPoints(nullptr, box.Handle(), reinterpret_cast<POINT*>(&lr), 2);
    EXPECT_EQ(lr.top, last->Top());
    EXPECT_EQ(lr.bottom - lr.top, 108);
    box.SetVertPosition(111);
    EXPECT_EQ(box.Controls()[1]->Top(), 4);
    RECT r;
    GetWindowRect(box.Controls()[1]->Handle(), &r);
    MapWindowPoints(nullptr, box.Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.top, 4);
    SendMessageA(box.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(box.VertPosition(), 119);
    // Destroying a child from inside its own handler is safe.
    Control* first = box.Controls()[0];
    first->OnMouseDown = [&](Component* s, MouseButton, unsigned, int, int) {
        box.DestroyChild(static_cast<Control*>(s));
    };
    SendMessageA(first->Handle(), WM_LBUTTONDOWN, 0, 0);
    EXPECT_EQ(box.Controls().size(), 9u);
}

}  // namespace
