#pragma once
// The controls of the Win32 forms: each wraps a child window of a form's
// container, says what room it wants at the window's DPI, and hands the
// user's clicks to the logic. The container (win_forms.cpp) places them.
#include <windows.h>

#include <functional>
#include <string>

#include "form_layout.h"
#include "platform/commands.h"
#include "platform/forms.h"

namespace tovlo {

// What every control of a container has in common.
class WinControl {
public:
    explicit WinControl(HWND window) : window_(window) {}
    virtual ~WinControl() = default;
    HWND window() const { return window_; }
    // The room it wants, in pixels at the DPI.
    virtual LayoutItem layoutItem(UINT dpi) const = 0;
    // Drawn taller than its place (a drop-down list's list).
    virtual int extraHeight(UINT) const { return 0; }
    // A notification the control sent its container (WM_COMMAND).
    virtual void notified(WORD) {}
    // Its wanted size changed: the container lays out again.
    std::function<void()> changed;

protected:
    void tellChanged() const {
        if (changed) changed();
    }
    HWND window_;
};

// A child window of the class, with the container's font.
HWND makeControl(HWND parent, const wchar_t* windowClass, DWORD style, DWORD exStyle = 0);
// The size of the text in the window's font: one line, or broken into
// lines at the width when width > 0.
SIZE textSize(HWND window, const std::wstring& text, int width = 0);
std::wstring windowText(HWND window);
// A control's window keeps the name its form gives it, so tests and tools
// find the control by that name.
void nameWindow(HWND window, const std::string& name);
std::string nameOfWindow(HWND window);
// The control of the name anywhere in the window (null when there is none).
HWND controlNamed(HWND window, const std::string& name);

class WinListBox : public WinControl, public ListBox {
public:
    explicit WinListBox(HWND parent);
    void addItem(const std::string& text) override;
    int count() const override;
    std::string item(int index) const override;
    void setSelectedIndex(int index) override;
    int selectedIndex() const override;
    LayoutItem layoutItem(UINT dpi) const override;
};

class WinDropDownList : public WinControl, public ListBox {
public:
    explicit WinDropDownList(HWND parent);
    void addItem(const std::string& text) override;
    int count() const override;
    std::string item(int index) const override;
    void setSelectedIndex(int index) override;
    int selectedIndex() const override;
    LayoutItem layoutItem(UINT dpi) const override;
    int extraHeight(UINT dpi) const override;
};

class WinLabel : public WinControl, public Label {
public:
    // In a column (or centred) a long text takes more lines; beside other
    // controls a label is one line, as wide as its text.
    WinLabel(HWND parent, Flow flow);
    void setText(const std::string& text) override;
    std::string text() const override { return text_; }
    int height() const override;
    void setHeight(int pixels) override;
    int fittedHeight() const override;
    LayoutItem layoutItem(UINT dpi) const override;
    void notified(WORD code) override;

private:
    bool wraps_;
    std::string text_;
    int fixedHeight_ = -1;  // logical pixels; -1 while as tall as its text
    EventSource events_{"a click on a label"};
};

class WinProgressBar : public WinControl, public ProgressBar {
public:
    explicit WinProgressBar(HWND parent);
    void setValue(int percent) override;
    int value() const override;
    LayoutItem layoutItem(UINT dpi) const override;
};

class WinButton : public WinControl, public Button {
public:
    explicit WinButton(HWND parent);
    void setText(const std::string& text) override;
    void setEnabled(bool on) override;
    bool isEnabled() const override;
    LayoutItem layoutItem(UINT dpi) const override;
    void notified(WORD code) override;

private:
    EventSource events_{"a click on a button"};
};

// Choosing one clears the others of its container (chooseOnly).
class WinOptionButton : public WinControl, public OptionButton {
public:
    WinOptionButton(HWND parent, std::function<void(WinOptionButton&)> chooseOnly);
    void setText(const std::string& text) override;
    void setChecked(bool on) override;
    bool isChecked() const override;
    LayoutItem layoutItem(UINT dpi) const override;
    void notified(WORD code) override;

private:
    std::function<void(WinOptionButton&)> chooseOnly_;
};

class WinTextBox : public WinControl, public TextBox {
public:
    explicit WinTextBox(HWND parent);
    void setText(const std::string& text) override;
    std::string text() const override;
    LayoutItem layoutItem(UINT dpi) const override;
};

// A picture box: the image at its own size; with no image it is hidden and
// takes no room.
class WinPicture : public WinControl, public Picture {
public:
    explicit WinPicture(HWND parent);
    ~WinPicture() override;
    void loadImageFile(const std::string& path) override;
    LayoutItem layoutItem(UINT dpi) const override;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HBITMAP bitmap_ = nullptr;
    SIZE size_{};
    EventSource events_{"a click on a picture"};
};

// An area the program places itself; hidden until shown.
class WinFrame : public Frame {
public:
    explicit WinFrame(HWND parent);
    void setVisible(bool visible) override;
    bool isVisible() const override;
    void setGeometry(const Rect& r) override;
    Rect geometry() const override;
    HWND window() const { return window_; }

private:
    HWND window_;
};

}  // namespace tovlo
