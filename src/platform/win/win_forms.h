#pragma once
// The program's own windows on Win32 controls, laid out as the Qt forms
// are: each container places its controls in its flow, in the order the
// program first reaches them by name.
#include <windows.h>

#include <functional>
#include <memory>

#include "platform/forms.h"

namespace tovlo {

// A browser view made for a form, and the child window that shows it.
struct WinFormView {
    std::unique_ptr<BrowserView> view;
    HWND window = nullptr;
};
using WinViewMaker = std::function<WinFormView(HWND parent)>;

class WinForms : public Forms {
public:
    // makeView gives forms their browser views; a program without it has
    // forms without browser views.
    explicit WinForms(WinViewMaker makeView = {}) : makeView_(std::move(makeView)) {}
    std::unique_ptr<Form> create(const FormDescription& description) override;

private:
    WinViewMaker makeView_;
};

}  // namespace tovlo
