#pragma once
// In-memory forms: every control keeps its state so a test can read it, and
// the factory keeps a pointer to each living form by name.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fake_browser_view.h"
#include "platform/commands.h"
#include "platform/forms.h"

namespace tovlo {

class FakeListBox : public ListBox {
public:
    void addItem(const std::string& text) override { items.push_back(text); }
    int count() const override { return static_cast<int>(items.size()); }
    std::string item(int i) const override { return items.at(static_cast<std::size_t>(i)); }
    void setSelectedIndex(int i) override { selected = i; }
    int selectedIndex() const override { return selected; }
    std::vector<std::string> items;
    int selected = -1;
};

// Lays its text out in lines of lineHeight pixels, one per CR LF or LF
// and one per charsPerLine characters (bytes) of a line.
class FakeLabel : public Label {
public:
    void setText(const std::string& t) override { value = t; }
    std::string text() const override { return value; }
    int height() const override { return fixedHeight >= 0 ? fixedHeight : fittedHeight(); }
    void setHeight(int pixels) override { fixedHeight = pixels; }
    int fittedHeight() const override {
        int lines = 0;
        std::size_t start = 0;
        for (;;) {
            std::size_t end = value.find('\n', start);
            std::size_t length = (end == std::string::npos ? value.size() : end) - start;
            if (length > 0 && value[start + length - 1] == '\r') --length;
            lines += length == 0 ? 1 : static_cast<int>((length + charsPerLine - 1) / charsPerLine);
            if (end == std::string::npos) break;
            start = end + 1;
        }
        return lines * lineHeight;
    }
    // The user's click, delivered as the platform does (platform/commands.h).
    void click() {
        if (onClick) events_.deliver(onClick);
    }
    std::string value;
    int fixedHeight = -1;
    int lineHeight = 16;
    std::size_t charsPerLine = 40;

private:
    EventSource events_;
};

class FakeProgressBar : public ProgressBar {
public:
    void setValue(int p) override { percent = p; }
    int value() const override { return percent; }
    int percent = 0;
};

class FakeButton : public Button {
public:
    void setText(const std::string& t) override { caption = t; }
    void setEnabled(bool on) override { enabled = on; }
    bool isEnabled() const override { return enabled; }
    void click() {
        if (onClick) events_.deliver(onClick);
    }
    std::string caption;
    bool enabled = true;

private:
    EventSource events_;
};

class FakePicture : public Picture {
public:
    void loadImageFile(const std::string& path) override { loads.push_back(path); }
    void click() {
        if (onClick) events_.deliver(onClick);
    }
    void mouseMove() {
        if (onMouseMove) events_.deliver(onMouseMove);
    }
    std::vector<std::string> loads;

private:
    EventSource events_;
};

class FakeFrame : public Frame {
public:
    void setVisible(bool v) override { visible = v; }
    bool isVisible() const override { return visible; }
    void setGeometry(const Rect& r) override { rect = r; }
    Rect geometry() const override { return rect; }
    bool visible = false;
    Rect rect;
};

// Choosing one (setChecked(true), or a user's click) clears the others of
// its container.
class FakeOptionButton : public OptionButton {
public:
    void setText(const std::string& t) override { caption = t; }
    void setChecked(bool on) override {
        if (on && siblings)
            for (auto& [name, other] : *siblings) other.checked = false;
        checked = on;
    }
    bool isChecked() const override { return checked; }
    void click() { setChecked(true); }
    std::string caption;
    bool checked = false;
    std::map<std::string, FakeOptionButton>* siblings = nullptr;
};

class FakeTextBox : public TextBox {
public:
    void setText(const std::string& t) override { value = t; }
    std::string text() const override { return value; }
    std::string value;
};

class FakeForms;

class FakeForm : public Form {
public:
    // A container (group, tab page) is not a window of its own: it is not
    // listed among the living forms.
    FakeForm(FakeForms& owner, std::shared_ptr<const FormDescription> description, bool window = true);
    FakeForm(FakeForms& owner, const FormDescription& description)
        : FakeForm(owner, std::make_shared<const FormDescription>(description)) {}
    ~FakeForm() override;
    void setTitle(const std::string& t) override { title = t; }
    void show() override { visible = true; }
    void activate() override { ++activations; }
    void hide() override { visible = false; }
    bool isVisible() const override { return visible; }
    void setGeometry(const Rect& r) override {
        bool resized = r.width != rect.width || r.height != rect.height;
        rect = r;
        if (resized && onResized) onResized();
    }
    Rect geometry() const override { return rect; }
    void setSize(int width, int height) override { setGeometry({rect.left, rect.top, width, height}); }
    WindowHandle handle() const override { return windowHandle; }
    void setTopMost() override { ++topMostCalls; }
    void setTransparentColour(std::uint32_t rgb) override { transparentColour = rgb; }

    // A control wherever the form holds it: in itself or in one of its
    // groups or tab pages (one name is one control in the whole form);
    // null when there is none of that name.
    template <class Control>
    Control* find(std::map<std::string, Control> FakeForm::*controls, const std::string& n) {
        auto it = (this->*controls).find(n);
        if (it != (this->*controls).end()) return &it->second;
        for (auto* containers : {&groups, &tabPages})
            for (auto& [key, inner] : *containers)
                if (Control* found = inner->find(controls, n)) return found;
        return nullptr;
    }
    FakeLabel& labelNamed(const std::string& n) { return *must(find(&FakeForm::labels, n), n); }
    FakeProgressBar& barNamed(const std::string& n) { return *must(find(&FakeForm::bars, n), n); }
    FakeButton& buttonNamed(const std::string& n) { return *must(find(&FakeForm::buttons, n), n); }

    std::string name, title;
    WindowStyle style;  // as the form was made with
    bool visible = false;
    Rect rect;
    int activations = 0;
    std::map<std::string, FakeListBox> lists;
    std::map<std::string, FakeLabel> labels;
    std::map<std::string, FakeProgressBar> bars;
    std::map<std::string, FakeButton> buttons;
    std::map<std::string, FakeBrowserView> views;
    std::map<std::string, FakePicture> pictures;
    std::map<std::string, FakeFrame> frames;
    std::map<std::string, FakeOptionButton> options;
    std::map<std::string, FakeTextBox> textBoxes;
    std::map<std::string, FakeListBox> dropDowns;
    std::map<std::string, std::unique_ptr<FakeForm>> groups;    // by name
    std::map<std::string, std::unique_ptr<FakeForm>> tabPages;  // by caption
    Flow flow = Flow::Column;
    WindowHandle windowHandle;
    int topMostCalls = 0;
    std::int64_t transparentColour = -1;
    std::string parentFrame;  // for panels: the frame of the form holding them

protected:
    ListBox& listBoxImpl(const std::string& n) override { return lists[n]; }
    Label& labelImpl(const std::string& n) override { return labels[n]; }
    ProgressBar& progressBarImpl(const std::string& n) override { return bars[n]; }
    Button& buttonImpl(const std::string& n) override { return buttons[n]; }
    BrowserView& browserViewImpl(const std::string& n) override { return views[n]; }
    Picture& pictureImpl(const std::string& n) override { return pictures[n]; }
    Frame& frameImpl(const std::string& n) override { return frames[n]; }
    OptionButton& optionButtonImpl(const std::string& n) override {
        FakeOptionButton& o = options[n];
        o.siblings = &options;
        return o;
    }
    TextBox& textBoxImpl(const std::string& n) override { return textBoxes[n]; }
    ListBox& dropDownListImpl(const std::string& n) override { return dropDowns[n]; }
    Form& groupImpl(const std::string& n, const std::string& caption, Flow f) override {
        auto& g = groups[n];
        if (!g) {
            g = std::make_unique<FakeForm>(owner_, sharedDescription(), false);
            g->name = n;
            g->title = caption;
            g->flow = f;
        }
        return *g;
    }
    Form& tabPageImpl(const std::string& tabsName, const std::string& caption) override {
        auto& page = tabPages[caption];
        if (!page) {
            page = std::make_unique<FakeForm>(owner_, sharedDescription(), false);
            page->name = tabsName;
            page->title = caption;
        }
        return *page;
    }
    std::unique_ptr<Form> createPanelImpl(const std::string& frameName, const FormDescription& panel) override;

private:
    template <class Control>
    static Control* must(Control* found, const std::string& n) {
        if (!found) throw std::logic_error("the form holds no control " + n + " yet");
        return found;
    }
    FakeForms& owner_;
    bool window_;
};

class FakeForms : public Forms {
public:
    std::unique_ptr<Form> create(const FormDescription& description) override {
        return std::make_unique<FakeForm>(*this, description);
    }
    // The living form of that name (the newest one), or null.
    FakeForm* find(const std::string& formName) const {
        auto it = living.find(formName);
        return it == living.end() ? nullptr : it->second;
    }
    std::map<std::string, FakeForm*> living;
    WindowHandle nextHandle = 0x1000;
};

inline FakeForm::FakeForm(FakeForms& owner, std::shared_ptr<const FormDescription> description, bool window)
    : Form(std::move(description)),
      name(this->description().name()),
      style(this->description().style()),
      flow(this->description().flow()),
      windowHandle(window ? owner.nextHandle++ : 0),
      owner_(owner),
      window_(window) {
    if (window_) owner_.living[name] = this;
}

inline std::unique_ptr<Form> FakeForm::createPanelImpl(const std::string& frameName, const FormDescription& panel) {
    auto made = std::make_unique<FakeForm>(owner_, panel);
    made->parentFrame = frameName;
    return made;
}

inline FakeForm::~FakeForm() {
    if (!window_) return;
    auto it = owner_.living.find(name);
    if (it != owner_.living.end() && it->second == this) owner_.living.erase(it);
}

}  // namespace tovlo
