#pragma once
// An embedded web view. Every view of every host follows one policy: no
// browser context menu, no browser shortcuts (reload, find, back, new window),
// typing into page fields works, and each page gets window.external whose
// calls(webName, text) reaches the host's page bridge.
#include <functional>
#include <stdexcept>
#include <string>

#include "geometry.h"

namespace tovlo {

// A script that throws, or a page function that does not exist.
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class BrowserView {
public:
    virtual ~BrowserView() = default;
    virtual void navigate(const std::string& url) = 0;
    // The address of the page shown (the last navigation's target).
    virtual std::string location() const = 0;
    virtual void stop() = 0;
    // Runs the script in the page and waits for it; throws ScriptError.
    virtual void runScript(const std::string& code) = 0;
    virtual void setVisible(bool visible) = 0;
    virtual bool isVisible() const = 0;
    // Gives the page the keyboard focus within its window (a page needs it to
    // use the clipboard).
    virtual void focus() = 0;
    virtual void setGeometry(const Rect& r) = 0;
    virtual Rect geometry() const = 0;

    // The host's answer to window.external.calls(webName, text) of every page
    // this view shows. An exception it throws rejects the page's call with
    // the exception's text; otherwise the call resolves once it has run.
    using ExternalCalls = std::function<void(const std::string& webName, const std::string& text)>;
    virtual void setExternalCalls(ExternalCalls handler) = 0;
};

}  // namespace tovlo
