#pragma once
// The program's own windows and panels, drawn by the toolkit, driven by name.
// A form is created by its name ("debugForm", "aboutForm", ...) and its
// controls are reached by the names the window declares ("List1", "Label1").
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
    virtual void setText(const std::string& text) = 0;
    virtual std::string text() const = 0;
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

class Form {
public:
    virtual ~Form() = default;
    virtual void setTitle(const std::string& title) = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual bool isVisible() const = 0;
    virtual void setGeometry(const Rect& r) = 0;
    virtual Rect geometry() const = 0;
    virtual ListBox& listBox(const std::string& name) = 0;
    virtual Label& label(const std::string& name) = 0;
    virtual ProgressBar& progressBar(const std::string& name) = 0;
    virtual Button& button(const std::string& name) = 0;
    virtual BrowserView& browserView(const std::string& name) = 0;
};

class Forms {
public:
    virtual ~Forms() = default;
    virtual std::unique_ptr<Form> create(const std::string& formName) = 0;
};

}  // namespace tovlo
