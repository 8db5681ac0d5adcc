#pragma once
// A browser view that records what the program asks of it. Page functions
// exist unless a test names them missing; a test may also answer a script.
#include <exception>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/browser_view.h"
#include "platform/commands.h"
#include "platform/nested_wait.h"

namespace tovlo {

class FakeBrowserView : public BrowserView {
public:
    void navigate(const std::string& url) override {
        navigations.push_back(url);
        location_ = url;
    }
    std::string location() const override { return location_; }
    void stop() override { ++stops; }
    void runScript(const std::string& code) override {
        std::string function = code.substr(0, code.find('('));
        if (missingFunctions.count(function)) throw ScriptError("'" + function + "' is undefined");
        scripts.push_back(code);
        // What the page does meanwhile runs inside the caller's wait.
        NestedWaits::Scope nested;
        if (onScript) onScript(code);
    }
    void setVisible(bool v) override { visible = v; }
    void focus() override { ++focusCalls; }
    int focusCalls = 0;
    bool isVisible() const override { return visible; }
    void setGeometry(const Rect& r) override { rect = r; }
    Rect geometry() const override { return rect; }
    void setExternalCalls(ExternalCalls handler) override { external = std::move(handler); }

    // What the page does when it calls window.external.calls(webName, text).
    // The call is a command of the program (platform/commands.h): made while
    // none runs, it runs now and its failure is thrown here; made while one
    // runs, it waits in line, and its failure goes to failedCalls.
    void pageCalls(const std::string& webName, const std::string& text) {
        if (!external) throw ScriptError("window.external is not available");
        if (!Commands::running()) {
            Commands::deliver([&] { external(webName, text); });
            return;
        }
        Commands::deliver([this, webName, text, alive = std::weak_ptr<bool>(alive_)] {
            if (alive.expired()) return;
            try {
                if (external) external(webName, text);
            } catch (const std::exception& e) {
                failedCalls.push_back(text + ": " + e.what());
            }
        });
    }
    std::vector<std::string> failedCalls;

    std::vector<std::string> navigations;
    std::vector<std::string> scripts;
    std::set<std::string> missingFunctions;
    std::function<void(const std::string&)> onScript;
    ExternalCalls external;
    bool visible = true;
    int stops = 0;
    Rect rect;

private:
    std::string location_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace tovlo
