#pragma once
// The program's own windows on Qt widgets. A form lays out its controls in
// the order the program first reaches them by name, one under the other.
#include <functional>
#include <memory>

#include "platform/forms.h"

class QWidget;

namespace tovlo {

// A browser view made for a form, and the widget that shows it.
struct QtFormView {
    std::unique_ptr<BrowserView> view;
    QWidget* widget = nullptr;
};
using QtViewMaker = std::function<QtFormView(QWidget* parent)>;

class QtForms : public Forms {
public:
    // makeView gives forms their browser views (web views are a library of
    // their own); a program without it has forms without browser views.
    explicit QtForms(QtViewMaker makeView = {}) : makeView_(std::move(makeView)) {}
    std::unique_ptr<Form> create(const FormDescription& description) override;

private:
    QtViewMaker makeView_;
};

// The widget that draws a form made by QtForms (null for any other form).
QWidget* qtWidgetOf(Form& form);

}  // namespace tovlo
