#pragma once
// The main window's three page views: web (the main page, always
// underneath), Web2 (the pack catalogue) and web3 (the account pages, with
// the tag naming the class it shows), laid over web.
#include <string>

#include "platform/forms.h"

namespace tovlo {

class PageViews {
public:
    explicit PageViews(Form& window) : window_(window) {}

    BrowserView& web() { return window_.browserView("web"); }
    BrowserView& Web2() { return window_.browserView("Web2"); }
    BrowserView& web3() { return window_.browserView("web3"); }
    const std::string& web3Tag() const { return web3Tag_; }
    // Shows a page of one of the account's classes in web3.
    void showClassPage(const std::string& url, const std::string& classId);

    // At load: Web2 and web3 small, hidden and blank until the window is sized.
    void prepareOverlays();
    // After every resize: web fills the window, the overlays keep a margin.
    void fitToWindow();
    // Stops loading in all three.
    void stopAll();

private:
    Form& window_;
    std::string web3Tag_;
};

}  // namespace tovlo
