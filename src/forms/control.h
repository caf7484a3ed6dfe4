#pragma once
// Windows and controls with designed names, places and captions.
//
// How it works: every control is a Control object. Windowed controls own a window handle;
// graphic controls (labels, frames) have none and are painted by their parent. One window
// procedure thunk serves all of them: our own window classes store the object at
// WM_NCCREATE, the standard controls (buttons, edits, lists) are subclassed and keep the
// object and their old procedure in window properties. A parent hands what a child window
// tells it (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_HSCROLL, WM_VSCROLL) back to
// the child's object, so each control turns its notifications into its own events.
// An exception escaping an event handler is shown by the application-wide error handler.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/dpiscale.h"
#include "forms/fonts.h"

namespace forms {

class Form;
class PopupMenu;

// Anything with a designed name and a Tag: controls and menu items.
class Component {
public:
    explicit Component(std::string name) : Name(std::move(name)) {}
    virtual ~Component() = default;
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    std::string Name;
    intptr_t Tag = 0;
};

using Notify = std::function<void(Component* sender)>;
enum class MouseButton { Left, Right, Middle };
enum class Align { None, Top, Bottom, Client };
enum class Cursor { Default, HourGlass };
// Shift state bits, as in the mouse messages' MK_ flags, plus Alt.
inline constexpr unsigned kShift = MK_SHIFT, kCtrl = MK_CONTROL, kAlt = 0x1000;
unsigned CurrentShiftState();

using MouseNotify = std::function<void(Component* sender, MouseButton button, unsigned shift, int x, int y)>;
using KeyNotify = std::function<void(Component* sender, WORD& key, unsigned shift)>;
// A typed character, one UTF-16 unit (a character beyond U+FFFF comes as two); 0 drops it.
using KeyPressNotify = std::function<void(Component* sender, wchar_t& key)>;

// The designed properties of one control, written as one line of a window's control table.
// Places and sizes are in designed units (pixels at 96 DPI); the control shows them scaled by
// its window's DPI (dpiscale.h). Everything a control reports is in designed units too.
struct Design {
    const char* name = "";
    int left = 0, top = 0, width = 0, height = 0;
    const char* caption = "";
    const char* hint = "";
    bool bold = false;
    int tabOrder = -1;  // -1: not a tab stop
    Align align = Align::None;
};

class Control : public Component {
public:
    Control(Control* parent, const Design& d);
    ~Control() override;

    Control* Parent() const { return parent_; }
    // The font the control shows its texts in: the designed one until a text arrives that it
    // cannot show, then the fallback font for good.
    HFONT Font() const;
    void FitFontTo(const std::string& text);
    Form* OwnerForm();
    HWND Handle() const { return hwnd_; }
    bool Windowed() const { return windowed_; }
    const std::vector<Control*>& Controls() const { return children_; }
    Control* FindChild(const std::string& name) const;  // direct children only

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    virtual void SetBounds(int left, int top, int width, int height);
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    int ClientWidth() const;
    int ClientHeight() const;
    Align GetAlign() const { return align_; }

    // The DPI the control is shown at: its form's.
    virtual int Dpi() const { return parent_ ? parent_->Dpi() : kDesignDpi; }
    // Designed units at that DPI, and device pixels back to designed units (the nearest).
    int Scaled(int v) const { return Scale(v, Dpi()); }
    int Unscaled(int device) const { return Unscale(device, Dpi()); }
    // The mouse cursor in this control's client area, in designed units.
    POINT CursorPos() const;
    // A point of this control's client area (designed units) on the screen (device pixels).
    POINT ScreenPoint(int x, int y) const;
    // The window moved to a monitor of another DPI: show the design again at the new DPI.
    virtual void DpiChanged();

    virtual std::string Text() const;  // caption, or what an edit holds
    virtual void SetText(const std::string& text);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    bool Visible() const { return visible_; }
    void SetVisible(bool on);
    bool Bold() const { return bold_; }
    void SetBold(bool on);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool on);
    int TabOrder() const { return tabOrder_; }
    PopupMenu* Popup = nullptr;
    Cursor GetCursor() const { return cursor_; }
    void SetCursor(Cursor c);

    bool Focused() const;
    void SetFocus();
    void Invalidate();
    // Runs OnClick as a user's click does; a disabled control ignores it.
    virtual void Click();

    Notify OnClick, OnDblClick, OnChange;
    MouseNotify OnMouseDown;
    KeyNotify OnKeyDown, OnKeyUp;
    KeyPressNotify OnKeyPress;

    // Children created at run time (thumbnails) are owned by their parent.
    template <class T, class... Args>
    T* Adopt(Args&&... args) {
        auto owned = std::make_unique<T>(this, std::forward<Args>(args)...);
        T* raw = owned.get();
        owned_.push_back(std::move(owned));
        return raw;
    }
    // Destroys an adopted child; its object is freed once no message handler is running.
    void DestroyChild(Control* child);
    // The same for many at once, in one pass over the children and with one new layout.
    void DestroyChildren(const std::vector<Control*>& doomed);

    static Control* FromHandle(HWND hwnd);  // the object of this exact window
    static Control* ControlAt(HWND hwnd);   // the nearest object at or above this window

    // Parent's view: lay out aligned children, paint graphic ones.
    void Realign();
    virtual void PaintGraphicChildren(HDC dc);
    // Whether a child's window is wanted yet: a scroll box wants only those in its view.
    virtual bool WantsChildWindow(const Control& child) const { return true; }

    // The window procedure of every control's window, ours or subclassed.
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

protected:
    // Graphic controls: painted by the parent into its device context.
    virtual void Paint(HDC dc) {}
    // Windowed controls: create the window. Standard classes are subclassed afterwards. A
    // combo box's window also holds its drop-down list, listHeight below the designed box.
    void CreateWindowed(const char* cls, DWORD style, DWORD exStyle, bool subclass, int listHeight = 0);
    // A form's window: of our own class, at the outer rectangle given in device pixels.
    void CreateTopLevel(DWORD style, DWORD exStyle, const RECT& outer, HWND owner);
    // A windowed control whose window is made only once it is wanted (EnsureWindow).
    void WindowLater() { windowed_ = true; }
    // A message for this control's window; the default calls the old or default procedure.
    virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    // Hands a message to the control's WndProc as its window procedure does.
    static LRESULT Dispatch(Control* c, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    // What this control's window told its parent window, handed back by the parent: a
    // WM_COMMAND as its notification code; WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_HSCROLL
    // and WM_VSCROLL whole, answered (true, with the result) or left to the parent's default.
    virtual void Command(WORD code) {}
    virtual bool Notification(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) { return false; }
    virtual void ChildMoved() {}
    // Windowed controls whose window waits until it is wanted make it here.
    virtual void EnsureWindow() {}
    void ApplyFont();

    // Where this control lies in its parent's client area, in device pixels; a rectangle of
    // its own client area (designed units) in its window's client pixels.
    RECT DeviceBounds() const;
    RECT DeviceRect(int left, int top, int width, int height) const;
    // Its window's size in device pixels.
    int DeviceWidth() const { return Scaled(left_ + width_) - Scaled(left_); }
    int DeviceHeight() const { return Scaled(top_ + height_) - Scaled(top_); }
    // Takes bounds as they are, moving and redrawing nothing: a size the control works out for
    // itself (a label's from its text), or what its window already is (a form's).
    void KeepBounds(int left, int top, int width, int height);

    // For a container that places its children's windows itself (a scroll box parks those
    // out of view): every child moved in the design alone; where a child's window really
    // is; a child's window made, or put where its design says (deferred with the others).
    void ShiftChildren(int dy);
    static int WindowTop(const Control& child) { return child.winTop_; }
    static void MakeWindow(Control& child) { child.EnsureWindow(); }
    static HDWP DeferPlace(Control& child, HDWP dwp);

private:
    LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);  // the old or default procedure
    bool ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // An adopted child already taken out of both lists: its window goes now, its object later.
    void Forget(std::unique_ptr<Control> doomed);
    // The window goes at once, out of the tooltips' tools; its last messages reach no object.
    void DropWindow(Form* tips);
    HWND ParentHandle() const;
    void RegisterHint();
    // Puts the window where the designed bounds say, at the current DPI.
    void PlaceWindow();

    HWND hwnd_ = nullptr;
    WNDPROC oldProc_ = nullptr;
    UINT id_ = 0;  // the child window's identifier, which WM_MEASUREITEM names it by
    bool windowed_ = false;
    bool ownClass_ = false;
    Control* parent_;
    std::vector<Control*> children_;
    std::vector<std::unique_ptr<Control>> owned_;
    int left_, top_, width_, height_;
    int extraHeight_ = 0;  // a combo box's drop-down list
    int winTop_ = 0;       // where the window really is (a scroll box parks hidden ones)
    std::string caption_;
    std::string hint_;
    bool bold_;
    HFONT fallback_ = nullptr;  // the font a text brought that the designed one cannot show
    std::string fallbackText_;  // that text, to choose the font again at another DPI
    bool enabled_ = true;
    bool visible_ = true;
    int tabOrder_;
    Align align_;
    Cursor cursor_ = Cursor::Default;
    bool showHint_ = false;
};

// The window class of our own windows (forms, panels, scroll boxes, images).
const char* OwnWindowClass();

}  // namespace forms
