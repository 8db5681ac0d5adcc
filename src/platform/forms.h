#pragma once
// The program's own windows and panels, drawn by the toolkit, driven by name.
// A form is created from its declaration (name, window style, controls) and
// its controls are reached by the names it declares ("List1", "Label1").
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <stdexcept>
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

// How a container lays out its controls, in the order they are first used.
enum class Flow {
    Column,   // one under the other, each as wide as the container
    Row,      // side by side, from the left
    Pairs,    // two columns: a caption and its value on each line
    Buttons,  // side by side at the right end (a dialog's commands)
    Centred,  // one under the other in the middle: labels centre their
              // text, buttons and rows keep their own width
};

// Identifies a top-level window on the desktop (own or another program's); 0 is none.
using WindowHandle = std::uint64_t;

// What a window asks of the desktop, fixed when it is made.
struct WindowStyle {
    bool frameless = false;          // no title bar or border, no task bar entry
    bool topMost = false;            // kept above the windows that are not top-most
    bool showsWithoutFocus = false;  // showing it leaves the keyboard focus where it is
    // A dialog: as large as its content needs (at least the size it is
    // given), never resized by the user, no maximise box, centred on the
    // screen when it is first shown.
    bool fixedSize = false;
    bool operator==(const WindowStyle&) const = default;
};

enum class ControlKind {
    ListBox,
    Label,
    ProgressBar,
    Button,
    BrowserView,
    Picture,
    Frame,
    OptionButton,
    TextBox,
    DropDownList,
    Group,
    Tabs
};

// A form's name, its window style and the controls it declares, those of its
// groups and tab pages included (they share the form's names, one name one
// control). A form refuses a control it does not declare, so a mistyped name
// fails at once.
class FormDescription {
public:
    explicit FormDescription(std::string name, WindowStyle style = {}) : name_(std::move(name)), style_(style) {}

    FormDescription& listBoxes(std::initializer_list<const char*> names) {
        return declare(ControlKind::ListBox, names);
    }
    FormDescription& labels(std::initializer_list<const char*> names) { return declare(ControlKind::Label, names); }
    FormDescription& progressBars(std::initializer_list<const char*> names) {
        return declare(ControlKind::ProgressBar, names);
    }
    FormDescription& buttons(std::initializer_list<const char*> names) { return declare(ControlKind::Button, names); }
    FormDescription& browserViews(std::initializer_list<const char*> names) {
        return declare(ControlKind::BrowserView, names);
    }
    FormDescription& pictures(std::initializer_list<const char*> names) { return declare(ControlKind::Picture, names); }
    FormDescription& frames(std::initializer_list<const char*> names) { return declare(ControlKind::Frame, names); }
    FormDescription& optionButtons(std::initializer_list<const char*> names) {
        return declare(ControlKind::OptionButton, names);
    }
    FormDescription& textBoxes(std::initializer_list<const char*> names) {
        return declare(ControlKind::TextBox, names);
    }
    FormDescription& dropDownLists(std::initializer_list<const char*> names) {
        return declare(ControlKind::DropDownList, names);
    }
    FormDescription& groups(std::initializer_list<const char*> names) { return declare(ControlKind::Group, names); }
    FormDescription& tabs(std::initializer_list<const char*> names) { return declare(ControlKind::Tabs, names); }
    // How the form itself lays out its controls (default: a column).
    FormDescription& flow(Flow f) {
        flow_ = f;
        return *this;
    }

    const std::string& name() const { return name_; }
    const WindowStyle& style() const { return style_; }
    Flow flow() const { return flow_; }
    bool declares(ControlKind kind, const std::string& control) const {
        auto it = controls_.find(control);
        return it != controls_.end() && it->second == kind;
    }

private:
    FormDescription& declare(ControlKind kind, std::initializer_list<const char*> names) {
        for (const char* n : names)
            if (!controls_.emplace(n, kind).second)
                throw std::logic_error("form " + name_ + " declares " + n + " twice");
        return *this;
    }

    std::string name_;
    WindowStyle style_;
    Flow flow_ = Flow::Column;
    std::map<std::string, ControlKind> controls_;
};

// A window or panel of the program. Controls are reached by the names the
// form declares; the toolkit (or the fake) provides them behind the *Impl
// functions, and a name the form never declared is a logic_error.
class Form {
public:
    explicit Form(std::shared_ptr<const FormDescription> description) : description_(std::move(description)) {}
    virtual ~Form() = default;

    const FormDescription& description() const { return *description_; }

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

    ListBox& listBox(const std::string& name) { return listBoxImpl(checked(ControlKind::ListBox, name)); }
    Label& label(const std::string& name) { return labelImpl(checked(ControlKind::Label, name)); }
    ProgressBar& progressBar(const std::string& name) {
        return progressBarImpl(checked(ControlKind::ProgressBar, name));
    }
    Button& button(const std::string& name) { return buttonImpl(checked(ControlKind::Button, name)); }
    BrowserView& browserView(const std::string& name) {
        return browserViewImpl(checked(ControlKind::BrowserView, name));
    }
    Picture& picture(const std::string& name) { return pictureImpl(checked(ControlKind::Picture, name)); }
    Frame& frame(const std::string& name) { return frameImpl(checked(ControlKind::Frame, name)); }
    OptionButton& optionButton(const std::string& name) {
        return optionButtonImpl(checked(ControlKind::OptionButton, name));
    }
    TextBox& textBox(const std::string& name) { return textBoxImpl(checked(ControlKind::TextBox, name)); }
    // A list that shows its chosen item and drops down to offer the others.
    ListBox& dropDownList(const std::string& name) {
        return dropDownListImpl(checked(ControlKind::DropDownList, name));
    }
    // Containers placed like controls, holding controls of their own: a group
    // with a caption round it (no frame when the caption is empty), and a page
    // of a tab control (the control made with its first page).
    Form& group(const std::string& name, const std::string& caption, Flow flow = Flow::Column) {
        return groupImpl(checked(ControlKind::Group, name), caption, flow);
    }
    Form& tabPage(const std::string& tabsName, const std::string& caption) {
        return tabPageImpl(checked(ControlKind::Tabs, tabsName), caption);
    }
    // A panel form drawn inside one of this form's frames.
    std::unique_ptr<Form> createPanel(const std::string& frameName, const FormDescription& panel) {
        return createPanelImpl(checked(ControlKind::Frame, frameName), panel);
    }

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

protected:
    // Containers of this form declare their controls with it.
    const std::shared_ptr<const FormDescription>& sharedDescription() const { return description_; }

    virtual ListBox& listBoxImpl(const std::string& name) = 0;
    virtual Label& labelImpl(const std::string& name) = 0;
    virtual ProgressBar& progressBarImpl(const std::string& name) = 0;
    virtual Button& buttonImpl(const std::string& name) = 0;
    virtual BrowserView& browserViewImpl(const std::string& name) = 0;
    virtual Picture& pictureImpl(const std::string& name) = 0;
    virtual Frame& frameImpl(const std::string& name) = 0;
    virtual OptionButton& optionButtonImpl(const std::string& name) = 0;
    virtual TextBox& textBoxImpl(const std::string& name) = 0;
    virtual ListBox& dropDownListImpl(const std::string& name) = 0;
    virtual Form& groupImpl(const std::string& name, const std::string& caption, Flow flow) = 0;
    virtual Form& tabPageImpl(const std::string& tabsName, const std::string& caption) = 0;
    virtual std::unique_ptr<Form> createPanelImpl(const std::string& frameName, const FormDescription& panel) = 0;

private:
    const std::string& checked(ControlKind kind, const std::string& name) const {
        if (!description_->declares(kind, name))
            throw std::logic_error("form " + description_->name() + " declares no such control: " + name);
        return name;
    }

    std::shared_ptr<const FormDescription> description_;
};

class Forms {
public:
    virtual ~Forms() = default;
    virtual std::unique_ptr<Form> create(const FormDescription& description) = 0;
};

}  // namespace tovlo
