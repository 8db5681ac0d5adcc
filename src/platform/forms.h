#pragma once
// The program's own windows and panels, drawn by the toolkit, driven by name.
// A form is created by its name ("debugForm", "aboutForm", ...) and its
// controls are reached by the names the window declares ("List1", "Label1").
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "browser_view.h"
#include "geometry.h"

namespace tovlo {

class ListBox {
public:
    virtual ~ListBox() = default;
    virtual void addItem(const std::string& text) = 0;
    virtual int count() const = 0;
    virtual std::string item(int index) const = 0;
    virtual void setSelectedIndex(int index) = 0;
    virtual int selectedIndex() const = 0;  // -1 when nothing is selected
};

class Label {
public:
    virtual ~Label() = default;
    // A CR LF (or LF) in the text starts a new line.
    virtual void setText(const std::string& text) = 0;
    virtual std::string text() const = 0;
    // The label's height in pixels, fixed by setHeight; until then it is
    // as tall as its text.
    virtual int height() const = 0;
    virtual void setHeight(int pixels) = 0;
    // How tall the label would be if it fitted its text at its width.
    virtual int fittedHeight() const = 0;
    std::function<void()> onClick;
};

class ProgressBar {
public:
    virtual ~ProgressBar() = default;
    virtual void setValue(int percent) = 0;
    virtual int value() const = 0;
};

class Button {
public:
    virtual ~Button() = default;
    virtual void setText(const std::string& text) = 0;
    virtual void setEnabled(bool on) = 0;
    virtual bool isEnabled() const = 0;
    std::function<void()> onClick;
};

// One of a set of choices: choosing it clears the other option buttons of
// the same container (form, group or tab page).
class OptionButton {
public:
    virtual ~OptionButton() = default;
    virtual void setText(const std::string& text) = 0;
    virtual void setChecked(bool on) = 0;
    virtual bool isChecked() const = 0;
};

// A one-line text field the user can type into.
class TextBox {
public:
    virtual ~TextBox() = default;
    virtual void setText(const std::string& text) = 0;
    virtual std::string text() const = 0;
};

// A picture control: shows an image file and reports clicks and mouse moves.
class Picture {
public:
    virtual ~Picture() = default;
    virtual void loadImageFile(const std::string& path) = 0;
    std::function<void()> onClick;
    std::function<void()> onMouseMove;
};

// A container area of a form (such as the main window's Frame1).
class Frame {
public:
    virtual ~Frame() = default;
    virtual void setVisible(bool visible) = 0;
    virtual bool isVisible() const = 0;
    virtual void setGeometry(const Rect& r) = 0;
    virtual Rect geometry() const = 0;
};

// How a container lays out its controls: one under the other, or side by side.
enum class Flow { Column, Row };

// Identifies a top-level window on the desktop (own or another program's); 0 is none.
using WindowHandle = std::uint64_t;

class Form {
public:
    virtual ~Form() = default;
    virtual void setTitle(const std::string& title) = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    // Asks for the keyboard focus; a window that is not on the screen yet
    // gets it as soon as it is.
    virtual void activate() = 0;
    virtual bool isVisible() const = 0;
    virtual void setGeometry(const Rect& r) = 0;
    virtual Rect geometry() const = 0;
    // Sets the size only: a window that was never placed is centred on the
    // screen when it is first shown.
    virtual void setSize(int width, int height) = 0;
    virtual ListBox& listBox(const std::string& name) = 0;
    virtual Label& label(const std::string& name) = 0;
    virtual ProgressBar& progressBar(const std::string& name) = 0;
    virtual Button& button(const std::string& name) = 0;
    virtual BrowserView& browserView(const std::string& name) = 0;
    virtual Picture& picture(const std::string& name) = 0;
    virtual Frame& frame(const std::string& name) = 0;
    virtual OptionButton& optionButton(const std::string& name) = 0;
    virtual TextBox& textBox(const std::string& name) = 0;
    // A list that shows its chosen item and drops down to offer the others.
    virtual ListBox& dropDownList(const std::string& name) = 0;
    // Containers placed like controls, holding controls of their own: a group
    // with a caption round it (no frame when the caption is empty), and a page
    // of a tab control (the control made with its first page).
    virtual Form& group(const std::string& name, const std::string& caption, Flow flow = Flow::Column) = 0;
    virtual Form& tabPage(const std::string& tabsName, const std::string& caption) = 0;
    // A panel form drawn inside one of this form's frames.
    virtual std::unique_ptr<Form> createPanel(const std::string& frameName,
                                              const std::string& formName) = 0;

    // The desktop handle of this window (0 while it has none).
    virtual WindowHandle handle() const = 0;
    // Places the window above all windows that are not top-most, without
    // moving or resizing it.
    virtual void setTopMost() = 0;
    // Paints the window's background in this colour (0xRRGGBB) and leaves
    // every pixel of exactly this colour out of the window.
    virtual void setTransparentColour(std::uint32_t rgb) = 0;
    // Closing by the user or the system (the window's own close box).
    std::function<void()> onClosed;
    // After every change of the window's size.
    std::function<void()> onResized;
    // A mouse button went down anywhere in the window.
    std::function<void()> onPressed;
};

class Forms {
public:
    virtual ~Forms() = default;
    virtual std::unique_ptr<Form> create(const std::string& formName) = 0;
};

}  // namespace tovlo
