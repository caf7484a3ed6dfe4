#pragma once
// The controls the program's windows are made of. Each is a thin owner of one standard
// window (or none, for labels and frames) with the events the program handles.
#include <memory>
#include <string>
#include <vector>

#include "forms/control.h"
#include "imaging/picture.h"
#include "platform/owned.h"

namespace forms {

using imaging::Picture;

// A text painted on its parent; sized to its text.
class Label : public Control {
public:
    Label(Control* parent, const Design& d);
    void SetText(const std::string& text) override;
    void DpiChanged() override;

protected:
    void Paint(HDC dc) override;

private:
    void AutoSize();
};

// A frame: a box, or a band of a panel when aligned. A frame that must show over windowed
// siblings (the selection frame over the thumbnails) gets a window of its own, shaped to its
// edge and kept above them; clicks pass through it.
class Bevel : public Control {
public:
    enum class Shape { Box, Frame, TopLine, LeftLine };
    enum class Layer { Painted, OverSiblings };
    Bevel(Control* parent, const Design& d, Shape shape = Shape::Box, bool lowered = true,
          Layer layer = Layer::Painted);
    void SetBounds(int left, int top, int width, int height) override;
    void DpiChanged() override;

protected:
    void Paint(HDC dc) override;
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void ApplyShape();
    void Draw(HDC dc, RECT r);
    Shape shape_;
    bool lowered_;
};

class Button : public Control {
public:
    Button(Control* parent, const Design& d);

protected:
    void Command(WORD code) override;
};

// A flat button with a small picture (an icon resource) instead of a caption.
class FlatButton : public Control {
public:
    FlatButton(Control* parent, const Design& d, const char* iconResource = nullptr);
    void DpiChanged() override;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void LoadSmallIcon();
    const char* iconResource_;
    platform::Icon icon_;
    bool pressed_ = false;
};

class CheckBox : public Control {
public:
    CheckBox(Control* parent, const Design& d);
    bool Checked() const;
    void SetChecked(bool on);

protected:
    void Command(WORD code) override;
};

class Edit : public Control {
public:
    Edit(Control* parent, const Design& d, bool readOnly = false);
    std::string Text() const override;
    bool ReadOnly() const { return readOnly_; }

protected:
    void Command(WORD code) override;

private:
    bool readOnly_;
};

// An editable text with a drop-down list (CBS_DROPDOWN).
class ComboBox : public Control {
public:
    ComboBox(Control* parent, const Design& d);
    std::string Text() const override;
    HWND EditHandle() const { return edit_; }

    int Count() const;
    std::string Item(int i) const;
    std::vector<std::string> Items() const;
    void AddItem(const std::string& s);
    void InsertItem(int i, const std::string& s);
    void DeleteItem(int i);
    void Clear();  // every item and the text
    int ItemIndex() const;
    void SetItemIndex(int i);  // -1: none; otherwise the box shows that item's text

protected:
    void Command(WORD code) override;

private:
    HWND edit_ = nullptr;
    WNDPROC editProc_ = nullptr;
    static LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM);
};

// A list of lines. OnClick comes when the user changes the selection (mouse or keys).
class ListBox : public Control {
public:
    ListBox(Control* parent, const Design& d);
    int Count() const;
    std::string Item(int i) const;
    void Add(const std::string& s);
    void Clear();
    int ItemIndex() const;
    void SetItemIndex(int i);             // no OnClick; the list scrolls the line into view
    int ItemAtPos(POINT clientPt) const;  // -1 when the point is not over a line
    int TopIndex() const;
    int FindExact(const std::string& s) const;  // whole line, case ignored; -1 if none

protected:
    void Command(WORD code) override;
};

// A panel that holds other controls; its aligned children follow its size.
class Panel : public Control {
public:
    Panel(Control* parent, const Design& d);
    void SetBounds(int left, int top, int width, int height) override;
};

// A borderless box whose vertical scroll bar moves its content (children keep their places
// in the scrolled content); the range covers every visible child. One line is 8 pixels.
class ScrollBox : public Control {
public:
    ScrollBox(Control* parent, const Design& d);
    int VertPosition() const { return pos_; }
    void SetVertPosition(int pos);  // clamped to the range
    int VertRange() const { return range_; }
    int VertMax() const;  // the largest position
    void SetBounds(int left, int top, int width, int height) override;
    static constexpr int kLine = 8;
    // The window itself or one inside it (a thumbnail).
    bool Holds(HWND h) const { return h && (h == Handle() || IsChild(Handle(), h)); }
    bool WantsChildWindow(const Control& child) const override;
    void DpiChanged() override;

    // While many children are added, the range is worked out once, when released.
    class RangeHold {
    public:
        explicit RangeHold(ScrollBox& box) : box_(&box) { box.held_ = true; }
        ~RangeHold() { Release(); }
        RangeHold(const RangeHold&) = delete;
        RangeHold& operator=(const RangeHold&) = delete;
        void Release() {
            if (!box_) return;
            box_->held_ = false;
            box_->UpdateRange();
            box_ = nullptr;
        }

    private:
        ScrollBox* box_;
    };

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void ChildMoved() override;

private:
    void UpdateRange();
    void PlaceChildren(bool all);
    bool held_ = false;
    int pos_ = 0;
    int range_ = -1;
    int page_ = -1;
    bool moving_ = false;
};

// Shows a picture centred, not stretched, on the parent's colour. Its window is made only
// once the parent wants it (a scroll box: when it comes into view), so a strip of a thousand
// pictures costs a thousand windows only if all of them are looked at.
class Image : public Control {
public:
    Image(Control* parent, const Design& d);
    Picture& GetPicture() { return *picture_; }
    const Picture& GetPicture() const { return *picture_; }
    void SetPicture(std::unique_ptr<Picture> p);
    void SetBounds(int left, int top, int width, int height) override;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void EnsureWindow() override;

private:
    void WindowIfWanted();
    std::unique_ptr<Picture> picture_;
};

}  // namespace forms
