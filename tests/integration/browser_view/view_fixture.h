#pragma once
// A real browser view in a shown form, with pages written to a temp folder
// and every window.external call of its pages recorded in order.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/qt_browser_view.h"
#include "platform/qt/qt_forms.h"
#include "support/temp_dir.h"

namespace tovlo::test {

struct PageCall {
    std::string webName;
    std::string text;
    bool operator==(const PageCall&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const PageCall& c) { return out << c.webName << "|" << c.text; }

// Runs events until the condition holds; false when it did not within the time.
inline bool waitFor(const std::function<bool()>& done, int timeoutMs = 10000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// Lets events run for a while (to see that something does NOT happen).
inline void settle(int ms) {
    waitFor([] { return false; }, ms);
}

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = forms.create(FormDescription("testForm").browserViews({"web"}).labels({"Label1"}));
        form->setGeometry({40, 40, 640, 480});
        view = &form->browserView("web");
        view->setExternalCalls([this](const std::string& webName, const std::string& text) {
            calls.push_back({webName, text});
            if (onCall) onCall(webName, text);
        });
        form->show();
    }

    void TearDown() override {
        form.reset();
        // Views may hand their pages over for deletion once the loop runs.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Writes a page into the temp folder and returns its path.
    std::string page(const std::string& name, const std::string& html) {
        writeBytes(dir / name, html);
        return dir / name;
    }

    // The texts of the calls made with this web name, in order.
    std::vector<std::string> textsOf(const std::string& webName) const {
        std::vector<std::string> out;
        for (const auto& c : calls)
            if (c.webName == webName) out.push_back(c.text);
        return out;
    }

    bool waitForCall(const std::string& webName, const std::string& text, int timeoutMs = 10000) {
        return waitFor(
            [&] {
                for (const auto& c : calls)
                    if (c.webName == webName && c.text == text) return true;
                return false;
            },
            timeoutMs);
    }

    // Shows a page that reports "loaded" under the web name "t" and waits for it.
    void load(const std::string& name, const std::string& body, const std::string& head = "") {
        const std::string path = page(name, "<!DOCTYPE html><html><head><meta charset=\"utf-8\">" + head +
                                                "</head><body onload=\"external.calls('t','loaded:" + name + "')\">" +
                                                body + "</body></html>");
        view->navigate(path);
        ASSERT_TRUE(waitForCall("t", "loaded:" + name)) << "page " << name << " did not load";
    }

    TempDir dir;
    QtForms forms{makeQtFormView};
    std::unique_ptr<Form> form;
    BrowserView* view = nullptr;
    std::vector<PageCall> calls;
    std::function<void(const std::string&, const std::string&)> onCall;
};

}  // namespace tovlo::test
