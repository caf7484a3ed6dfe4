#pragma once
// A top-level window with designed client size, hints as tooltips, key preview and modal
// showing. Tests replace the modal loop with a script (forms/environment.h).
#include <functional>
#include <string>

#include "forms/control.h"

namespace forms {

class MainMenu;

enum class CloseAction { None, Hide, Free };
// Modal results: the message box answers.
inline constexpr int mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrYes = IDYES, mrNo = IDNO;

struct FormDesign {
    const char* name = "";
    const char* caption = "";
    int left = 0, top = 0;
    int clientWidth = 0, clientHeight = 0;
    bool resizable = true;
    bool minimizeBox = true;
    bool maximizeBox = true;
    bool toolWindow = false;  // a tool window without border icons
};

class Form : public Control {
public:
    explicit Form(const FormDesign& d);
    ~Form() override;

    // A form's left and top are screen coordinates (device pixels); its width and height are
    // its outer size in designed units.
    void SetBounds(int left, int top, int width, int height) override;
    void SetClientSize(int width, int height);
    int Dpi() const override { return dpi_; }
    void DpiChanged() override;
    void SetCaption(const std::string& caption) { SetText(caption); }
    std::string Caption() const { return Text(); }

    void Show();
    void Hide();
    // Asks the form to close: OnClose may refuse (CloseAction::None). The main form's close
    // ends the message loop; a modal form's close ends its modal loop with mrCancel.
    void Close();
    // Shows the form modally and returns its ModalResult. With the environment's modal script, it
    // receives the form and its return value is the result; nothing is shown.
    int ShowModal();
    int ModalResult = mrNone;
    bool Modal() const { return modal_; }

    void SetMenu(MainMenu* menu);  // nullptr removes the menu bar
    MainMenu* Menu() const { return menu_; }
    void SetTopMost(bool on);

    bool KeyPreview = false;
    Control* ActiveControl() const;
    // Keyboard focus: a form passes its focus on to the control that had it when the form was
    // last deactivated, else to its first tab stop, as a dialog box does; the main window is no
    // dialog, so without this no control has the focus and keys go to the form itself.
    void FocusFirstControl();
    void RestoreFocus();
    // Moves the focus from `from` to the next tab stop (the focused control is about to be
    // disabled or hidden).
    void FocusNextAfter(HWND from);

    std::function<void(Component*)> OnShow, OnResize;
    std::function<void(Component*, CloseAction&)> OnClose;
    std::function<void(Component*, unsigned shift, int delta, POINT pos, bool& handled)> OnMouseWheel;
    // Any message of the form's window, after its default handling (WM_GETMINMAXINFO).
    std::function<void(UINT msg, WPARAM wp, LPARAM lp)> OnMessage;

    HWND TooltipHandle() const { return tooltip_; }
    void AddTool(Control* c);
    void RemoveTool(Control* c);

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void ApplyTabOrder();
    void MoveToDpi(int dpi, const RECT& suggested);
    void RememberFocus();
    MainMenu* menu_ = nullptr;
    HWND savedFocus_ = nullptr;
    HWND tooltip_ = nullptr;
    bool modal_ = false;
    bool shownOnce_ = false;
    int dpi_ = kDesignDpi;
};

// The window a message box or a dialog belongs to: the modal form on top, else the main form
// (never "the active window", which is none while another program is in front).
HWND DialogOwner();

}  // namespace forms
