// The result list and the thumbnail strip: entries arriving from the job, selection from
// either side, the selection frame, opening a result's page, the wheel over the strip and
// the window's layout.
#include <algorithm>
#include <string>

#include "engine/untrusted.h"
#include "forms/messageloop.h"
#include "forms/msgbox.h"
#include "forms/shell.h"
#include "mainwindow/mainform.h"
#include "mainwindow/state.h"
#include "mainwindow/stripgeom.h"
#include "platform/text.h"

namespace mainwindow {

namespace {

std::string ThumbName(int i) { return "Image_" + std::to_string(i); }

}  // namespace

forms::Image* TForm1::Thumbnail(int i) const {
    return i >= 0 && static_cast<size_t>(i) < thumbs_.size() ? thumbs_[static_cast<size_t>(i)] : nullptr;
}

void TForm1::DestroyThumbnail(int i) {
    if (forms::Image* thumb = Thumbnail(i)) {
        thumbs_[static_cast<size_t>(i)] = nullptr;
        ScrollBox1.DestroyChild(thumb);
    }
}

void TForm1::DestroyThumbnails() {
    std::vector<forms::Control*> doomed;
    for (forms::Image* thumb : thumbs_)
        if (thumb) doomed.push_back(thumb);
    thumbs_.clear();
    ScrollBox1.DestroyChildren(doomed);
}

void TForm1::SetListBusy(bool busy) { ListBox1.SetCursor(busy ? forms::Cursor::HourGlass : forms::Cursor::Default); }

bool TForm1::IsFetched(const std::string& imageUrl) { return ListBox_Bak.FindExact(imageUrl) >= 0; }

void TForm1::AddResultEntry(const std::string& pageLine, const std::string& imageLine, const std::string& fileName,
                            std::unique_ptr<imaging::Picture> picture) {
    const int i = ListBox1.Count();
    ListBox1.Add(pageLine);
    ListBox_Bak.Add(imageLine);
    forms::Image* thumb = NewThumbnail(i, ThumbContentTop(i) - ScrollBox1.VertPosition(), fileName);
    thumb->SetShowHint(true);
    thumb->SetPicture(std::move(picture));
    thumbs_.resize(static_cast<size_t>(i));  // a list and strip out of step never shift the later ones
    thumbs_.push_back(thumb);
}

forms::Image* TForm1::NewThumbnail(int i, int top, const std::string& fileName) {
    const std::string name = ThumbName(i);
    auto* thumb = ScrollBox1.Adopt<forms::Image>(forms::Design{
        .name = name.c_str(), .left = kThumbLeft, .top = top, .width = kThumbWidth, .height = kThumbHeight});
    thumb->Tag = i;
    thumb->SetHint(fileName);
    thumb->OnMouseDown = [this](Component* s, forms::MouseButton b, unsigned sh, int x, int y) {
        ThumbnailMouseDown(s, b, sh, x, y);
    };
    thumb->OnDblClick = [this](Component* s) { ListBox1DblClick(s); };
    return thumb;
}

void TForm1::ClearResults() {
    ScrollBox1.SetVertPosition(0);
    DestroyThumbnails();
    Bevel_f.SetTop(-300);
    ListBox1.Clear();
    Edit1.SetText("");
}

void TForm1::FrameThumbnail(const forms::Image& thumb) {
    Box f = FrameAround({thumb.Left(), thumb.Top(), thumb.Width(), thumb.Height()}, thumb.GetPicture().Width(),
                        thumb.GetPicture().Height());
    Bevel_f.SetBounds(f.left, f.top, f.width, f.height);
}

void TForm1::ListBox1Click(Component*) {
    const int i = ListBox1.ItemIndex();
    if (i < 0) return;
    forms::Image* thumb = Thumbnail(i);
    if (thumb) {
        FrameThumbnail(*thumb);
        // To its top at position 0, as near as the range allows (one move, not two). A frame
        // that reaches above the thumbnail (a picture as high as the control, or higher) comes
        // into view with it: the strip stops that much earlier.
        int above = std::max(0, thumb->Top() - Bevel_f.Top());
        ScrollBox1.SetVertPosition(thumb->Top() + ScrollBox1.VertPosition() - above);
    } else {
        Bevel_f.SetTop(-300);  // a line without its thumbnail: nothing to frame
    }
    Edit1.SetText(ListBox1.Item(i));
    SelectedImageName = thumb ? thumb->Hint() : "";
}

void TForm1::ThumbnailMouseDown(Component* Sender, forms::MouseButton, unsigned, int, int) {
    auto* thumb = dynamic_cast<forms::Image*>(Sender);
    if (!thumb) return;
    ListBox1.SetItemIndex(static_cast<int>(thumb->Tag));
    const int i = ListBox1.ItemIndex();
    Edit1.SetText(i >= 0 ? ListBox1.Item(i) : "");
    FrameThumbnail(*thumb);
    SelectedImageName = platform::IsBlank(thumb->Hint()) ? "none" : thumb->Hint();
}

void TForm1::ListBox1DblClick(Component* Sender) {
    if (ListBox1.ItemIndex() < 0) return;
    if (Sender == &ListBox1) {
        // A double click on the list's empty part below its last line opens nothing.
        POINT pt = ListBox1.CursorPos();
        bool inside = pt.x >= 0 && pt.x <= ListBox1.Width() && pt.y >= 0 && pt.y <= ListBox1.Height();
        if (inside && ListBox1.ItemAtPos(pt) < 0) return;
    }
    OpenWebAddress(Edit1.Text());
}

void TForm1::OpenWebAddress(const std::string& address) {
    // A line comes from a results page or a saved search: only a web address goes to the shell.
    if (!engine::IsWebAddress(address)) {
        forms::ShowBox(forms::BoxKind::Information, "This address cannot be opened:\r" + address);
        return;
    }
    forms::ShellOpen(Handle(), "open", address, "", "", SW_SHOWNORMAL);
}

void TForm1::FormMouseWheel(Component*, unsigned Shift, int WheelDelta, POINT, bool& Handled) {
    POINT pt;
    GetCursorPos(&pt);
    HWND under = WindowFromPoint(pt);
    // The thumbnails are windows of their own here; over them the wheel is the strip's too.
    if (!ScrollBox1.Holds(under)) return;
    Handled = true;
    UINT msg = (Shift & forms::kShift) ? WM_HSCROLL : WM_VSCROLL;
    WPARAM code = WheelDelta < 0 ? SB_LINEDOWN : SB_LINEUP;
    UINT lines = 0;
    if (!SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0) || lines == WHEEL_PAGESCROLL) lines = 0;
    for (UINT n = 0; n < lines; n++) SendMessageA(ScrollBox1.Handle(), msg, code, 0);
    SendMessageA(ScrollBox1.Handle(), msg, SB_ENDSCROLL, 0);
}

void TForm1::FormResize(Component*) {
    if (Handle() && IsIconic(Handle())) return;  // a minimized window has no client area to lay out
    Panel_Main.SetHeight(ClientHeight());
    Panel_Main.SetWidth(ShowThumbsList ? ClientWidth() - 164 : ClientWidth());
    ScrollBox1.SetLeft(Panel_Main.Width());
    ScrollBox1.SetHeight(Panel_Main.Height());
    Edit1.SetTop(Bevel3.Top());
    Edit1.SetWidth(Bevel3.Width() - 1);
}

// The platform asks in device pixels: the designed minimum at the window's DPI.
void TForm1::WMGetMinMaxInfo(MINMAXINFO* info) {
    info->ptMinTrackSize.x = Scaled(ShowThumbsList ? 532 : 368);
    info->ptMinTrackSize.y = Scaled(320);
}

}  // namespace mainwindow
